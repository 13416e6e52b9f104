#include "rental/TCdRentBackFm.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "db/JetDialect.h"
#include "rental/Rentals.h"
#include "rental/TCdRentListFm.h"
#include "rental/TQuickSearchFm.h"
#include "ui/EnterKey.h"

namespace {
const QColor kSettledSelection(255, 226, 160);
const QString kOpenSheets = QStringLiteral("select * from TRentOperation where BackStatus=\"否\"");

const QString kOpenSheetsLabel = QStringLiteral("[全部未归还记录]");

// Settled rows are struck through in red italics, over the striping; selected, they keep the red on a pale ground
// it can be read on.
ui::RowRule settledRule(const QString& field) {
    return [field](db::Query& query, int row, QStyleOptionViewItem& option) {
        const int column = query.columnIndex(field);
        if (column < 0 || query.displayText(row, column) != rental::yes()) return;
        option.palette.setColor(QPalette::Text, Qt::red);
        option.palette.setColor(QPalette::HighlightedText, Qt::red);
        option.palette.setColor(QPalette::Highlight, kSettledSelection);
        option.font.setItalic(true);
        option.font.setStrikeOut(true);
    };
}
}  // namespace

TCdRentBackFm::TCdRentBackFm(QWidget* parent) : TGridFatherFm(parent) {
    setObjectName(QStringLiteral("TCdRentBackFm"));
    setWindowTitle(QStringLiteral("光盘出租"));
    SubQ = new db::Query(this, QStringLiteral("SubQ"));

    GridMain->setColumns({
        ui::GridColumn(QStringLiteral("经手人"), QStringLiteral("OccurPerson")),
        ui::GridColumn(QStringLiteral("租借人"), QStringLiteral("RentPerson")),
        ui::GridColumn(QStringLiteral("押金"), QStringLiteral("Deposit"), ui::ColumnKind::Currency),
        ui::GridColumn(QStringLiteral("其它抵押物"), QStringLiteral("OtherMortagage"), ui::ColumnKind::Text, {}, false,
                       200),
        ui::GridColumn(QStringLiteral("租借数量"), QStringLiteral("RentCount")),
        ui::GridColumn(QStringLiteral("归还状态"), QStringLiteral("BackStatus")),
    });
    // Sheets change only through the sheet dialog and its rules, never by typing in the list.
    ui::GridOptions options = GridMain->options();
    options.editable = false;
    options.insertDelete = false;
    GridMain->setOptions(options);
    GridMain->addRowRule(settledRule(QStringLiteral("BackStatus")));

    buildEditPanel();
    buildViewMenu();

    connectGuarded(Q, &db::Query::currentRowChanged, this, [this] { onSelectionChange(); });
    connectGuarded(BtnAddNew, &QPushButton::clicked, this, [this] { onAddNew(); });
    connectGuarded(BtnAddOld, &QPushButton::clicked, this, [this] { onAddOld(); });
    connectGuarded(GridMain, &ui::DataGrid::rowDoubleClicked, this, [this] { onAddOld(); });
    connectGuarded(QuickBack, &QPushButton::clicked, this, [this] { onQuickBack(); });

    guarded([this] { showOpenSheets(); });
}

void TCdRentBackFm::showOpenSheets() {
    Q->reopen(kOpenSheets);
    DisplayLabel->setText(kOpenSheetsLabel);
    onSelectionChange();
    rental::Rentals rentals;
    RecordCount->setText(QString::number(rentals.openSheets()) + QStringLiteral("条"));
    NotBackCount->setText(QString::number(rentals.itemsOut()) + QStringLiteral("条"));
}

