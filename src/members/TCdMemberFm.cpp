#include "members/TCdMemberFm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "db/Clock.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "members/MemberCommon.h"
#include "members/Membership.h"
#include "members/TMemberKponTollFm.h"
#include "ui/EnterKey.h"

using db::Query;

namespace {

constexpr int kMemberTab = 0;
constexpr int kSystemTab = 1;

QPushButton* makeButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    return button;
}

QLabel* makeValueLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(110);
    return label;
}

void addRow(QGridLayout* grid, int row, int column, const char* caption, QWidget* input) {
    auto* label = new QLabel(QString::fromUtf8(caption), input->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(input);
    grid->addWidget(label, row, column * 2);
    grid->addWidget(input, row, column * 2 + 1);
}

QString integerText(Query* query, const char* field) {
    return query->isEmpty() ? QString() : query->field(QString::fromUtf8(field)).asString();
}

std::optional<qint64> shownNumber(const QLabel* label) {
    bool ok = false;
    const qint64 value = label->text().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// Reloads a list whatever happens to the action that changed it, so it shows the rows as they are stored.
template <typename Action>
void thenRefresh(Query* list, Action action) {
    try {
        action();
    } catch (...) {
        list->refresh();
        throw;
    }
    list->refresh();
}

}  // namespace

TCdMemberFm::TCdMemberFm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TCdMemberFm"));
    setWindowTitle(QStringLiteral("会员资料及制度管理"));

    Q = new Query(this, QStringLiteral("Q"));
    Q2 = new Query(this, QStringLiteral("Q2"));
    Qtype = new Query(this, QStringLiteral("Qtype"));

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabMember = buildMemberPanel();
    TabSystem = buildSystemPanel();
    PageControl->addTab(TabMember, QStringLiteral("会员资料管理"));
    PageControl->addTab(TabSystem, QStringLiteral("会员制度管理"));
    PageControl->setCurrentIndex(kSystemTab);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl);

    connectHandlers();

    guarded([this] {
        Q->reopen(QStringLiteral("select * from TMemberSystem"));
        Q2->reopen(QStringLiteral("select * from TMemberResource"));
    });
    BtnSaveMember->setEnabled(false);
    BtnCancelMember->setEnabled(false);
    SaveSystemBtn->setEnabled(false);
    CancleSystemBtn->setEnabled(false);
    setSchemeBoxesEnabled(false);
}

