#include "rental/TCdRentListFm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "common/Session.h"
#include "db/Clock.h"
#include "db/Errors.h"
#include "db/JetDialect.h"
#include "members/TFindMemberFm.h"
#include "rental/DiscLookup.h"
#include "rental/TRechoningAllFm.h"
#include "rental/TReckoningFm.h"
#include "rental/TSelectcdFm.h"
#include "rental/TServalRecordRentFm.h"
#include "ui/EnterKey.h"

qint64 CurrentRentOperationId = 0;

namespace {

const QString kNoTick = QStringLiteral("对不起,你至少要选择一项要归还的记录(即在\"是否归还\"处打上勾)!");
const QString kNoItems = QStringLiteral("出租清单中必须有一个以上的出租记录!");
const QString kBadDeposit = QStringLiteral("对不起,你输入的押金金额格式不对!");
const QString kNegativeDeposit = QStringLiteral("对不起,押金不能为负数!");

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter is the sheet's own: a focused button acts, anywhere else it moves on.
    b->setAutoDefault(false);
    return b;
}

QLineEdit* box(const QString& name, QWidget* parent, bool readOnly = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

TCdRentListFm::TCdRentListFm(QWidget* parent) : QDialog(parent), sheetId_(CurrentRentOperationId) {
    setObjectName(QStringLiteral("TCdRentListFm"));
    setWindowTitle(QStringLiteral("光盘出租"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    Q = new db::Query(this, QStringLiteral("Q"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildHeader());
    layout->addWidget(buildItems(), 1);
    layout->addWidget(buildEntry());
    setFixedSize(760, 620);

    guarded([this] { openSheet(); });
    connectHandlers();
}

QWidget* TCdRentListFm::buildHeader() {
    auto* group = new QGroupBox(QStringLiteral("租借信息"), this);
    HandlePerson = label(QStringLiteral("HandlePerson"), {}, group);
    RentPerson = new QComboBox(group);
    RentPerson->setObjectName(QStringLiteral("RentPerson"));
    RentPerson->setEditable(true);
    RentPerson->addItems({rental::walkInRenter(), rental::memberRenter()});
    PersonId = box(QStringLiteral("PersonId"), group);
    findmember = button(QStringLiteral("findmember"), QStringLiteral("查找"), group);
    CdPrice = box(QStringLiteral("CdPrice"), group);
    OtherMortagage = box(QStringLiteral("OtherMortagage"), group);
    RentExplain = box(QStringLiteral("RentExplain"), group);
    BtnEnter = button(QStringLiteral("BtnEnter"), QStringLiteral("确定"), group);
    BtnEnd = button(QStringLiteral("BtnEnd"), QStringLiteral("取消"), group);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("经手人:"), group), 0, 0);
    grid->addWidget(HandlePerson, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("租借人:"), group), 0, 2);
    grid->addWidget(RentPerson, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("会员编号:"), group), 0, 4);
    grid->addWidget(PersonId, 0, 5);
    grid->addWidget(findmember, 0, 6);
    grid->addWidget(new QLabel(QStringLiteral("押金;"), group), 1, 0);
    auto* deposit = new QHBoxLayout;
    deposit->addWidget(CdPrice, 1);
    deposit->addWidget(new QLabel(QStringLiteral("元(RMB)"), group));
    grid->addLayout(deposit, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("其它抵押物:"), group), 1, 2);
    grid->addWidget(OtherMortagage, 1, 3, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("租借说明:"), group), 2, 0);
    grid->addWidget(RentExplain, 2, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnEnter);
    buttons->addWidget(BtnEnd);
    grid->addLayout(buttons, 2, 4, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    return group;
}

