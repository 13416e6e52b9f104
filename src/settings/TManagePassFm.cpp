#include "settings/TManagePassFm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "settings/Operators.h"
#include "settings/SettingsValues.h"

namespace {
// Both password boxes show "*" for every character.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QLineEdit* passwordBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    auto* style = new StarPasswordStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
    return box;
}
}  // namespace

TManagePassFm::TManagePassFm(const QString& name, QWidget* parent) : QDialog(parent), name_(name) {
    setObjectName(QStringLiteral("TManagePassFm"));
    setWindowTitle(QStringLiteral("密码修改:"));
    Q = new db::Query(this, QStringLiteral("Q"));
    OldPass = passwordBox(QStringLiteral("OldPass"), this);
    NewPass = passwordBox(QStringLiteral("NewPass"), this);
    BtnOk = settings::makeButton(QStringLiteral("BtnOk"), QStringLiteral("确定"), this);
    BtnCancel = settings::makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("旧密码:"), this), 0, 0);
    grid->addWidget(OldPass, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("请输入新密码:"), this), 1, 0);
    grid->addWidget(NewPass, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(settings::buttonRow(BtnOk, BtnCancel));
    setMinimumWidth(300);

    connectGuarded(BtnOk, &QPushButton::clicked, this, [this] { onOk(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    guarded([this, &name] {
        Q->reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(name));
        OldPass->setText(Q->field(QStringLiteral("Passward")).asString());
    });
    OldPass->setEnabled(false);
    NewPass->setFocus();
}

void TManagePassFm::onOk() {
    if (settings::Operators().setPassword(name_, NewPass->text()))
        refuse(QStringLiteral("对不起你没有对该操作人员进行权限管理的设置!"), NewPass);
    accept();
}