QWidget* TCdMemberFm::buildMemberPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("TabMember"));

    dxDBGrid1 = new ui::DataGrid(Q2, QStringLiteral("dxDBGrid1"), panel);
    dxDBGrid1->setColumns({
        ui::GridColumn(QStringLiteral("会员编号"), QStringLiteral("PersonId"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("会员名称"), QStringLiteral("MemberName"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("最新续费日期"), QStringLiteral("OpenAccountDate"), ui::ColumnKind::Date),
        ui::GridColumn(QStringLiteral("所属制度类型"), QStringLiteral("AttributeType"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("允许天数或部数"), QStringLiteral("AllowDaysOrCounts"), ui::ColumnKind::Number),
        ui::GridColumn(QStringLiteral("剩余天数或部数"), QStringLiteral("RemainDaysOrCounts"), ui::ColumnKind::Number),
    });
    dxDBGrid1->setOptions(ui::GridOptions{true, true, true, true, true});

    auto* edit = new QFrame(panel);
    edit->setObjectName(QStringLiteral("PanelMemberEdit"));
    edit->setFrameShape(QFrame::StyledPanel);
    MemberName = new ui::DbEdit(QStringLiteral("MemberName"), edit);
    MemberName->bind(Q2, QStringLiteral("MemberName"));
    dxDBEdit1 = new ui::DbEdit(QStringLiteral("dxDBEdit1"), edit);
    dxDBEdit1->bind(Q2, QStringLiteral("PersonId"));
    SystemType = new ui::DbPickList(QStringLiteral("SystemType"), edit);
    SystemType->setMinimumWidth(140);
    SystemType->bind(Q2, QStringLiteral("AttributeType"));
    OpenDate = makeValueLabel("OpenDate", edit);
    AllowCounts = makeValueLabel("AllowCounts", edit);
    RemainCounts = makeValueLabel("RemainCounts", edit);

    auto* boxes = new QGridLayout;
    addRow(boxes, 0, 0, "会员姓名:", MemberName);
    addRow(boxes, 0, 1, "会员编号:", dxDBEdit1);
    addRow(boxes, 0, 2, "所属制度类型:", SystemType);
    addRow(boxes, 1, 0, "最新续费日期:", OpenDate);
    addRow(boxes, 1, 1, "允许部数或天数:", AllowCounts);
    addRow(boxes, 1, 2, "剩余部数或天数:", RemainCounts);
    for (int column : {1, 3, 5}) boxes->setColumnStretch(column, 1);

    BtnAddMember = makeButton("BtnAddMember", "新增会员", edit);
    BtnAddMember->setDefault(true);
    MemberkponToll = makeButton("MemberkponToll", "会员续费", edit);
    BtnSaveMember = makeButton("BtnSaveMember", "保存", edit);
    BtnCancelMember = makeButton("BtnCancelMember", "取消", edit);
    EpButton2 = makeButton("EpButton2", "删除", edit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {BtnAddMember, MemberkponToll, BtnSaveMember, BtnCancelMember, EpButton2})
        buttons->addWidget(b);

    auto* editLayout = new QVBoxLayout(edit);
    editLayout->addLayout(boxes);
    editLayout->addLayout(buttons);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(dxDBGrid1, 1);
    layout->addWidget(edit);
    return panel;
}

QWidget* TCdMemberFm::buildSystemPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("TabSystem"));

    GridMain = new ui::DataGrid(Q, QStringLiteral("GridMain"), panel);
    GridMain->setColumns({
        ui::GridColumn(QStringLiteral("制度名称"), QStringLiteral("SystemName"), ui::ColumnKind::Text),
        ui::GridColumn(QStringLiteral("制度类型(按天数或部数)"), QStringLiteral("SystemType"), ui::ColumnKind::PickList,
                       {members::dayScheme(), members::countScheme()}),
        ui::GridColumn(QStringLiteral("需交纳会费金额"), QStringLiteral("PayCash"), ui::ColumnKind::Currency),
        ui::GridColumn(QStringLiteral("允许的天数或部数"), QStringLiteral("RewardDaysOrCounts"),
                       ui::ColumnKind::Number),
    });
    GridMain->setOptions(ui::GridOptions{true, true, true, true, true});

    auto* edit = new QFrame(panel);
    edit->setObjectName(QStringLiteral("PanelSystemEdit"));
    edit->setFrameShape(QFrame::StyledPanel);
    auto* note = new QLabel(QStringLiteral("[会员制度资料不能进行修改,因此数据与会员资料相关联,如需修改,只能进行删除,"
                                           "将会员资料中属于该制度的所有记录也删除后再进行新增]"),
                            edit);
    note->setObjectName(QStringLiteral("LabNote"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #a02020"));

    SystemName = new ui::DbEdit(QStringLiteral("SystemName"), edit);
    SystemName->bind(Q, QStringLiteral("SystemName"));
    SystemTypes = new ui::DbPickList(QStringLiteral("SystemTypes"), edit);
    SystemTypes->setChoices({members::dayScheme(), members::countScheme()});
    SystemTypes->bind(Q, QStringLiteral("SystemType"));
    CdSystemPrice = new ui::DbMoneyEdit(QStringLiteral("CdSystemPrice"), edit);
    CdSystemPrice->bind(Q, QStringLiteral("PayCash"));
    CdRewardDays = new ui::DbSpinEdit(QStringLiteral("CdRewardDays"), edit);
    CdRewardDays->bind(Q, QStringLiteral("RewardDaysOrCounts"));

    auto* boxes = new QGridLayout;
    addRow(boxes, 0, 0, "制度名称:", SystemName);
    addRow(boxes, 0, 1, "制度类型:", SystemTypes);
    addRow(boxes, 1, 0, "交纳会费金额:", CdSystemPrice);
    addRow(boxes, 1, 1, "优惠天数或部数:", CdRewardDays);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(3, 1);

    AddSystemBtn = makeButton("AddSystemBtn", "新增会员制度", edit);
    AddSystemBtn->setDefault(true);
    SaveSystemBtn = makeButton("SaveSystemBtn", "保存", edit);
    CancleSystemBtn = makeButton("CancleSystemBtn", "取消", edit);
    RzBitBtn4 = makeButton("RzBitBtn4", "删除", edit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {AddSystemBtn, SaveSystemBtn, CancleSystemBtn, RzBitBtn4}) buttons->addWidget(b);

    auto* editLayout = new QVBoxLayout(edit);
    editLayout->addWidget(note);
    editLayout->addLayout(boxes);
    editLayout->addLayout(buttons);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(GridMain, 1);
    layout->addWidget(edit);
    return panel;
}

void TCdMemberFm::connectHandlers() {
    connectGuarded(Q, &Query::stateChanged, this, [this] {
        AddSystemBtn->setEnabled(Q->state() == Query::Browse);
        SaveSystemBtn->setEnabled(Q->isEditing());
        CancleSystemBtn->setEnabled(SaveSystemBtn->isEnabled());
    });
    connectGuarded(Q, &Query::dataChanged, this, [this] {
        if (Q->isEmpty()) RzBitBtn4->setEnabled(false);
    });
    connectGuarded(Q2, &Query::stateChanged, this, [this] {
        BtnAddMember->setEnabled(Q2->state() == Query::Browse);
        BtnSaveMember->setEnabled(Q2->isEditing());
        BtnCancelMember->setEnabled(BtnSaveMember->isEnabled());
        // However the pending member ended (buttons, or a move in the grid), the scheme is chosen no more.
        if (Q2->state() == Query::Browse) endMemberEntry();
    });
    connectGuarded(Q2, &Query::dataChanged, this, [this] { EpButton2->setEnabled(Q2->recordCount() > 0); });
    // Moving through the list shows each member's figures; a row being entered keeps what was shown.
    connectGuarded(Q2, &Query::currentRowChanged, this, [this] {
        if (Q2->state() == Query::Browse) showCurrentMember();
    });

    Q->setBeforePost([this] { checkSystem(); });
    Q2->setBeforePost([this] { checkMember(); });

    connectGuarded(PageControl, &QTabWidget::currentChanged, this, [this](int index) { onTabChanged(index); });
    connectGuarded(dxDBGrid1, &ui::DataGrid::rowClicked, this, [this] { showCurrentMember(); });
    connectGuarded(SystemType, &QComboBox::currentTextChanged, this,
                   [this](const QString& name) { onMemberSchemeChosen(name); });

    connectGuarded(BtnAddMember, &QPushButton::clicked, this, [this] { addMember(); });
    connectGuarded(BtnSaveMember, &QPushButton::clicked, this, [this] { saveMember(); });
    connectGuarded(BtnCancelMember, &QPushButton::clicked, this, [this] { cancelMember(); });
    connectGuarded(EpButton2, &QPushButton::clicked, this, [this] { deleteMember(); });
    connectGuarded(MemberkponToll, &QPushButton::clicked, this, [this] { renewMember(); });
    connectGuarded(AddSystemBtn, &QPushButton::clicked, this, [this] { addSystem(); });
    connectGuarded(SaveSystemBtn, &QPushButton::clicked, this, [this] { saveSystem(); });
    connectGuarded(CancleSystemBtn, &QPushButton::clicked, this, [this] { cancelSystem(); });
    connectGuarded(RzBitBtn4, &QPushButton::clicked, this, [this] { deleteSystem(); });
}

void TCdMemberFm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    if (PageControl->currentIndex() == kSystemTab)
        AddSystemBtn->setFocus();
    else
        BtnAddMember->setFocus();
    SystemType->setEnabled(false);
    AllowCounts->setEnabled(false);
    RemainCounts->setEnabled(false);
    guarded([this] { showCurrentMember(); });
}

void TCdMemberFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event,
                       {BtnAddMember, BtnSaveMember, BtnCancelMember, EpButton2, AddSystemBtn, SaveSystemBtn,
                        CancleSystemBtn, RzBitBtn4}))
        return;
    QWidget::keyPressEvent(event);
}

