#include "inventory/TCdResourceFm.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

#include "common/Guard.h"
#include "common/Modal.h"
#include "common/MyMessageBox.h"
#include "db/Clock.h"
#include "db/Connection.h"
#include "db/Errors.h"
#include "inventory/TSitcomFm.h"
#include "rental/TServalRecordRentFm.h"
#include "ui/EnterKey.h"

namespace {
const QString kAllTitles = QStringLiteral("select * from TCdResource");
const QString kYes = QStringLiteral("是");
const QString kNo = QStringLiteral("否");

QLabel* fieldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}
}  // namespace

TCdResourceFm::TCdResourceFm(QWidget* parent) : TGridFatherFm(parent), catalogue_(db::Connection::shared()) {
    setObjectName(QStringLiteral("TCdResourceFm"));
    setWindowTitle(QStringLiteral("光盘资料管理"));

    QType = new db::Query(this, QStringLiteral("QType"));
    QStandards = new db::Query(this, QStringLiteral("QStandards"));
    QStandard = new db::Query(this, QStringLiteral("QStandard"));

    GridMain->setColumns({{QStringLiteral("光盘编号"), QStringLiteral("CountId"), ui::ColumnKind::Text, {}},
                          {QStringLiteral("光盘名称"), QStringLiteral("CdName"), ui::ColumnKind::Text, {}},
                          {QStringLiteral("购买价格"), QStringLiteral("BuyPrice"), ui::ColumnKind::Currency, {}},
                          {QStringLiteral("每套盘片数"), QStringLiteral("PerPieces"), ui::ColumnKind::Number, {}},
                          {QStringLiteral("购买总套数"), QStringLiteral("BuySeriesCount"), ui::ColumnKind::Number, {}},
                          {QStringLiteral("当前库存"), QStringLiteral("stock"), ui::ColumnKind::Number, {}},
                          {QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency, {}},
                          {QStringLiteral("连续剧"), QStringLiteral("SitComYesOrNo"), ui::ColumnKind::Text, {}},
                          {QStringLiteral("碟片位置"), QStringLiteral("CdPosition"), ui::ColumnKind::Text, {}}});
    // Rows change only through the edit panel, so that every write passes its checks and a series loses its volumes
    // with it.
    ui::GridOptions options;
    options.sorting = true;
    options.groupPanel = true;
    GridMain->setOptions(options);
    GridMain->sortBy(QStringLiteral("SitComYesOrNo"), Qt::AscendingOrder);
    GridMain->setMinimumHeight(160);

    DisplayLabel = new QLabel(PanelGridTop);
    DisplayLabel->setObjectName(QStringLiteral("DisplayLabel"));
    DisplayLabel->setStyleSheet(QStringLiteral("color: #a03010"));
    if (auto* strip = qobject_cast<QHBoxLayout*>(PanelGridTop->layout())) strip->insertWidget(2, DisplayLabel);

    buildEditPanel();
    buildViewMenu();
    connectHandlers();

    // Creation.
    DisplayLabel->setText(QStringLiteral("[所有碟片记录]"));
    guarded([this] { Q->reopen(kAllTitles); });
    LabelRentPrice->hide();
    CdRentPrice->show();
    CdRentStandard->setEnabled(false);
    guarded([this] { reloadTypeChoices(); });
    setSaleInputsEnabled(false);
    setDiscardInputsEnabled(false);
    onStateChange();
}

