#include "settings/TAddPersonFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Guard.h"
#include "app/Modal.h"
#include "app/MyMessageBox.h"
#include "db/Errors.h"
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
    AuthorityManage->setAutoDefault(false);
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
        MyMessageBox(mkNotice, QStringLiteral("请输入新增人员的姓名后再进行权限设置!"));
        PersonName->setFocus();
        throw db::SilentStop();
    }
    TAuthorityFm rights(typedName(), this);
    execModal(&rights);
}

void TAddPersonFm::onEnter() {
    const QString name = typedName();
    if (id_ != 0) {
        Q->reopen(rowText());
        const QString oldName = Q->field(QStringLiteral("PersonName")).asString();
        Q->edit();
        Q->field(QStringLiteral("PersonName")).setString(name);
        Q->post();
        renameRights(oldName, name);
    } else {
        Q->reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(name));
        if (Q->isEmpty()) {
            MyMessageBox(mkNotice, QStringLiteral("对不起你没有对该操作人员进行权限管理的设置!"));
            throw db::SilentStop();
        }
        Q->reopen(QStringLiteral("select * from TPerson where id=-1"));
        Q->append();
        Q->field(QStringLiteral("PersonName")).setString(name);
        Q->post();
    }
    accept();
}

// The login finds an operator's password and level by name, so the rights row follows the new name. When another
// operator still carries the old name, that one keeps the row and the renamed operator gets a copy of it.
void TAddPersonFm::renameRights(const QString& oldName, const QString& newName) {
    if (oldName == newName) return;
    db::Query rights;
    rights.reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(oldName));
    if (rights.isEmpty()) return;
    db::Query taken;
    taken.reopen(QStringLiteral("select * from TAuthority where UserName=") + jet::quoted(newName));
    // The new name has rights of its own already (names need not be unique): they stay as they are.
    if (!taken.isEmpty()) return;
    db::Query others;
    others.reopen(QStringLiteral("select * from TPerson where PersonName=") + jet::quoted(oldName));
    if (others.isEmpty()) {
        rights.execSql(QStringLiteral("update TAuthority set UserName=") + jet::quoted(newName) +
                       QStringLiteral(" where UserName=") + jet::quoted(oldName));
        return;
    }
    const QString password = rights.field(QStringLiteral("Passward")).asString();
    const qint64 level = rights.field(QStringLiteral("Authority")).asInteger();
    taken.append();
    taken.field(QStringLiteral("UserName")).setString(newName);
    taken.field(QStringLiteral("Passward")).setString(password);
    taken.field(QStringLiteral("Authority")).setInteger(level);
    taken.post();
}