void TCdMemberFm::onTabChanged(int index) {
    if (index != kMemberTab) return;
    Qtype->reopen(QStringLiteral("select SystemName from TMemberSystem"));
    QStringList names;
    for (Qtype->first(); !Qtype->eof(); Qtype->next()) names << Qtype->field(QStringLiteral("SystemName")).asString();
    SystemType->setChoices(names);
}

void TCdMemberFm::showCurrentMember() {
    const bool none = Q2->isEmpty() || Q2->field(QStringLiteral("OpenAccountDate")).isNull();
    OpenDate->setText(none ? QString() : db::dates::toDateText(Q2->field(QStringLiteral("OpenAccountDate")).asDate()));
    AllowCounts->setText(integerText(Q2, "AllowDaysOrCounts"));
    RemainCounts->setText(integerText(Q2, "RemainDaysOrCounts"));
}

void TCdMemberFm::onMemberSchemeChosen(const QString& name) {
    // While the list is not open for choosing, its text only follows the current member.
    if (!SystemType->isEnabled()) return;
    if (name.isEmpty()) {
        AllowCounts->clear();
        RemainCounts->clear();
        return;
    }
    Qtype->reopen(QStringLiteral("select * from TMemberSystem where SystemName =") + jet::quoted(name));
    const QString grant = Qtype->field(QStringLiteral("RewardDaysOrCounts")).asString();
    AllowCounts->setText(grant);
    RemainCounts->setText(grant);
}