void TCdResourceFm::buildEditPanel() {
    auto* panel = PanelEdit;
    CdCountId = new ui::DbEdit(QStringLiteral("CdCountId"), panel);
    CdName = new ui::DbEdit(QStringLiteral("CdName"), panel);
    CdBuyDate = new ui::DbDateEdit(QStringLiteral("CdBuyDate"), panel);
    CdPrice = new ui::DbMoneyEdit(QStringLiteral("CdPrice"), panel);
    CdType1 = new ui::DbPickList(QStringLiteral("CdType1"), panel);
    CdPerCount = new ui::DbSpinEdit(QStringLiteral("CdPerCount"), panel);
    CdCount = new ui::DbSpinEdit(QStringLiteral("CdCount"), panel);
    CdRegion = new ui::DbPickList(QStringLiteral("CdRegion"), panel);
    CdRegion->setChoices({QStringLiteral("香港"), QStringLiteral("美国"), QStringLiteral("大陆"),
                          QStringLiteral("台湾"), QStringLiteral("其它")});
    CdType2 = new ui::DbPickList(QStringLiteral("CdType2"), panel);
    CdType2->setChoices({QStringLiteral("DVD"), QStringLiteral("VCD"), QStringLiteral("CD")});
    CdSitcom = new ui::DbPickList(QStringLiteral("CdSitcom"), panel);
    CdSitcom->setChoices({kNo, kYes});
    CdType3 = new ui::DbPickList(QStringLiteral("CdType3"), panel);
    CdType3->setChoices({QStringLiteral("碟版"), QStringLiteral("电影版"), QStringLiteral("修正版")});
    CdPlayer = new ui::DbEdit(QStringLiteral("CdPlayer"), panel);
    CdDirector = new ui::DbEdit(QStringLiteral("CdDirector"), panel);
    CdIntroduce = new ui::DbEdit(QStringLiteral("CdIntroduce"), panel);
    CdPosition = new ui::DbEdit(QStringLiteral("CdPosition"), panel);
    CdRentStandard = new QComboBox(panel);
    CdRentStandard->setObjectName(QStringLiteral("CdRentStandard"));
    // It shows the name of the row's standard, which need not be one of the entries.
    CdRentStandard->setEditable(true);
    CdRentStandard->lineEdit()->setReadOnly(true);
    CdRentStandard->setInsertPolicy(QComboBox::NoInsert);
    CdRentStandard->setMinimumWidth(140);
    CdRentPrice = new ui::DbLabel(QStringLiteral("CdRentPrice"), panel);
    LabelRentPrice = new QLabel(panel);
    LabelRentPrice->setObjectName(QStringLiteral("LabelRentPrice"));

    CdCountId->bind(Q, QStringLiteral("CountId"));
    CdName->bind(Q, QStringLiteral("CdName"));
    CdBuyDate->bind(Q, QStringLiteral("BuyDate"));
    CdPrice->bind(Q, QStringLiteral("BuyPrice"));
    CdType1->bind(Q, QStringLiteral("Types"));
    CdPerCount->bind(Q, QStringLiteral("PerPieces"));
    CdCount->bind(Q, QStringLiteral("BuySeriesCount"));
    CdRegion->bind(Q, QStringLiteral("CdRegion"));
    CdType2->bind(Q, QStringLiteral("CdDvdOrVcd"));
    CdSitcom->bind(Q, QStringLiteral("SitComYesOrNo"));
    CdType3->bind(Q, QStringLiteral("CdMatieral"));
    CdPlayer->bind(Q, QStringLiteral("CdMainPlayer"));
    CdDirector->bind(Q, QStringLiteral("CdDirector"));
    CdIntroduce->bind(Q, QStringLiteral("Intrduction"));
    CdPosition->bind(Q, QStringLiteral("CdPosition"));
    CdRentPrice->bind(Q, QStringLiteral("RentPrice"));
    CdPerCount->setRange(0, 999);
    CdCount->setRange(0, 99999);
    for (QWidget* input :
         std::initializer_list<QWidget*>{CdCountId, CdName, CdBuyDate, CdPrice, CdType1, CdPerCount, CdCount, CdRegion,
                                         CdType2, CdSitcom, CdType3, CdPlayer, CdDirector, CdPosition})
        input->setMinimumWidth(110);
    // A list that cannot be typed into opens on a click anywhere on it, not only on its arrow.
    for (QComboBox* list :
         {static_cast<QComboBox*>(CdType1), static_cast<QComboBox*>(CdRegion), static_cast<QComboBox*>(CdType2),
          static_cast<QComboBox*>(CdSitcom), static_cast<QComboBox*>(CdType3), CdRentStandard})
        list->lineEdit()->installEventFilter(this);

    auto* record = new QGridLayout;
    record->setHorizontalSpacing(6);
    record->setVerticalSpacing(4);
    auto put = [&](int row, int pair, const QString& label, QWidget* input, int span = 1) {
        record->addWidget(fieldLabel(label, panel), row, pair * 2);
        record->addWidget(input, row, pair * 2 + 1, 1, span);
    };
    put(0, 0, QStringLiteral("光盘编号:"), CdCountId);
    put(0, 1, QStringLiteral("光盘名称:"), CdName);
    put(0, 2, QStringLiteral("购进日期:"), CdBuyDate);
    put(1, 0, QStringLiteral("购进价格:"), CdPrice);
    put(1, 1, QStringLiteral("所属分类:"), CdType1);
    put(1, 2, QStringLiteral("每套片数:"), CdPerCount);
    put(2, 0, QStringLiteral("购买套数:"), CdCount);
    put(2, 1, QStringLiteral("出品地区:"), CdRegion);
    put(2, 2, QStringLiteral("影片类型:"), CdType2);
    put(3, 0, QStringLiteral("连续剧:"), CdSitcom);
    put(3, 1, QStringLiteral("碟片质量:"), CdType3);
    put(3, 2, QStringLiteral("当前位置:"), CdPosition);
    put(4, 0, QStringLiteral("主要演员:"), CdPlayer);
    put(4, 1, QStringLiteral("导演:"), CdDirector);
    put(5, 0, QStringLiteral("光盘简介:"), CdIntroduce, 5);
    auto* rent = new QHBoxLayout;
    rent->addWidget(CdRentStandard);
    rent->addWidget(CdRentPrice);
    rent->addWidget(LabelRentPrice);
    rent->addWidget(new QLabel(QStringLiteral("/计费周期"), panel));
    rent->addStretch(1);
    record->addWidget(fieldLabel(QStringLiteral("出租价格标准:"), panel), 6, 0);
    record->addLayout(rent, 6, 1, 1, 5);
    for (int c = 1; c < 6; c += 2) record->setColumnStretch(c, 1);

    GroupSale = new QGroupBox(QStringLiteral("光盘销售(请在列表中选择要销售的光盘)"), panel);
    GroupSale->setObjectName(QStringLiteral("GroupSale"));
    CdSaleDate = new QLineEdit(GroupSale);
    CdSaleDate->setObjectName(QStringLiteral("CdSaleDate"));
    CdSalePrice = new QLineEdit(QStringLiteral("0"), GroupSale);
    CdSalePrice->setObjectName(QStringLiteral("CdSalePrice"));
    CdSalePrice->setAlignment(Qt::AlignRight);
    CdSalePrice->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,12}(\\.\\d{0,4})?")), CdSalePrice));
    CdSaleCount = new QSpinBox(GroupSale);
    CdSaleCount->setObjectName(QStringLiteral("CdSaleCount"));
    CdSaleCount->setRange(0, 99999);
    auto* sale = new QGridLayout(GroupSale);
    sale->addWidget(fieldLabel(QStringLiteral("销售日期:"), GroupSale), 0, 0);
    sale->addWidget(CdSaleDate, 0, 1);
    sale->addWidget(fieldLabel(QStringLiteral("销售价格:"), GroupSale), 1, 0);
    sale->addWidget(CdSalePrice, 1, 1);
    sale->addWidget(fieldLabel(QStringLiteral("销售套数:"), GroupSale), 2, 0);
    sale->addWidget(CdSaleCount, 2, 1);

    GroupDiscard = new QGroupBox(QStringLiteral("光盘作废(请在列表中选择要作废的光盘)"), panel);
    GroupDiscard->setObjectName(QStringLiteral("GroupDiscard"));
    CdDiscardDate = new QLineEdit(GroupDiscard);
    CdDiscardDate->setObjectName(QStringLiteral("CdDiscardDate"));
    CdDiscardCount = new QSpinBox(GroupDiscard);
    CdDiscardCount->setObjectName(QStringLiteral("CdDiscardCount"));
    CdDiscardCount->setRange(0, 99999);
    auto* discard = new QGridLayout(GroupDiscard);
    discard->addWidget(fieldLabel(QStringLiteral("作废日期:"), GroupDiscard), 0, 0);
    discard->addWidget(CdDiscardDate, 0, 1);
    discard->addWidget(fieldLabel(QStringLiteral("作废套数:"), GroupDiscard), 1, 0);
    discard->addWidget(CdDiscardCount, 1, 1);

    auto makeButton = [panel](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, panel);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    BtnBuy = makeButton(QStringLiteral("BtnBuy"), QStringLiteral("购买"));
    BtnSale = makeButton(QStringLiteral("BtnSale"), QStringLiteral("销售"));
    BtnDepose = makeButton(QStringLiteral("BtnDepose"), QStringLiteral("报废"));
    BtnSave = makeButton(QStringLiteral("BtnSave"), QStringLiteral("保存"));
    BtnDelete = makeButton(QStringLiteral("BtnDelete"), QStringLiteral("删除"));
    BtnCancel = makeButton(QStringLiteral("BtnCancel"), QStringLiteral("取消"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {BtnBuy, BtnSale, BtnDepose, BtnSave, BtnDelete, BtnCancel}) buttons->addWidget(button);

    auto* movements = new QVBoxLayout;
    movements->addWidget(GroupSale);
    movements->addWidget(GroupDiscard);
    movements->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(record, 3);
    top->addLayout(movements, 1);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

void TCdResourceFm::buildViewMenu() {
    MenuByTime = MenuView->addAction(QStringLiteral("按入库时间先后显示碟片记录"));
    MenuAll = MenuView->addAction(QStringLiteral("显示所有库存碟片记录"));
    MenuAll->setCheckable(true);
    MenuAll->setChecked(true);
    MenuView->addSeparator();
    MenuSold = MenuView->addAction(QStringLiteral("显示有销售记录的碟片记录"));
    MenuDiscarded = MenuView->addAction(QStringLiteral("显示有作废记录的碟片记录"));
    MenuView->addSeparator();
    MenuSingles = MenuView->addAction(QStringLiteral("显示所有不是连续剧的碟片记录"));
    MenuSeries = MenuView->addAction(QStringLiteral("显示所有是连续剧碟片的记录"));
    MenuView->addSeparator();
    MenuQuery = MenuView->addAction(QStringLiteral("条件查询"));
    MenuByTime->setObjectName(QStringLiteral("MenuByTime"));
    MenuAll->setObjectName(QStringLiteral("MenuAll"));
    MenuSold->setObjectName(QStringLiteral("MenuSold"));
    MenuDiscarded->setObjectName(QStringLiteral("MenuDiscarded"));
    MenuSingles->setObjectName(QStringLiteral("MenuSingles"));
    MenuSeries->setObjectName(QStringLiteral("MenuSeries"));
    MenuQuery->setObjectName(QStringLiteral("MenuQuery"));
}

void TCdResourceFm::connectHandlers() {
    connectGuarded(Q, &db::Query::stateChanged, this, [this] { onStateChange(); });
    connectGuarded(Q, &db::Query::stateChanged, this, [this] { volumesForNewSeries(); });
    // The standard shown belongs to the row shown, also while the operator only browses.
    connectGuarded(Q, &db::Query::currentRowChanged, this, [this] {
        if (Q->state() == db::Query::Browse) showRowStandard();
    });
    Q->setBeforePost([this] { checkBeforePost(); });
    Q->setAfterWrite([this] { writeWithRecord(); });

    connectGuarded(MenuByTime, &QAction::triggered, this, [this] {
        applyFilter(QStringLiteral("[按时间先后显示碟片]"),
                    QStringLiteral("select * from TCdResource order by Buydate"), false);
    });
    connectGuarded(MenuAll, &QAction::triggered, this, [this] {
        MenuAll->setChecked(true);
        applyFilter(QStringLiteral("[显示所有碟片]"), kAllTitles, false);
    });
    connectGuarded(MenuSold, &QAction::triggered, this, [this] {
        applyFilter(QStringLiteral("[销售记录]"),
                    QStringLiteral("SELECT * FROM TCdResource where ID in (select CdId from CdSalesDiscard where "
                                   "CdSaleOrDiscard=0)"),
                    false);
    });
    connectGuarded(MenuDiscarded, &QAction::triggered, this, [this] {
        applyFilter(QStringLiteral("[作废记录]"),
                    QStringLiteral("SELECT * FROM TCdResource where ID in (select CdId from CdSalesDiscard where "
                                   "CdSaleOrDiscard=1)"),
                    true);
    });
    connectGuarded(MenuSingles, &QAction::triggered, this, [this] {
        applyFilter(QStringLiteral("[不是连续剧的碟片]"),
                    QStringLiteral("SELECT * FROM TCdResource where SitComYesOrNo=") + jet::quoted(kNo), true);
    });
    connectGuarded(MenuSeries, &QAction::triggered, this, [this] {
        applyFilter(QStringLiteral("[是连续剧的碟片]"),
                    QStringLiteral("SELECT * FROM TCdResource where SitComYesOrNo=") + jet::quoted(kYes), false);
    });
    connectGuarded(MenuQuery, &QAction::triggered, this, [this] { Q_EMIT conditionalQueryRequested(); });

    connectGuarded(GridMain, &ui::DataGrid::rowClicked, this, [this] {
        CdRentPrice->show();
        LabelRentPrice->hide();
    });
    connectGuarded(GridMain, &ui::DataGrid::rowDoubleClicked, this, [this] { onGridDoubleClick(); });
    connectGuarded(CdRentStandard, &QComboBox::activated, this, [this](int index) { onRentStandardChosen(index); });

    connectGuarded(BtnBuy, &QPushButton::clicked, this, [this] { onBuy(); });
    connectGuarded(BtnSale, &QPushButton::clicked, this, [this] { startMovement(Movement::Sale); });
    connectGuarded(BtnDepose, &QPushButton::clicked, this, [this] { startMovement(Movement::Discard); });
    connectGuarded(BtnSave, &QPushButton::clicked, this, [this] { onSave(); });
    connectGuarded(BtnDelete, &QPushButton::clicked, this, [this] { onDelete(); });
    connectGuarded(BtnCancel, &QPushButton::clicked, this, [this] { onCancel(); });
}

bool TCdResourceFm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
        event->type() == QEvent::MouseButtonDblClick) {
        auto* line = qobject_cast<QLineEdit*>(watched);
        auto* list = line ? qobject_cast<QComboBox*>(line->parentWidget()) : nullptr;
        if (list && line->isReadOnly() && list->isEnabled()) {
            // Opened on the release, so that the release does not close the list again at once.
            if (event->type() == QEvent::MouseButtonRelease) list->showPopup();
            return true;
        }
    }
    return TGridFatherFm::eventFilter(watched, event);
}

