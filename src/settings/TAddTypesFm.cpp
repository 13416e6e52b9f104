#include "settings/TAddTypesFm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "settings/SettingsValues.h"

TAddTypesFm::TAddTypesFm(qint64 id, QWidget* parent) : QDialog(parent), id_(id) {
    setObjectName(QStringLiteral("TAddTypesFm"));
    Q = new db::Query(this, QStringLiteral("Q"));
    TypeName = new QLineEdit(this);
    TypeName->setObjectName(QStringLiteral("TypeName"));
    EnterButton = settings::makeButton(QStringLiteral("EnterButton"), QStringLiteral("确定"), this);
    CancelButton = settings::makeButton(QStringLiteral("CancelButton"), QStringLiteral("取消"), this);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("光盘类型："), this));
    row->addWidget(TypeName, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(settings::buttonRow(EnterButton, CancelButton));
    setMinimumWidth(300);

    connectGuarded(EnterButton, &QPushButton::clicked, this, [this] { onEnter(); });
    connectGuarded(CancelButton, &QPushButton::clicked, this, [this] {
        if (Q->isActive()) Q->cancel();
        reject();
    });

    if (id_ == 0) {
        setWindowTitle(QStringLiteral("新增光盘类型名称"));
        return;
    }
    setWindowTitle(QStringLiteral("修改光盘类型名称"));
    guarded([this] {
        Q->reopen(rowText());
        TypeName->setText(Q->field(QStringLiteral("CdTypes")).asString());
    });
}

QString TAddTypesFm::rowText() const {
    return QStringLiteral("select * from TCdType where id=") + QString::number(id_);
}

void TAddTypesFm::onEnter() {
    if (id_ != 0) {
        Q->reopen(rowText());
        Q->edit();
    } else {
        Q->reopen(QStringLiteral("select * from TCdType where id=-1"));
        Q->append();
    }
    Q->field(QStringLiteral("CdTypes")).setString(TypeName->text());
    Q->post();
    accept();
}