void TCdMemberFm::setSchemeBoxesEnabled(bool enabled) {
    for (QWidget* box : std::initializer_list<QWidget*>{SystemName, SystemTypes, CdSystemPrice, CdRewardDays})
        box->setEnabled(enabled);
}

// Back to browsing the members: the scheme can no longer be chosen and the labels show the current member.
void TCdMemberFm::endMemberEntry() {
    SystemType->setEnabled(false);
    AllowCounts->setEnabled(false);
    RemainCounts->setEnabled(false);
    showCurrentMember();
}

void TCdMemberFm::addMember() {
    SystemType->setEnabled(true);
    AllowCounts->clear();
    RemainCounts->clear();
    Q2->append();
    OpenDate->setText(db::dates::toDateText(db::Clock::today()));
    BtnAddMember->setEnabled(false);
    BtnSaveMember->setEnabled(true);
    BtnCancelMember->setEnabled(true);
    EpButton2->setEnabled(false);
    MemberkponToll->setEnabled(false);
    MemberName->setFocus();
}

void TCdMemberFm::saveMember() {
    Q2->post();
    BtnAddMember->setEnabled(true);
    BtnSaveMember->setEnabled(false);
    BtnCancelMember->setEnabled(false);
    EpButton2->setEnabled(true);
    MemberkponToll->setEnabled(true);
    Q2->refresh();
    endMemberEntry();
}

void TCdMemberFm::checkMember() {
    members::Membership membership;
    members::MemberEntry member;
    member.id = Q2->state() == Query::Edit ? Q2->field(QStringLiteral("id")).asInteger() : 0;
    member.number = dxDBEdit1->text();
    member.name = MemberName->text();
    member.scheme = SystemType->text();
    if (const auto refusal = membership.checkMember(member)) {
        switch (*refusal) {
            case members::MemberRefusal::NoName:
                refuse(QStringLiteral("请输入该会员的名称,已保证会员资料数据录入的完整性."), MemberName);
            case members::MemberRefusal::NoNumber:
                refuse(QStringLiteral("请输入该会员的编号,已保证会员资料数据录入的完整性."), dxDBEdit1);
            case members::MemberRefusal::NoScheme:
                refuse(QStringLiteral("请输入该会员属的会员制度类型,系统会自动计算天数或部数.若你尚未增加会员"
                                      "制度类型，请点击取消，然后在会员制度管理中去新增！"),
                       SystemType);
            case members::MemberRefusal::NumberOfAnother:
                refuse(QStringLiteral("对不起,你输入的会员编号有重复,请重新输入!"), dxDBEdit1);
            case members::MemberRefusal::NumberExists:
                refuse(QStringLiteral("对不起,该会员编号已存在,请重新输入,若需续费,请取消该操作!."), dxDBEdit1);
        }
    }
    // What is written here and the member row are saved together (the post is one action).
    if (member.id != 0) return membership.followMember(member);

    Q2->field(QStringLiteral("OpenAccountDate")).setString(OpenDate->text());
    Q2->field(QStringLiteral("AllowDaysOrCounts")).setString(AllowCounts->text());
    Q2->field(QStringLiteral("RemainDaysOrCounts")).setString(RemainCounts->text());
    members::Joining joining;
    joining.number = member.number;
    joining.name = member.name;
    joining.scheme = member.scheme;
    joining.date = Q2->field(QStringLiteral("OpenAccountDate")).isNull()
                       ? QDate()
                       : Q2->field(QStringLiteral("OpenAccountDate")).asDate();
    joining.grant = shownNumber(RemainCounts);
    membership.recordJoining(joining);
}

void TCdMemberFm::cancelMember() {
    Q2->cancel();
    BtnAddMember->setEnabled(true);
    BtnSaveMember->setEnabled(false);
    BtnCancelMember->setEnabled(false);
    endMemberEntry();
}