void TCdResourceFm::showQueryResult(const QStringList& lines) {
    Q->reopen(lines);
    Q->refresh();
}

void TCdResourceFm::reloadTypeChoices() {
    QType->reopen(QStringLiteral("select * from TCdType"));
    QStringList types;
    for (QType->first(); !QType->eof(); QType->next()) types.append(QType->field("CdTypes").asString());
    QType->close();
    CdType1->setChoices(types);
}

void TCdResourceFm::showEvent(QShowEvent* event) {
    TGridFatherFm::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    guarded([this] { Q->reopen(kAllTitles); });
}

void TCdResourceFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event, {BtnBuy, BtnSale, BtnDepose, BtnSave, BtnDelete, BtnCancel})) return;
    TGridFatherFm::keyPressEvent(event);
}

void TCdResourceFm::applyFilter(const QString& label, const QString& sql, bool refreshAfter) {
    DisplayLabel->setText(label);
    Q->reopen(sql);
    if (refreshAfter) Q->refresh();
}

void TCdResourceFm::setRecordInputsEnabled(bool enabled) {
    for (QWidget* input :
         std::initializer_list<QWidget*>{CdCountId, CdName, CdBuyDate, CdPrice, CdType1, CdPerCount, CdCount, CdRegion,
                                         CdType2, CdSitcom, CdType3, CdPlayer, CdDirector, CdIntroduce, CdPosition})
        input->setEnabled(enabled);
}

