#include "app/TpasswordFm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Session.h"
#include "db/JetDialect.h"

namespace {
// The password box shows "#" for every typed character.
class HashPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '#';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
}  // namespace

TpasswordFm::TpasswordFm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TpasswordFm"));
    setWindowTitle(QStringLiteral("密码验证"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    Quser = new db::Query(this, QStringLiteral("Quser"));
    Qauthority = new db::Query(this, QStringLiteral("Qauthority"));

    auto* prompt = new QLabel(QStringLiteral("请输入用户名和密码："), this);
    userlabel = new QComboBox(this);
    userlabel->setObjectName(QStringLiteral("userlabel"));
    userlabel->setEditable(false);
    userlabel->setMaxVisibleItems(20);
    userlabel->setMinimumWidth(180);
    paslabel = new QLineEdit(this);
    paslabel->setObjectName(QStringLiteral("paslabel"));
    auto* hashStyle = new HashPasswordStyle;
    hashStyle->setParent(paslabel);
    paslabel->setStyle(hashStyle);
    paslabel->setEchoMode(QLineEdit::Password);
    ButtonYes = new QPushButton(QStringLiteral("确定"), this);
    ButtonYes->setObjectName(QStringLiteral("ButtonYes"));
    ButtonYes->setDefault(true);
    Buttoncancel = new QPushButton(QStringLiteral("取消"), this);
    Buttoncancel->setObjectName(QStringLiteral("Buttoncancel"));
    Buttoncancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("用户名："), this), 0, 0);
    grid->addWidget(userlabel, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("密  码："), this), 1, 0);
    grid->addWidget(paslabel, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonYes);
    buttons->addWidget(Buttoncancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connectGuarded(ButtonYes, &QPushButton::clicked, this, [this] { onYes(); });
    connect(Buttoncancel, &QPushButton::clicked, this, [this] {
        result_ = 0;
        reject();
    });

    result_ = 0;
    guarded([this] {
        Quser->reopen(QStringLiteral("select * from TPerson"));
        while (!Quser->eof()) {
            userlabel->addItem(Quser->field(QStringLiteral("PersonName")).asString());
            Quser->next();
        }
        if (userlabel->count() > 0) userlabel->setCurrentIndex(0);
    });
    paslabel->setFocus();
}

void TpasswordFm::onYes() {
    const QString name = userlabel->currentText().trimmed();
    Qauthority->reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(name));
    // An operator without a rights row would otherwise read as a super user with an empty password.
    if (Qauthority->isEmpty()) {
        MyMessageBox(mkNotice, QStringLiteral("对不起,该用户没有权限记录,不能登录,请与超级用户联系!"));
        paslabel->setFocus();
        return;
    }
    if (paslabel->text().trimmed() != Qauthority->field(QStringLiteral("Passward")).asString().trimmed()) {
        MyMessageBox(mkNotice, QStringLiteral("对不起,密码错误,请重新输入!"));
        paslabel->setFocus();
        paslabel->selectAll();  // the retyped password replaces the wrong one instead of being added to it
        return;
    }
    CurrentUserName = name;
    CurrentAuthority = int(Qauthority->field(QStringLiteral("Authority")).asInteger());
    result_ = 1;
    accept();
}

int Login() {
    TpasswordFm window;
    execModal(&window);
    return window.loginResult();
}