void TCdMemberFm::deleteMember() {
    if (Q2->isEmpty()) refuse(QStringLiteral("当前没有会员资料,无法删除!"), dxDBGrid1);
    if (!MyMessageBox(mkConfirm,
                      QStringLiteral("确认是否删除,因删除后会员资料及会员续费资料记录也将被删除,请谨慎决择!")))
        throw db::SilentStop();
    // An unsaved change to the member is moot once it is deleted.
    if (Q2->isEditing()) Q2->cancel();
    const qint64 id = Q2->field(QStringLiteral("id")).asInteger();
    // The next member becomes current.
    thenRefresh(Q2, [id] { members::Membership().deleteMember(id); });
}

void TCdMemberFm::renewMember() {
    const QString number = Q2->isEmpty() ? QString() : Q2->field(QStringLiteral("PersonId")).asString();
    TMemberKponTollFm dialog(number, this);
    execModal(&dialog);
    Q2->refresh();
}

void TCdMemberFm::addSystem() {
    Q->append();
    setSchemeBoxesEnabled(true);
    AddSystemBtn->setEnabled(false);
    SaveSystemBtn->setEnabled(true);
    CancleSystemBtn->setEnabled(true);
    RzBitBtn4->setEnabled(false);
    EpButton2->setEnabled(true);
    MemberkponToll->setEnabled(true);
    SystemName->setFocus();
    SystemTypes->setFieldText(members::dayScheme());
}

void TCdMemberFm::saveSystem() {
    Q->post();
    AddSystemBtn->setEnabled(true);
    SaveSystemBtn->setEnabled(false);
    CancleSystemBtn->setEnabled(false);
    RzBitBtn4->setEnabled(true);
    setSchemeBoxesEnabled(false);
}

void TCdMemberFm::checkSystem() {
    members::SchemeEntry scheme;
    scheme.name = SystemName->text();
    scheme.type = SystemTypes->text();
    // The spin box shows an empty grant as 0; the field tells whether one was entered.
    if (!CdRewardDays->textValue().isEmpty() && !Q->field(QStringLiteral("RewardDaysOrCounts")).isNull())
        scheme.grant = CdRewardDays->textValue().toLongLong();
    if (!db::Money::tryParse(CdSystemPrice->text(), &scheme.fee)) scheme.fee = db::Money();
    const auto refusal = members::Membership::checkScheme(scheme);
    if (!refusal) return;
    switch (*refusal) {
        case members::SchemeRefusal::NoName:
            refuse(QStringLiteral("请输入该会员制度名称,已保证会员制度资料数据录入的完整性."), SystemName);
        case members::SchemeRefusal::NoType:
            refuse(QStringLiteral("请选择该会员制度所属类型,已保证会员资料数据录入时可进行选择!"), SystemTypes);
        case members::SchemeRefusal::NoGrant:
            refuse(QStringLiteral("请输入允许的天数或部数,否则不能发生出租操作!"), CdRewardDays);
        case members::SchemeRefusal::GrantNotPositive:
            refuse(QStringLiteral("错误输入，允许天数或部数的值小于0，请修改!"), CdRewardDays);
        case members::SchemeRefusal::NoFee:
            // Closing the notice by its close box instead of "确定" accepts a scheme without a fee.
            if (MyMessageBox(mkNotice, QStringLiteral("交纳的会费未输入,请重新输入!"))) {
                CdSystemPrice->setFocus();
                throw db::SilentStop();
            }
            Q->field(QStringLiteral("PayCash")).setMoney(db::Money());
    }
}

void TCdMemberFm::cancelSystem() {
    Q->cancel();
    AddSystemBtn->setEnabled(true);
    SaveSystemBtn->setEnabled(false);
    CancleSystemBtn->setEnabled(false);
    RzBitBtn4->setEnabled(true);
    // A saved scheme is never changed through the boxes: members refer to it by its name.
    setSchemeBoxesEnabled(false);
}

void TCdMemberFm::deleteSystem() {
    if (Q->isEmpty()) refuse(QStringLiteral("当前没有会员制度,无法删除!"), GridMain);
    if (!MyMessageBox(mkConfirm,
                      QStringLiteral(
                          "确认是否删除,因删除后会员资料及会员续费资料中的属于该会员类型的记录也将被删除,请谨慎决择!")))
        throw db::SilentStop();
    if (Q->isEditing()) Q->cancel();
    const qint64 id = Q->field(QStringLiteral("Id")).asInteger();
    thenRefresh(Q2, [this, id] { thenRefresh(Q, [id] { members::Membership().deleteScheme(id); }); });
}