void TCdResourceFm::setSaleInputsEnabled(bool enabled) {
    CdSaleDate->setEnabled(enabled);
    CdSalePrice->setEnabled(enabled);
    CdSaleCount->setEnabled(enabled);
}

void TCdResourceFm::setDiscardInputsEnabled(bool enabled) {
    CdDiscardDate->setEnabled(enabled);
    CdDiscardCount->setEnabled(enabled);
}

void TCdResourceFm::rereadAfter(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        try {
            Q->refresh();
        } catch (...) {
            // The action's own error is the one the operator must read.
        }
        throw;
    }
    Q->refresh();
}

bool TCdResourceFm::isSeries() {
    return Q->isActive() && !Q->isEmpty() && Q->field("SitComYesOrNo").asString() == kYes;
}

void TCdResourceFm::onStateChange() {
    showRowStandard();
    BtnBuy->setEnabled(Q->state() == db::Query::Browse);
    BtnSave->setEnabled(Q->isEditing());
    BtnCancel->setEnabled(BtnSave->isEnabled());
}

void TCdResourceFm::showRowStandard() {
    QString standard;
    if (Q->isActive() && Q->currentRow() >= 0) {
        const db::Money price = Q->field("RentPrice").asMoney();  // an empty price reads as 0
        QStandard->reopen(QStringLiteral("select ChargeName from TChargeStandard where RentSum=") + jet::number(price));
        if (!QStandard->isEmpty()) standard = QStandard->field("ChargeName").asString();
        QStandard->close();
    }
    CdRentStandard->setCurrentIndex(-1);
    CdRentStandard->setEditText(standard);
}