void TCdRentBackFm::buildEditPanel() {
    DisplayLabel = new QLabel(PanelGridTop);
    DisplayLabel->setObjectName(QStringLiteral("DisplayLabel"));
    DisplayLabel->setStyleSheet(QStringLiteral("color: white; background: #4a6fa5; padding: 1px 6px"));
    if (auto* strip = qobject_cast<QHBoxLayout*>(PanelGridTop->layout())) strip->insertWidget(2, DisplayLabel);

    dxDBGrid1 = new ui::DataGrid(SubQ, QStringLiteral("dxDBGrid1"), PanelEdit);
    dxDBGrid1->setColumns({
        ui::GridColumn(QStringLiteral("发生日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date),
        ui::GridColumn(QStringLiteral("光盘编号"), QStringLiteral("CdCountId_TCdResource")),
        ui::GridColumn(QStringLiteral("光盘名称"), QStringLiteral("CdName_TCdResource"), ui::ColumnKind::Text, {},
                       false, 200),
        ui::GridColumn(QStringLiteral("出租价格"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency),
        ui::GridColumn(QStringLiteral("是否归还"), QStringLiteral("backvalue")),
    });
    dxDBGrid1->setOptions(ui::GridOptions{false, false, false, false, true});
    dxDBGrid1->addRowRule(settledRule(QStringLiteral("backvalue")));
    dxDBGrid1->setMinimumHeight(150);

    auto counter = [this](const QString& name) {
        auto* l = new QLabel(PanelEdit);
        l->setObjectName(name);
        l->setStyleSheet(QStringLiteral("color: red"));
        return l;
    };
    RecordCount = counter(QStringLiteral("RecordCount"));
    NotBackCount = counter(QStringLiteral("NotBackCount"));
    OperationId = new QLabel(PanelEdit);
    OperationId->setObjectName(QStringLiteral("OperationId"));
    BtnAddNew = new QPushButton(QStringLiteral("新增出租记录"), PanelEdit);
    BtnAddNew->setObjectName(QStringLiteral("BtnAddNew"));
    BtnAddOld = new QPushButton(QStringLiteral("继续出租/归还碟片"), PanelEdit);
    BtnAddOld->setObjectName(QStringLiteral("BtnAddOld"));
    QuickBack = new QPushButton(QStringLiteral("快速查找归还碟片"), PanelEdit);
    QuickBack->setObjectName(QStringLiteral("QuickBack"));

    auto boldRed = [this](const QString& text) {
        auto* l = new QLabel(text, PanelEdit);
        l->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
        return l;
    };
    auto* left = new QGridLayout;
    left->addWidget(boldRed(QStringLiteral("当前未归还租借业务总数:")), 0, 0);
    left->addWidget(RecordCount, 0, 1);
    left->addWidget(boldRed(QStringLiteral("当前未归还的碟片总数:")), 1, 0);
    left->addWidget(NotBackCount, 1, 1);
    left->addWidget(new QLabel(QStringLiteral("业务编号:"), PanelEdit), 2, 0);
    left->addWidget(OperationId, 2, 1);
    left->addWidget(BtnAddNew, 3, 0, 1, 2);
    left->addWidget(BtnAddOld, 4, 0, 1, 2);
    left->addWidget(QuickBack, 5, 0, 1, 2);
    left->addWidget(new QLabel(QStringLiteral("详细出租情况如右列表所示:"), PanelEdit), 6, 0, 1, 2);
    left->setRowStretch(7, 1);
    auto* panel = new QHBoxLayout(PanelEdit);
    panel->addLayout(left);
    panel->addWidget(dxDBGrid1, 1);
}

void TCdRentBackFm::buildViewMenu() {
    auto add = [this](const QString& text, const QString& label, const QString& sql) {
        QAction* action = MenuView->addAction(text);
        connectGuarded(action, &QAction::triggered, this, [this, label, sql] { applyFilter(label, sql); });
        return action;
    };
    MenuAll = add(QStringLiteral("显示所有出租业务记录"), QStringLiteral("[所有出租记录]"),
                  QStringLiteral("SELECT * FROM TRentOperation"));
    MenuBack = add(QStringLiteral("显示全部归还的出租业务记录"), QStringLiteral("[全部归还记录]"),
                   QStringLiteral("SELECT * FROM TRentOperation where BackStatus=\"是\""));
    MenuNotBack = add(QStringLiteral("显示未全部归还的出租业务记录"), QStringLiteral("[全部未归还记录]"),
                      QStringLiteral("SELECT * FROM TRentOperation where BackStatus=\"否\""));
    MenuView->addSeparator();
    MenuWalkIn = add(QStringLiteral("显示零客户出租记录"), QStringLiteral("[零客户出租记录]"),
                     QStringLiteral("SELECT * FROM TRentOperation where RentPerson=\"零客户\""));
    MenuMember = add(QStringLiteral("显示会员出租记录"), QStringLiteral("[会员出租记录]"),
                     QStringLiteral("SELECT * FROM TRentOperation where RentPerson=\"会员\""));
}

void TCdRentBackFm::applyFilter(const QString& label, const QString& sql) {
    Q->reopen(sql);
    DisplayLabel->setText(label);
}

void TCdRentBackFm::onSelectionChange() {
    const bool any = Q->isActive() && !Q->isEmpty();
    BtnAddOld->setEnabled(any);
    QuickBack->setEnabled(any);
    const qint64 id = any && Q->currentRow() >= 0 ? Q->field(QStringLiteral("ID")).asInteger() : 0;
    SubQ->reopen(QStringLiteral("select ID,Id_RentOperation,OccurDate,CdCountId_TCdResource,CdName_TCdResource,"
                                "RentPrice,Back,iif(Back=false,\"否\",\"是\") as backvalue from TRentList where "
                                "Id_RentOperation=") +
                 jet::number(id));
    OperationId->setText(QString::number(id));
}

void TCdRentBackFm::refreshLists() {
    if (Q->isEditing()) Q->cancel();
    Q->refresh();
    onSelectionChange();
}

void TCdRentBackFm::showRecordCount() {
    RecordCount->setText(QString::number(Q->recordCount()));
}

void TCdRentBackFm::showNotBackCount(int items) {
    NotBackCount->setText(QString::number(items));
}

void TCdRentBackFm::followSheet(TCdRentListFm* sheet) {
    connectGuarded(sheet, &TCdRentListFm::deskListsChanged, this, [this] { refreshLists(); });
    connectGuarded(sheet, &TCdRentListFm::deskRecordCountChanged, this, [this] { showRecordCount(); });
    connectGuarded(sheet, &TCdRentListFm::deskNotBackCountChanged, this, [this](int n) { showNotBackCount(n); });
    connect(sheet, &TCdRentListFm::memberRemainChanged, this, &TCdRentBackFm::memberRemainChanged);
}

void TCdRentBackFm::openSheet(qint64 id) {
    try {
        OpenRentSheet(id, this, [this](TCdRentListFm* sheet) { followSheet(sheet); });
    } catch (...) {
        // The sheet's own handlers report their errors; whatever happened, the lists show the rows as they are.
        refreshLists();
        throw;
    }
}

void TCdRentBackFm::onAddNew() {
    openSheet(0);
}

void TCdRentBackFm::onAddOld() {
    if (Q->isEmpty()) return;
    if (Q->field(QStringLiteral("BackStatus")).asString() != rental::no())
        refuse(QStringLiteral("对不起，你不能对已归还完的出租业务进行继续出租或归还操作！."));
    openSheet(Q->field(QStringLiteral("ID")).asInteger());
    Q->refresh();
    onSelectionChange();
    showRecordCount();
}

void TCdRentBackFm::onQuickBack() {
    const QuickSearch search = AskQuickSearch(this);
    if (search.result == 0) return;
    Q->reopen(rental::quickSearchSql(search.number, search.name, search.firstDate, search.lastDate));
    onSelectionChange();
    if (Q->isEmpty()) {
        MyMessageBox(mkNotice, QStringLiteral("对不起，没有查找到该笔业务,请你简化查询条件!"));
        // The list is back to the open sheets, and the label says so.
        Q->reopen(kOpenSheets);
        DisplayLabel->setText(kOpenSheetsLabel);
        onSelectionChange();
    }
}

void TCdRentBackFm::keyPressEvent(QKeyEvent* event) {
    if (handleEnterKey(this, event, {BtnAddNew, BtnAddOld})) return;
    TGridFatherFm::keyPressEvent(event);
}
