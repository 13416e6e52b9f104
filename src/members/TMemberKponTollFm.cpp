#include "members/TMemberKponTollFm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "db/JetDialect.h"
#include "members/MemberCommon.h"
#include "members/Membership.h"

using db::Query;

TMemberKponTollFm::TMemberKponTollFm(const QString& memberId, QWidget* parent) : QDialog(parent), memberId_(memberId) {
    setObjectName(QStringLiteral("TMemberKponTollFm"));
    setWindowTitle(QStringLiteral("会员续费"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Q = new Query(this, QStringLiteral("Q"));
    Qsystem = new Query(this, QStringLiteral("Qsystem"));

    MId = new QLineEdit(this);
    MId->setObjectName(QStringLiteral("MId"));
    Mname = new QLineEdit(this);
    Mname->setObjectName(QStringLiteral("Mname"));
    PickEditmembersystem = new QComboBox(this);
    PickEditmembersystem->setObjectName(QStringLiteral("PickEditmembersystem"));
    PickEditmembersystem->setEditable(true);
    PickEditmembersystem->setInsertPolicy(QComboBox::NoInsert);
    PickEditmembersystem->setMinimumWidth(200);
    AllowS = new QLabel(this);
    AllowS->setObjectName(QStringLiteral("AllowS"));
    AllowS->setMinimumWidth(40);
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Labeltoll = new QLabel(this);
    Labeltoll->setObjectName(QStringLiteral("Labeltoll"));
    Labeltoll->setMinimumWidth(40);
    auto* yuan = new QLabel(QStringLiteral("元"), this);
    yuan->setObjectName(QStringLiteral("Label6"));

    auto* form = new QGridLayout;
    auto caption = [this, form](int row, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form->addWidget(label, row, 0);
    };
    caption(0, "会员编号:");
    form->addWidget(MId, 0, 1, 1, 2);
    caption(1, "会员姓名:");
    form->addWidget(Mname, 1, 1, 1, 2);
    caption(2, "本次续费类型:");
    form->addWidget(PickEditmembersystem, 2, 1, 1, 2);
    // Each figure is followed by its unit.
    auto figure = [form](int row, QLabel* value, QLabel* unit) {
        auto* line = new QHBoxLayout;
        line->addWidget(value);
        line->addWidget(unit);
        line->addStretch(1);
        form->addLayout(line, row, 1, 1, 2);
    };
    caption(3, "允许天数或部数:");
    figure(3, AllowS, Label4);
    caption(4, "缴纳会费金额:");
    figure(4, Labeltoll, yuan);
    form->setColumnStretch(1, 1);

    EnterBtn = new QPushButton(QStringLiteral("确定"), this);
    EnterBtn->setObjectName(QStringLiteral("EnterBtn"));
    EnterBtn->setDefault(true);
    RzBitBtn1 = new QPushButton(QStringLiteral("取消"), this);
    RzBitBtn1->setObjectName(QStringLiteral("RzBitBtn1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(EnterBtn);
    buttons->addWidget(RzBitBtn1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    guarded([this] {
        Q->reopen(QStringLiteral("select * from TMemberResource where personid=") + jet::quoted(memberId_));
        Qsystem->reopen(QStringLiteral("select * from TMemberSystem"));
        // Filling the list chooses nothing yet.
        const QSignalBlocker quiet(PickEditmembersystem);
        for (Qsystem->first(); !Qsystem->eof(); Qsystem->next())
            PickEditmembersystem->addItem(Qsystem->field(QStringLiteral("SystemName")).asString());
        PickEditmembersystem->setCurrentIndex(-1);
        PickEditmembersystem->setEditText(QString());
        MId->setText(memberId_);
        Mname->setText(Q->field(QStringLiteral("MemberName")).asString());
    });

    connectGuarded(PickEditmembersystem, &QComboBox::currentTextChanged, this,
                   [this](const QString& text) { onSchemeText(text); });
    connectGuarded(EnterBtn, &QPushButton::clicked, this, [this] { enter(); });
    connect(RzBitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TMemberKponTollFm::onSchemeText(const QString& text) {
    if (text.isEmpty()) refuse(QStringLiteral("请输入该会员本次续费类型!."), PickEditmembersystem);
    Qsystem->reopen(QStringLiteral("select * from TMemberSystem where SystemName=") + jet::quoted(text));
    Label4->setText(Qsystem->field(QStringLiteral("SystemType")).asString() == members::countScheme()
                        ? QStringLiteral("部")
                        : QStringLiteral("天"));
    AllowS->setText(QString::number(Qsystem->field(QStringLiteral("RewardDaysOrCounts")).asInteger()));
    Labeltoll->setText(Qsystem->field(QStringLiteral("PayCash")).asMoney().toString());
}

void TMemberKponTollFm::enter() {
    members::Renewal renewal;
    renewal.number = memberId_;
    renewal.paidBy = Mname->text();
    renewal.scheme = PickEditmembersystem->currentText();
    const auto refusal = members::Membership().renew(renewal);
    if (refusal == members::RenewalRefusal::NoScheme)
        refuse(QStringLiteral("请输入该会员本次续费类型!."), PickEditmembersystem);
    if (refusal == members::RenewalRefusal::NoMember)
        refuse(QStringLiteral("对不起,没有该编号的会员,不能进行续费!"), RzBitBtn1);
    accept();
}