void TCdResourceFm::onBuy() {
    settlePendingChange();
    BtnSale->setEnabled(false);
    BtnDepose->setEnabled(false);
    setRecordInputsEnabled(true);
    CdRentStandard->setEnabled(true);
    setSaleInputsEnabled(false);
    setDiscardInputsEnabled(false);
    CdRentPrice->hide();
    LabelRentPrice->show();
    CdCountId->setFocus();

    CdRentStandard->clear();
    QStandards->reopen(QStringLiteral("select * from TChargeStandard"));
    for (QStandards->first(); !QStandards->eof(); QStandards->next())
        CdRentStandard->addItem(QStandards->field("ChargeName").asString() +
                                    QStandards->field("RentSum").asMoney().toString() + QStringLiteral("元"),
                                QVariant(QStandards->field("Id").asInteger()));
    QStandards->close();
    CdRentStandard->setCurrentIndex(-1);

    Q->append();
    Q->field("PerPieces").setInteger(2);
    Q->field("BuySeriesCount").setInteger(1);
    Q->field("BuyDate").setDate(db::Clock::today());
    Q->field("BuyPrice").setMoney(db::Money());  // the price box is never empty

    CdType1->setFieldText(QStringLiteral("其它类型"));
    CdPerCount->setFieldText(QStringLiteral("2"));
    CdCount->setFieldText(QStringLiteral("1"));
    CdRegion->setFieldText(QStringLiteral("香港"));
    CdType2->setFieldText(QStringLiteral("vcd"));
    CdSitcom->setFieldText(kNo);
    CdType3->setFieldText(QStringLiteral("碟版"));
    CdBuyDate->setFieldText(db::dates::toDateText(db::Clock::today()));
}