QWidget* TCdRentListFm::buildItems() {
    auto* panel = new QWidget(this);
    dxDBGrid1 = new ui::DataGrid(Q, QStringLiteral("dxDBGrid1"), panel);
    LabelCount = label(QStringLiteral("LabelCount"), QStringLiteral("0"), panel);
    BtnAllCheck = button(QStringLiteral("BtnAllCheck"), QStringLiteral("全选"), panel);
    BtnCancelCheck = button(QStringLiteral("BtnCancelCheck"), QStringLiteral("取消全选"), panel);
    BtnBack = button(QStringLiteral("BtnBack"), QStringLiteral("归还选中碟片"), panel);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("出租清单如下:"), panel));
    top->addStretch(1);
    top->addWidget(new QLabel(QStringLiteral("当前租借未还总部数:"), panel));
    top->addWidget(LabelCount);
    auto* returns = new QHBoxLayout;
    returns->addStretch(1);
    returns->addWidget(BtnAllCheck);
    returns->addWidget(BtnCancelCheck);
    returns->addWidget(BtnBack);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(dxDBGrid1, 1);
    layout->addLayout(returns);
    return panel;
}

QWidget* TCdRentListFm::buildEntry() {
    auto* group = new QGroupBox(QStringLiteral("出租碟片"), this);
    OccurDate = label(QStringLiteral("OccurDate"), {}, group);
    SearchId = box(QStringLiteral("SearchId"), group);
    CdName = box(QStringLiteral("CdName"), group);
    FindAll = button(QStringLiteral("FindAll"), QStringLiteral("显示全部"), group);
    CdType = label(QStringLiteral("CdType"), {}, group);
    BtnAdd = button(QStringLiteral("BtnAdd"), QStringLiteral("新增记录"), group);
    BtnSave = button(QStringLiteral("BtnSave"), QStringLiteral("保存"), group);
    BtnCancel = button(QStringLiteral("BtnCancel"), QStringLiteral("取消"), group);
    BtnDel = button(QStringLiteral("BtnDel"), QStringLiteral("删除"), group);
    RentPrice = box(QStringLiteral("RentPrice"), group, true);
    LabelCycle = label(QStringLiteral("LabelCycle"), {}, group);
    Allow = box(QStringLiteral("Allow"), group, true);
    Label24 = label(QStringLiteral("Label24"), {}, group);
    Remain = box(QStringLiteral("Remain"), group, true);
    Label11 = label(QStringLiteral("Label11"), {}, group);

    auto* numberCaption = new QLabel(QStringLiteral("查找:按影片编号:"), group);
    auto* nameCaption = new QLabel(QStringLiteral("查找:按影片名称:"), group);
    entryBoxes_ = {SearchId, CdName, FindAll, numberCaption, nameCaption};

    auto* walkIn = new QGroupBox(rental::walkInRenter(), group);
    auto* walkInRow = new QHBoxLayout(walkIn);
    walkInRow->addWidget(new QLabel(QStringLiteral("出租价格:"), walkIn));
    walkInRow->addWidget(RentPrice, 1);
    walkInRow->addWidget(LabelCycle);
    auto* member = new QGroupBox(rental::memberRenter(), group);
    auto* memberGrid = new QGridLayout(member);
    memberGrid->addWidget(new QLabel(QStringLiteral("允许观看天数或部数"), member), 0, 0);
    memberGrid->addWidget(Allow, 0, 1);
    memberGrid->addWidget(Label24, 0, 2);
    memberGrid->addWidget(new QLabel(QStringLiteral("当前剩余天数或部数:"), member), 1, 0);
    memberGrid->addWidget(Remain, 1, 1);
    memberGrid->addWidget(Label11, 1, 2);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("发生日期:"), group), 0, 0);
    grid->addWidget(OccurDate, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("影片类型:"), group), 0, 2);
    grid->addWidget(CdType, 0, 3);
    grid->addWidget(numberCaption, 1, 0);
    grid->addWidget(SearchId, 1, 1);
    grid->addWidget(nameCaption, 1, 2);
    grid->addWidget(CdName, 1, 3);
    grid->addWidget(FindAll, 1, 4);
    grid->addWidget(walkIn, 2, 0, 1, 2);
    grid->addWidget(member, 2, 2, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnCancel);
    buttons->addWidget(BtnDel);
    grid->addLayout(buttons, 3, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

void TCdRentListFm::openSheet() {
    const bool continued = sheetId_ != 0;
    // The ticks are the sheet's own until the return: nothing of them is written before it.
    ui::GridColumn tick(QStringLiteral("是否归还"), QStringLiteral("Back"), ui::ColumnKind::Check, {}, !continued);
    tick.isChecked = [this](int row) { return ticks_.contains(itemAt(row)); };
    tick.setChecked = [this](int row, bool checked) {
        const qint64 id = itemAt(row);
        if (checked)
            ticks_.insert(id);
        else
            ticks_.remove(id);
    };
    dxDBGrid1->setColumns({
        tick,
        ui::GridColumn(QStringLiteral("发生日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date, {}, true),
        ui::GridColumn(QStringLiteral("光盘编号"), QStringLiteral("CdCountId_TCdResource"), ui::ColumnKind::Text, {},
                       true),
        ui::GridColumn(QStringLiteral("光盘名称"), QStringLiteral("CdName_TCdResource"), ui::ColumnKind::Text, {}, true,
                       220),
        ui::GridColumn(QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency, {}, true),
    });
    dxDBGrid1->setOptions(ui::GridOptions{continued, false, false, false, true});
    BtnAllCheck->setVisible(continued);
    BtnCancelCheck->setVisible(continued);
    BtnBack->setVisible(continued);
    if (continued) {
        db::Query sheet;
        sheet.reopen(QStringLiteral("select * from TRentOperation where ID=") + jet::number(sheetId_));
        if (!sheet.isEmpty()) {
            RentPerson->setEditText(sheet.field(QStringLiteral("RentPerson")).asString());
            PersonId->setText(sheet.field(QStringLiteral("PersonId")).asString());
            CdPrice->setText(sheet.field(QStringLiteral("Deposit")).asString());
            OtherMortagage->setText(sheet.field(QStringLiteral("OtherMortagage")).asString());
            RentExplain->setText(sheet.field(QStringLiteral("Explain")).asString());
        }
        PersonId->setEnabled(false);
        findmember->setVisible(true);
        const rental::MemberState member = rentals_.member(PersonId->text());
        Allow->setText(QString::number(member.allow));
        Remain->setText(QString::number(member.remain));
    } else {
        db::Query deposit;
        deposit.reopen(QStringLiteral("select * from TbMortagage"));
        CdPrice->setText(deposit.isEmpty() ? QStringLiteral("0")
                                           : deposit.field(QStringLiteral("MortagageSum")).asString());
        RentPerson->setCurrentIndex(0);
        RentPerson->setEditText(rental::walkInRenter());
        PersonId->setEnabled(false);
        findmember->setVisible(false);
    }
    LabelCount->setText(QString::number(rentals_.openItems(sheetId_)));
    HandlePerson->setText(CurrentUserName);
    Q->reopen(QStringLiteral("Select * from TRentList where Id_RentOperation=") + jet::number(sheetId_) +
              QStringLiteral(" and Back=false"));
    setEntryBoxesVisible(false);
    CdType->setVisible(false);
    BtnSave->setEnabled(false);
    BtnCancel->setEnabled(false);
    followItemList();
}

void TCdRentListFm::connectHandlers() {
    connectGuarded(RentPerson, &QComboBox::editTextChanged, this, [this](const QString& t) { onRenterChanged(t); });
    connectGuarded(BtnAdd, &QPushButton::clicked, this, [this] { onAdd(); });
    connectGuarded(BtnSave, &QPushButton::clicked, this, [this] { onSave(); });
    connectGuarded(BtnCancel, &QPushButton::clicked, this, [this] { onCancelEntry(); });
    connectGuarded(BtnDel, &QPushButton::clicked, this, [this] { onDelete(); });
    connectGuarded(BtnEnter, &QPushButton::clicked, this, [this] { onEnter(); });
    connectGuarded(BtnEnd, &QPushButton::clicked, this, [this] { onEnd(); });
    connectGuarded(findmember, &QPushButton::clicked, this, [this] { onFindMember(); });
    connectGuarded(BtnAllCheck, &QPushButton::clicked, this, [this] { onTickAll(true); });
    connectGuarded(BtnCancelCheck, &QPushButton::clicked, this, [this] { onTickAll(false); });
    connectGuarded(BtnBack, &QPushButton::clicked, this, [this] { onBack(); });
    // Enter in a lookup box is the lookup's alone: it neither moves the focus on nor reaches a button.
    SearchId->installEventFilter(this);
    CdName->installEventFilter(this);
    // A box changed by hand after a lookup no longer names what the lookup found: it must be looked up again.
    connectGuarded(SearchId, &QLineEdit::textEdited, this, [this] { forgetLookup(); });
    connectGuarded(CdName, &QLineEdit::textEdited, this, [this] { forgetLookup(); });
    connectGuarded(FindAll, &QPushButton::clicked, this, [this] { lookupAll(); });
    connectGuarded(Q, &db::Query::rowsChanged, this, [this] { followItemList(); });
    connectGuarded(Q, &db::Query::currentRowChanged, this, [this] { followItemList(); });
}

bool TCdRentListFm::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == SearchId || watched == CdName) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this, watched] {
                if (watched == SearchId)
                    lookupByNumber();
                else
                    lookupByName();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- who rents

rental::Renter TCdRentListFm::renter() const {
    return {RentPerson->currentText(), PersonId->text()};
}

void TCdRentListFm::onRenterChanged(const QString& text) {
    if (text == rental::memberRenter()) {
        PersonId->setEnabled(true);
        findmember->setVisible(true);
        if (!BtnAdd->isEnabled()) {
            // The entry is abandoned: the member must be checked before an item is entered for him.
            releaseHeldVolume();
            setEntryState(false);
        }
    } else {
        PersonId->setEnabled(false);
        findmember->setVisible(false);
    }
}

void TCdRentListFm::onFindMember() {
    PersonId->setText(TFindMemberFm::choose(this));
}

// ---- item entry

void TCdRentListFm::setEntryBoxesVisible(bool visible) {
    for (QWidget* w : entryBoxes_) w->setVisible(visible);
}

void TCdRentListFm::setEntryState(bool entry) {
    BtnSave->setEnabled(entry);
    BtnCancel->setEnabled(entry);
    BtnAdd->setEnabled(!entry);
    setEntryBoxesVisible(entry);
    if (!entry) {
        followItemList();
        // The next useful key starts the next item.
        BtnAdd->setFocus();
    }
}

void TCdRentListFm::followItemList() {
    // While an item is being entered "删除" stays off.
    if (BtnAdd->isEnabled()) BtnDel->setEnabled(Q->isActive() && !Q->isEmpty());
}

void TCdRentListFm::onAdd() {
    BtnDel->setEnabled(false);
    const rental::Renter who = renter();
    rental::MemberState member;
    try {
        member = rentals_.beginEntry(who);
    } catch (const rental::Refused& refused) {
        // "删除" follows the item list again as soon as its row changes.
        switch (refused.reason()) {
            case rental::Refusal::NoRenter:
                refuse(QStringLiteral("请你输入租借人信息,确定其属于零客户还是会员!"), RentPerson);
            case rental::Refusal::NoMemberNumber:
                // The number is wanted: "查找" stays at hand to find it.
                PersonId->setEnabled(true);
                findmember->setVisible(true);
                findmember->setEnabled(true);
                refuse(QStringLiteral("请你输入的租借人为会员,请输入其会员ID号!"), PersonId);
            case rental::Refusal::MemberNotFound:
                refuse(QStringLiteral("对不起,未能找到此会员编号,输入有误,请重新输入!"), PersonId);
            default:
                refuse(QStringLiteral("该会员的会费到期,请续费,无法完成出租操作,点击取消退出操作!"));
        }
    }
    if (who.isMember()) {
        // The member of the sheet is fixed from now on.
        PersonId->setEnabled(false);
        findmember->setEnabled(false);
    }
    if (!who.isWalkIn()) {
        RentPrice->setEnabled(false);
        LabelCycle->setVisible(false);
        Allow->setEnabled(true);
        Remain->setEnabled(true);
        const QString unit = member.byCounts ? QStringLiteral("部") : QStringLiteral("天");
        Label24->setText(unit);
        Label11->setText(unit);
        if (member.found) {
            Allow->setText(QString::number(member.allow));
            Remain->setText(QString::number(member.remain));
        }
    } else {
        RentPrice->setEnabled(true);
        Allow->setEnabled(false);
        Remain->setEnabled(false);
        db::Query cycle;
        cycle.reopen(QStringLiteral("select * from CdCycle"));
        LabelCycle->setText(QStringLiteral("元每") +
                            (cycle.isEmpty() ? QString() : cycle.field(QStringLiteral("Cycle")).asString()) +
                            QStringLiteral("天"));
        LabelCycle->setVisible(true);
    }
    entryDate_ = db::Clock::today();
    OccurDate->setText(db::dates::toDateText(entryDate_));
    setEntryState(true);
    SearchId->clear();
    CdName->clear();
    RentPrice->clear();
    CdType->clear();
    CdType->setVisible(true);
    found_ = {};
    typedName_.clear();
    SearchId->setFocus();
}

void TCdRentListFm::onSave() {
    const rental::Renter who = renter();
    // The item is what the lookup found: the title's or volume's own number and name, whatever part was typed.
    const QString number = found_.valid ? found_.number : SearchId->text();
    const QString name = found_.valid ? found_.name : CdName->text();
    rental::SavedItem saved;
    try {
        saved = rentals_.saveItem(sheetId_, who, {entryDate_, number, name, RentPrice->text()});
    } catch (const rental::Refused& refused) {
        if (refused.reason() == rental::Refusal::TitleOutOfStock)
            refuse(QStringLiteral("对不起,此碟片已无库存,不能进行出租操作!"), SearchId);
        if (refused.reason() == rental::Refusal::VolumeOutOfStock)
            refuse(QStringLiteral("对不起,连续剧的此集已无库存,不能进行出租操作!"), SearchId);
        refuse(
            QStringLiteral("请在查找的碟片编号或名称录入完毕后按回车键,系统会调出该碟片的资料!"
                           "若放弃出租请点击取消键!"));
    } catch (...) {
        reloadAfterFailure();
        throw;
    }
    heldVolume_.clear();  // lent now: it comes back with the return
    found_ = {};
    Q->refresh();
    if (who.isMember()) Q_EMIT memberRemainChanged();
    LabelCount->setText(QString::number(saved.sheetItems));
    if (saved.sheetItems != 0) BtnBack->setEnabled(true);
    setEntryState(false);
}

void TCdRentListFm::onCancelEntry() {
    releaseHeldVolume();
    found_ = {};
    setEntryState(false);
    BtnDel->setEnabled(true);
    followItemList();
}

void TCdRentListFm::holdVolume(const QString& number, const QString& name) {
    // Only one volume can be the item: choosing another lets the first go.
    heldVolume_ = number;
    found_ = {true, number, name};
    typedName_.clear();
    SearchId->setText(number);
    CdName->setText(name);
}

void TCdRentListFm::releaseHeldVolume() {
    // Nothing was taken from the volume yet: its stock goes with the saved item.
    heldVolume_.clear();
}

void TCdRentListFm::forgetLookup() {
    if (!found_.valid) return;
    found_ = {};
    typedName_.clear();
    heldVolume_.clear();
    RentPrice->clear();
}

// ---- disc lookup

void TCdRentListFm::showTitle(const rental::Title& title, bool withNumber, bool withName) {
    if (withNumber) SearchId->setText(title.countId);
    if (withName) CdName->setText(title.name);
    CdType->setText(title.types);
    RentPrice->setText(title.rentPrice.toString());
}

void TCdRentListFm::foundTitle(const rental::Title& title, bool withName) {
    releaseHeldVolume();
    showTitle(title, true, withName);
    found_ = {true, title.countId, title.name};
    typedName_.clear();
}

void TCdRentListFm::lookupDone() {
    // The next useful key saves the item; the Enter that looked it up stays the lookup's.
    if (found_.valid) BtnSave->setFocus();
}

void TCdRentListFm::lookupByNumber() {
    const QString text = SearchId->text();
    if (text.isEmpty() || !SearchId->isVisible()) return;
    // The box still names what was found: a second Enter does nothing more.
    if (found_.valid && text == found_.number) return lookupDone();
    const rental::Matches matches = rental::DiscLookup().byNumber(text);
    if (matches.count == 0) refuseAt(QStringLiteral("对不起,没有找到你所输入影片编号的记录,请重新输入!"), SearchId);
    if (matches.count == 1) {
        const rental::Title& title = matches.first;
        if (!title.series) {
            if (title.stock <= 0)
                refuseAt(QStringLiteral("对不起,你所输入影片编号的记录所有库存已全部出租!"), SearchId);
            foundTitle(title, true);
            return lookupDone();
        }
        QString number, name;
        if (SelectSeriesVolume(text, {}, TServalRecordRentFm::Mode::Choose, this, &number, &name, heldVolume_) == 1) {
            holdVolume(number, name);
            showTitle(title, false, false);
        }
        return lookupDone();
    }
    takeChoiceOrClear(SelectDisc(text, {}, this, heldVolume_));
}

void TCdRentListFm::lookupByName() {
    const QString text = CdName->text();
    if (text.isEmpty() || !CdName->isVisible()) return;
    if (found_.valid && (text == found_.name || text == typedName_)) return lookupDone();
    const rental::Matches matches = rental::DiscLookup().byName(text);
    if (matches.count == 0) refuseAt(QStringLiteral("对不起,没有找到你所输入影片名称的记录,请重新输入!"), CdName);
    if (matches.count == 1) {
        const rental::Title& title = matches.first;
        if (!title.series) {
            if (title.stock <= 0)
                refuseAt(QStringLiteral("对不起,你所输入影片名称的记录的所有库存已全部出租!"), CdName);
            // The box keeps what was typed; the item takes the title's own name.
            foundTitle(title, false);
            typedName_ = text;
            return lookupDone();
        }
        QString number, name;
        if (SelectSeriesVolume({}, text, TServalRecordRentFm::Mode::Choose, this, &number, &name, heldVolume_) == 1) {
            holdVolume(number, name);
            showTitle(title, false, false);
        }
        return lookupDone();
    }
    // Cancelled after a name lookup, the boxes keep what was typed; the focus stays.
    takeChoice(SelectDisc({}, text, this, heldVolume_));
    lookupDone();
}

void TCdRentListFm::lookupAll() {
    takeChoiceOrClear(SelectDisc({}, {}, this, heldVolume_));
}

void TCdRentListFm::refuseAt(const QString& text, QLineEdit* box) {
    // The next scan replaces what was typed.
    MyMessageBox(mkNotice, text);
    box->setFocus();
    box->selectAll();
    throw db::SilentStop();
}

void TCdRentListFm::takeChoice(const DiscChoice& choice) {
    if (choice.result == 0) {  // a series volume chosen in the volume list
        holdVolume(choice.volumeNumber, choice.volumeName);
        showTitle(choice.series, false, false);
    } else if (choice.result > 0) {
        if (const auto title = rental::DiscLookup().byId(choice.result)) foundTitle(*title, true);
    }
}

void TCdRentListFm::takeChoiceOrClear(const DiscChoice& choice) {
    if (choice.result == -1) {
        SearchId->clear();
        CdName->clear();
        forgetLookup();
        return;
    }
    takeChoice(choice);
    BtnSave->setFocus();
}

// ---- the item list

qint64 TCdRentListFm::itemAt(int row) const {
    return Q->cell(row, Q->columnIndex(QStringLiteral("ID"))).toLongLong();
}

QVector<qint64> TCdRentListFm::tickedItems() const {
    QVector<qint64> ids;
    if (!Q->isActive()) return ids;
    for (int row = 0; row < Q->recordCount(); ++row)
        if (ticks_.contains(itemAt(row))) ids << itemAt(row);
    return ids;
}

void TCdRentListFm::showTicks() {
    // Ticks of items no longer listed (returned or deleted) are gone.
    QSet<qint64> listed;
    for (int row = 0; row < Q->recordCount(); ++row) listed.insert(itemAt(row));
    ticks_.intersect(listed);
    dxDBGrid1->model()->checksChanged();
}

void TCdRentListFm::reloadAfterFailure() {
    guarded([this] {
        if (Q->isEditing()) Q->cancel();
        Q->refresh();
        showTicks();
    });
}

void TCdRentListFm::onDelete() {
    if (Q->isEmpty()) return;
    if (!MyMessageBox(mkConfirm, QStringLiteral("注意:此操作会删除该光盘出租记录,是否继续?"))) return;
    const qint64 item = Q->field(QStringLiteral("ID")).asInteger();
    // Every question comes before anything is written: the item and, when the answer says so, its emptied sheet go
    // together.
    bool dropSheet = false;
    if (sheetId_ != 0 && rentals_.sheetItems(sheetId_) == 1)
        dropSheet = MyMessageBox(mkConfirm, QStringLiteral("此笔业务中只有这一项出租记录,将它删除后,若不再新增其它出租"
                                                           "记录请点击确定,若要继续出租请点击取消."));
    rental::DeleteResult result;
    try {
        result = rentals_.deleteItem(item, sheetId_, renter(), {}, dropSheet);
    } catch (...) {
        reloadAfterFailure();
        throw;
    }
    ticks_.remove(item);
    Q->refresh();
    showTicks();
    if (!result.stockRestored)
        MyMessageBox(mkNotice, QStringLiteral("对不起你的库被更改过,失去关联性,删除后库存不能恢复!"));
    Q_EMIT memberRemainChanged();
    LabelCount->setText(QString::number(Q->recordCount()));
    if (result.after == rental::AfterDelete::SheetSettled) {
        Q_EMIT deskListsChanged();
        closeSheet();
    } else if (result.sheetDropped) {
        closeSheet();
        Q_EMIT deskListsChanged();
        Q_EMIT deskNotBackCountChanged(rentals_.itemsOut());
    }
}

void TCdRentListFm::onTickAll(bool back) {
    if (back) {
        for (int row = 0; row < Q->recordCount(); ++row) ticks_.insert(itemAt(row));
    } else {
        ticks_.clear();
    }
    showTicks();
}

// ---- returns

void TCdRentListFm::onBack() {
    if (returnTicked() == ReturnOutcome::Settled) closeSheet();
}

TCdRentListFm::ReturnOutcome TCdRentListFm::returnTicked() {
    rental::ReturnPlan plan;
    try {
        plan = rentals_.planReturn(sheetId_, tickedItems());
    } catch (const rental::Refused&) {
        refuse(kNoTick);
    }
    rental::Settlement settlement;
    if (plan.walkIn) {
        // Closing the settlement without settling calls the return off; nothing of it was written.
        if (plan.final) {
            const std::optional<db::Money> received = SettleAll(plan.due, plan.deposit, this);
            if (!received) return ReturnOutcome::Cancelled;
            settlement.received = *received;
        } else {
            const std::optional<rental::Settlement> part = SettlePart(plan.due, plan.deposit, this);
            if (!part) return ReturnOutcome::Cancelled;
            settlement = *part;
        }
    }
    rental::ReturnResult result;
    try {
        result = rentals_.applyReturn(plan, settlement);
    } catch (...) {
        // The ticks stay as they were: the operator may try again.
        reloadAfterFailure();
        throw;
    }
    if (plan.walkIn && !plan.final && settlement.fromDeposit) CdPrice->setText(result.deposit.toString());
    Q->refresh();
    showTicks();
    LabelCount->setText(QString::number(Q->recordCount()));
    if (result.settled) {
        Q_EMIT deskListsChanged();
        Q_EMIT deskRecordCountChanged();
    }
    Q_EMIT deskNotBackCountChanged(rentals_.itemsOut());
    return result.settled ? ReturnOutcome::Settled : ReturnOutcome::Returned;
}

// ---- the sheet

void TCdRentListFm::onEnter() {
    if (!tickedItems().isEmpty()) {
        if (MyMessageBox(mkConfirm, QStringLiteral("出租清单中有您选中的记录,现在是否归还!"))) {
            // A return called off in its settlement leaves the sheet open as it was.
            if (returnTicked() != ReturnOutcome::Cancelled) closeSheet();
            return;
        }
        ticks_.clear();
        showTicks();
    }
    db::Money deposit;
    if (rental::isNegativeAmount(CdPrice->text())) refuse(kNegativeDeposit, CdPrice);
    if (!CdPrice->text().trimmed().isEmpty() && !db::Money::tryParse(CdPrice->text().trimmed(), &deposit))
        refuse(kBadDeposit, CdPrice);
    const rental::SheetHeader header{CurrentUserName,     renter(),          deposit, OtherMortagage->text(),
                                     RentExplain->text(), LabelCount->text()};
    if (sheetId_ != 0) {
        // A sheet whose items were all deleted keeps none: it is dropped when the dialog closes.
        if (rentals_.sheetItems(sheetId_) == 0) refuse(kNoItems);
        rentals_.confirmSheet(sheetId_, header);
    } else {
        if (LabelCount->text() == QStringLiteral("0")) refuse(kNoItems);
        try {
            rentals_.confirmNewSheet(header);
        } catch (const rental::Refused&) {
            refuse(kNoItems);
        }
    }
    Q_EMIT deskListsChanged();
    Q_EMIT deskRecordCountChanged();
    Q_EMIT deskNotBackCountChanged(rentals_.itemsOut());
    closeSheet();
}

void TCdRentListFm::onEnd() {
    if (Q->isEditing()) Q->cancel();
    if (!Q->isEmpty() && !MyMessageBox(mkConfirm, QStringLiteral("是否确定取消,此操作会删除你已录入了的子记录!")))
        return;
    const rental::Renter who = renter();
    // The held volume and the ticks were never written: they go with the dialog.
    heldVolume_.clear();
    ticks_.clear();
    const bool dropped = rentals_.closeSheet(sheetId_);
    if (sheetId_ == 0 && who.isMember()) Q_EMIT memberRemainChanged();
    if (dropped) Q_EMIT deskListsChanged();
    Q_EMIT deskNotBackCountChanged(rentals_.itemsOut());
    closeSheet();
}

void TCdRentListFm::reject() {
    if (closing_) {
        QDialog::reject();
        return;
    }
    guarded([this] { onEnd(); });
}

void TCdRentListFm::closeSheet() {
    closing_ = true;
    QDialog::reject();
}

void TCdRentListFm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    if (handleEnterKey(this, event,
                       {BtnEnter, BtnEnd, findmember, BtnAllCheck, BtnCancelCheck, BtnBack, FindAll, BtnAdd, BtnSave,
                        BtnCancel, BtnDel}))
        return;
    QDialog::keyPressEvent(event);
}

void OpenRentSheet(qint64 sheetId, QWidget* parent, const std::function<void(TCdRentListFm*)>& prepare) {
    CurrentRentOperationId = sheetId;
    TCdRentListFm sheet(parent);
    if (prepare) prepare(&sheet);
    execModal(&sheet);
}
