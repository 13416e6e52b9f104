#include "settings/TAddPersonFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "db/Errors.h"
#include "settings/Operators.h"
#include "settings/SettingsValues.h"
#include "settings/TAuthorityFm.h"

TAddPersonFm::TAddPersonFm(qint64 id, QWidget* parent) : QDialog(parent), id_(id) {
    setObjectName(QStringLiteral("TAddPersonFm"));
    Q = new db::Query(this, QStringLiteral("Q"));
    PersonName = new QLineEdit(this);
    PersonName->setObjectName(QStringLiteral("PersonName"));
    Label2 = new QLabel(QStringLiteral("(新增用户初始密码均为:862)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    AuthorityManage = settings::makeButton(QStringLiteral("AuthorityManage"), QStringLiteral("权限管理"), this);
    EnterButton = settings::makeButton(QStringLiteral("EnterButton"), QStringLiteral("确定"), this);
    CancelButton = settings::makeButton(QStringLiteral("CancelButton"), QStringLiteral("取消"), this);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("人员姓名："), this));
    row->addWidget(PersonName, 1);
    auto* buttons = settings::buttonRow(EnterButton, CancelButton);
    buttons->insertWidget(0, AuthorityManage);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(Label2);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connectGuarded(AuthorityManage, &QPushButton::clicked, this, [this] { onAuthorityManage(); });
    connectGuarded(EnterButton, &QPushButton::clicked, this, [this] { onEnter(); });
    connectGuarded(CancelButton, &QPushButton::clicked, this, [this] {
        if (Q->isActive()) Q->cancel();
        reject();
    });

    if (id_ == 0) {
        setWindowTitle(QStringLiteral("新增经手人员记录"));
        return;
    }
    guarded([this] {
        Q->reopen(rowText());
        PersonName->setText(Q->field(QStringLiteral("PersonName")).asString());
    });
    setWindowTitle(QStringLiteral("修改经手人员记录"));
    Label2->hide();
}

QString TAddPersonFm::rowText() const {
    return QStringLiteral("select * from TPerson where id=") + QString::number(id_);
}

QString TAddPersonFm::typedName() const {
    return PersonName->text().trimmed();
}

void TAddPersonFm::onAuthorityManage() {
    if (typedName().isEmpty()) {
        refuse(QStringLiteral("请输入新增人员的姓名后再进行权限设置!"), PersonName);
    }
    TAuthorityFm rights(typedName(), this);
    execModal(&rights);
}

void TAddPersonFm::onEnter() {
    const QString name = typedName();
    settings::Operators operators;
    if (id_ != 0) {
        operators.rename(id_, name);
    } else if (operators.add(name)) {
        // The only refusal: "权限管理" has not made the name's rights row yet.
        refuse(QStringLiteral("对不起你没有对该操作人员进行权限管理的设置!"));
    }
    accept();
}