void TCdResourceFm::onRentStandardChosen(int index) {
    if (index < 0) return;
    const qint64 id = CdRentStandard->itemData(index).toLongLong();
    if (id == 0) return;
    QStandard->reopen(QStringLiteral("select * from TChargeStandard where Id=") + QString::number(id));
    if (QStandard->isEmpty()) {
        QStandard->close();
        return;
    }
    const db::Money sum = QStandard->field("RentSum").asMoney();
    QStandard->close();
    CdRentPrice->hide();
    LabelRentPrice->setText(sum.toString() + QStringLiteral("元"));
    LabelRentPrice->show();
}

void TCdResourceFm::onSave() {
    if (CdCountId->isEnabled())
        saveRecord();
    else if (CdSaleDate->isEnabled())
        saveMovement(Movement::Sale);
    else
        saveMovement(Movement::Discard);
}

void TCdResourceFm::saveRecord() {
    if (!Q->isEditing()) return;
    // The checks run in the before-post handler, the rows that go with the title in the after-write handler (one
    // transaction with the row); a new series shows its volumes once written (volumesForNewSeries).
    Q->post();
    BtnBuy->setEnabled(true);
    BtnSale->setEnabled(true);
    BtnDepose->setEnabled(true);
}

void TCdResourceFm::checkBeforePost() {
    // The record checks guard what the operator typed; sales and write-offs only move the stock.
    if (!CdCountId->isEnabled()) return;
    const bool isNew = Q->state() == db::Query::Insert;
    const qint64 id = isNew ? 0 : Q->field("ID").asInteger();
    const inventory::TitleEntry entry{id, Q->field("CountId").asString(), Q->field("CdName").asString(),
                                      CdRentStandard->currentText()};
    switch (catalogue_.checkRecord(entry)) {
        case inventory::RecordRefusal::NoNumber:
            refuse(QStringLiteral("请输入该光盘的编号,已保证光盘资料数据录入的完整性."), CdCountId);
        case inventory::RecordRefusal::NumberInUse:
            refuse(QStringLiteral("对不起,你已经输入过这样的编号,请重新输入一个编号."), CdCountId);
        case inventory::RecordRefusal::NoName:
            refuse(QStringLiteral("请输入该光盘的名称,已保证光盘资料数据录入的完整性."), CdName);
        case inventory::RecordRefusal::NoRentStandard:
            refuse(QStringLiteral("请输入该光盘的出租价格,已保证出租时候的自动计算."), CdRentStandard);
        case inventory::RecordRefusal::None:
            break;
    }

    offerMerge(entry);

    if (Q->field("BuyPrice").isNull()) Q->field("BuyPrice").setMoney(db::Money());
    if (isNew) {
        // The shown standard of a new row was found by its empty price; only an entry chosen carries an Id.
        const int chosen = CdRentStandard->currentIndex();
        const inventory::NewTitleValues values = catalogue_.newTitleValues(
            CdCount->value(), chosen >= 0 ? CdRentStandard->itemData(chosen).toLongLong() : 0);
        Q->field("stock").setInteger(values.stock);
        Q->field("RentPrice").setMoney(values.rentPrice);
    }
}

void TCdResourceFm::writeWithRecord() {
    if (!CdCountId->isEnabled()) return;
    const qint64 id = Q->field("ID").asInteger();
    const bool series = Q->field("SitComYesOrNo").asString() == kYes;
    if (Q->state() == db::Query::Insert) {
        if (!series) return;
        catalogue_.volumes().make(id, Q->field("CountId").asString(), Q->field("CdName").asString(),
                                  int(Q->field("PerPieces").asInteger()), int(Q->field("BuySeriesCount").asInteger()));
        volumesToShow_ = id;
    } else {
        if (series) catalogue_.volumes().rename(id, Q->field("CdName").asString());
        // The series flag of an existing title cannot be changed once an edit is saved.
        CdSitcom->setEnabled(false);
    }
}

void TCdResourceFm::volumesForNewSeries() {
    // Runs when the main query is browsing again: the new series may have been written by "保存" or by moving to
    // another row in the grid, and either way the operator sees its volumes.
    if (volumesToShow_ == 0 || Q->state() != db::Query::Browse) return;
    const qint64 id = std::exchange(volumesToShow_, 0);
    // A write that failed leaves no series to show.
    if (Q->currentRow() < 0 || Q->field("ID").isNull() || Q->field("ID").asInteger() != id) return;
    MyMessageBox(mkNotice, QStringLiteral("此光盘属于连续剧，为方便出租为每集生成一个编号."));
    TSitcomFm volumes(id, this);
    execModal(&volumes);
}

void TCdResourceFm::offerMerge(const inventory::TitleEntry& entry) {
    for (qint64 other : catalogue_.sameNamedSingles(entry.name, entry.id)) {
        if (!MyMessageBox(mkConfirm,
                          QStringLiteral("系统在你所输记录中查到有相同片名的记录，请确认是否是同一部片子,"
                                         "是请点确认，系统自动增加库存，否请点击取消，系统再新增一个记录！")))
            continue;
        catalogue_.mergePurchase(other, CdCount->value());
        // The purchase now belongs to the existing title: drop the pending row and show the new count.
        Q->cancel();
        Q->refresh();
        throw db::SilentStop();
    }
}

void TCdResourceFm::onDelete() {
    if (!Q->isActive() || Q->isEmpty()) {
        MyMessageBox(mkNotice, QStringLiteral("对不起,你光盘资料库中没有记录,你不能进行删除操作."));
        return;
    }
    if (!MyMessageBox(mkConfirm, QStringLiteral("注意:此操作会删除该条光盘资料数据,是否继续?"))) return;
    if (Q->state() == db::Query::Insert) {
        // The current row is a purchase not yet saved: deleting it only drops it.
        Q->cancel();
    } else {
        // An unsaved change of the row goes with the row.
        Q->cancel();
        const qint64 id = Q->field("ID").asInteger();
        rereadAfter([&] { catalogue_.deleteTitle(id); });
    }
    BtnSale->setEnabled(true);
    BtnDepose->setEnabled(true);
}

void TCdResourceFm::onCancel() {
    auto afterCancel = [this] {
        BtnBuy->setEnabled(true);
        BtnSale->setEnabled(true);
        BtnDepose->setEnabled(true);
        BtnDelete->setEnabled(true);
        BtnSave->setEnabled(false);
        BtnCancel->setEnabled(false);
    };
    if (CdCountId->isEnabled()) {
        Q->cancel();
        afterCancel();
    }
    // A sale or write-off writes its row only when saved, so there is nothing pending to drop.
    if (CdSaleDate->isEnabled() || CdDiscardDate->isEnabled()) afterCancel();
}

void TCdResourceFm::onGridDoubleClick() {
    if (!isSeries()) return;
    SelectSeriesVolume(Q->field("CountId").asString(), QStringLiteral("0"), TServalRecordRentFm::Mode::Details, this);
}

void TCdResourceFm::settlePendingChange() {
    // A typed change of the current title is saved (with its checks) before the panel changes mode.
    if (Q->isEditing()) Q->post();
}

void TCdResourceFm::startMovement(Movement movement) {
    const bool sale = movement == Movement::Sale;
    if (!Q->isActive() || Q->isEmpty()) {
        MyMessageBox(mkNotice, sale ? QStringLiteral("对不起,库中没有光盘资料记录,你不能进行销售操作!")
                                    : QStringLiteral("对不起,库中没有光盘资料记录,你不能进行报废操作!"));
        return;
    }
    settlePendingChange();
    const inventory::MoveStartRefusal refusal = catalogue_.checkMoveStart(Q->field("ID").asInteger());
    if (isSeries()) {
        bool& flag = sale ? seriesSaleFlag_ : seriesDiscardFlag_;
        flag = refusal == inventory::MoveStartRefusal::None;
        if (!flag) {
            MyMessageBox(
                mkNotice,
                sale ? QStringLiteral("销售的该记录为连续剧，它每集的库存不足1，不能做为整部销售.")
                     : QStringLiteral("报废的该记录为连续剧，它每集的库存不足1，还有在外出租的碟片，不能做为整部废."));
            return;
        }
    } else if (refusal == inventory::MoveStartRefusal::NoStock) {
        MyMessageBox(mkNotice,
                     QStringLiteral("对不起,不能执行该项操作!该光盘现已无库存,可能全租出,也可能全销售或报废."));
        return;
    }

    BtnSave->setEnabled(true);
    BtnCancel->setEnabled(true);
    BtnDelete->setEnabled(false);
    setRecordInputsEnabled(false);
    CdRentStandard->setEnabled(false);
    const QString today = db::dates::toDateText(db::Clock::today());
    const int stock = int(Q->field("stock").asInteger());
    if (sale) {
        setDiscardInputsEnabled(false);
        setSaleInputsEnabled(true);
        CdSaleDate->setText(today);
        CdSaleCount->setValue(stock);
    } else {
        setSaleInputsEnabled(false);
        setDiscardInputsEnabled(true);
        CdDiscardDate->setText(today);
        CdDiscardCount->setValue(stock);
    }
    BtnBuy->setEnabled(false);
    BtnSale->setEnabled(false);
    BtnDepose->setEnabled(false);
}

void TCdResourceFm::saveMovement(Movement movement) {
    const bool sale = movement == Movement::Sale;
    QSpinBox* countInput = sale ? CdSaleCount : CdDiscardCount;
    const QString what = sale ? QStringLiteral("销售") : QStringLiteral("作废");
    if (!Q->isActive() || Q->isEmpty()) {
        MyMessageBox(mkNotice, sale ? QStringLiteral("对不起,库中没有光盘资料记录,你不能进行销售操作!")
                                    : QStringLiteral("对不起,库中没有光盘资料记录,你不能进行报废操作!"));
        return;
    }
    const qint64 id = Q->field("ID").asInteger();
    const bool series = isSeries();
    const int count = countInput->value();

    // The sets that leave the shop must be there: a count above the stock would leave it negative.
    bool& flag = sale ? seriesSaleFlag_ : seriesDiscardFlag_;
    const inventory::StockMoveRefusal refusal = catalogue_.checkStockMove(id, count);
    switch (refusal.reason) {
        case inventory::StockMoveRefusal::CountBelowOne:
            refuse(what + QStringLiteral("套数必须大于0,请重新输入."), countInput);
        case inventory::StockMoveRefusal::AboveSeriesStock:
            flag = false;
            refuse(what + QStringLiteral("套数不能大于该连续剧每集的最少库存(%1套),请重新输入.").arg(refusal.available),
                   countInput);
        case inventory::StockMoveRefusal::AboveStock:
            refuse(what + QStringLiteral("套数不能大于该光盘的当前库存(%1套),请重新输入.").arg(refusal.available),
                   countInput);
        case inventory::StockMoveRefusal::None:
            break;
    }
    if (series) flag = true;
    inventory::StockMove move{id, sale ? inventory::StockMoveKind::Sale : inventory::StockMoveKind::WriteOff, count,
                              db::Money()};
    if (sale && !db::Money::tryParse(CdSalePrice->text().isEmpty() ? QStringLiteral("0") : CdSalePrice->text(),
                                     &move.salePrice))
        refuse(QStringLiteral("请输入正确的销售价格."), CdSalePrice);

    BtnBuy->setEnabled(true);
    BtnDepose->setEnabled(true);
    rereadAfter([&] {
        // Checked above; a refusal now would mean the stock moved meanwhile.
        if (catalogue_.recordStockMove(move)) throw db::Error(QStringLiteral("库存已变化,请重新操作."));
    });
    if (!series) {
        // A single title's stock is its own row of the list, written as a record is: saving is over.
        BtnSave->setEnabled(false);
        BtnCancel->setEnabled(false);
    }

    BtnBuy->setEnabled(true);
    BtnSale->setEnabled(true);
    BtnDepose->setEnabled(true);
}
