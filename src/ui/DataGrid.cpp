#include "ui/DataGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "db/Errors.h"

namespace ui {

namespace {
const char* const kColumnMime = "application/x-orvane-grid-column";
const char* const kGroupMime = "application/x-orvane-grid-group";
constexpr quintptr kTopLevel = 0;

bool numericKind(db::FieldKind kind) {
    return kind == db::FieldKind::Integer || kind == db::FieldKind::AutoNumber || kind == db::FieldKind::Money ||
           kind == db::FieldKind::Float || kind == db::FieldKind::Boolean;
}

// Orders two cells of one column: nulls first, numbers by value, text by code point.
int compareCells(const QVariant& a, const QVariant& b, db::FieldKind kind) {
    if (!a.isValid() || !b.isValid()) {
        if (a.isValid() == b.isValid()) return 0;
        return a.isValid() ? 1 : -1;
    }
    if (numericKind(kind)) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive);
}
}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// GridModel

GridModel::GridModel(db::Query* query, QObject* parent) : QAbstractItemModel(parent), query_(query) {
    connect(query_, &db::Query::rowsAboutToChange, this, &GridModel::onAboutToChange);
    connect(query_, &db::Query::rowsChanged, this, &GridModel::onChanged);
    rebuild();
}

void GridModel::setColumns(const QVector<GridColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    sortColumn_ = -1;
    groupColumn_ = -1;
    rebuild();
    endResetModel();
}

void GridModel::resolveColumns() {
    queryColumn_.resize(columns_.size());
    for (int c = 0; c < columns_.size(); ++c) queryColumn_[c] = query_->columnIndex(columns_[c].fieldName);
}

std::vector<QVariant> GridModel::columnValues(int queryColumn) const {
    // Each cell is converted once, not at every comparison of the sort.
    std::vector<QVariant> values(size_t(query_->recordCount()));
    for (int row = 0; row < int(values.size()); ++row) values[size_t(row)] = query_->cell(row, queryColumn);
    return values;
}

void GridModel::sortRows(std::vector<int>& rows) const {
    if (sortColumn_ < 0) return;
    const int qc = queryColumn_.value(sortColumn_, -1);
    if (qc < 0) return;
    const db::FieldKind kind = query_->columns()[qc].kind;
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    const std::vector<QVariant> keys = columnValues(qc);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = compareCells(keys[a], keys[b], kind);
        return descending ? c > 0 : c < 0;
    });
}

void GridModel::rebuild() {
    resolveColumns();
    const int n = query_->recordCount();
    order_.resize(n);
    std::iota(order_.begin(), order_.end(), 0);
    sortRows(order_);
    groups_.clear();
    position_.assign(n, {-1, 0});
    const int gc = groupColumn_ >= 0 ? queryColumn_.value(groupColumn_, -1) : -1;
    if (groupColumn_ >= 0 && gc >= 0) {
        const db::FieldKind kind = query_->columns()[gc].kind;
        std::vector<int> byKey = order_;
        const std::vector<QVariant> keys = columnValues(gc);
        std::stable_sort(byKey.begin(), byKey.end(),
                         [&](int a, int b) { return compareCells(keys[a], keys[b], kind) < 0; });
        for (int row : byKey) {
            const QString key = query_->displayText(row, gc);
            if (groups_.empty() || groups_.back().key.compare(key, Qt::CaseInsensitive) != 0)
                groups_.push_back({key, {}});
            groups_.back().rows.push_back(row);
        }
        for (int g = 0; g < int(groups_.size()); ++g)
            for (int p = 0; p < int(groups_[g].rows.size()); ++p) position_[groups_[g].rows[p]] = {g, p};
    } else {
        for (int p = 0; p < n; ++p) position_[order_[p]] = {-1, p};
    }
}

void GridModel::sortByColumn(int column, Qt::SortOrder order) {
    beginResetModel();
    sortColumn_ = column;
    sortOrder_ = order;
    rebuild();
    endResetModel();
}

void GridModel::regroupRow(int row) {
    if (groupColumn_ < 0 || row < 0 || row >= int(position_.size())) return;
    const int g = position_[row].first;
    const int gc = queryColumn_.value(groupColumn_, -1);
    if (g < 0 || gc < 0 || groups_[g].key.compare(query_->displayText(row, gc), Qt::CaseInsensitive) == 0) return;
    changingRows_ = true;  // the view's own moves during the reset are not the operator's
    beginResetModel();
    rebuild();
    endResetModel();
    changingRows_ = false;
}

void GridModel::groupByColumn(int column) {
    beginResetModel();
    groupColumn_ = column;
    rebuild();
    endResetModel();
}

bool GridModel::isGroupRow(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == kTopLevel && groupColumn_ >= 0 && !groups_.empty();
}

int GridModel::sourceRow(const QModelIndex& index) const {
    if (!index.isValid()) return -1;
    if (isGroupRow(index)) return -1;
    if (index.internalId() == kTopLevel) return index.row() < int(order_.size()) ? order_[index.row()] : -1;
    const int g = int(index.internalId() - 1);
    if (g >= int(groups_.size()) || index.row() >= int(groups_[g].rows.size())) return -1;
    return groups_[g].rows[index.row()];
}

QModelIndex GridModel::indexOfSourceRow(int row, int column) const {
    // A grid without columns (a view not laid out yet) has no cell to point at.
    if (row < 0 || row >= int(position_.size()) || column < 0 || column >= columns_.size()) return {};
    const auto [g, p] = position_[row];
    if (g < 0) return createIndex(p, column, kTopLevel);
    return createIndex(p, column, quintptr(g + 1));
}

QModelIndex GridModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= columns_.size()) return {};
    if (!parent.isValid()) {
        const int count = groupColumn_ >= 0 && !groups_.empty() ? int(groups_.size()) : int(order_.size());
        return row < count ? createIndex(row, column, kTopLevel) : QModelIndex();
    }
    if (!isGroupRow(parent) || row >= int(groups_[parent.row()].rows.size())) return {};
    return createIndex(row, column, quintptr(parent.row() + 1));
}

QModelIndex GridModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kTopLevel) return {};
    return createIndex(int(child.internalId() - 1), 0, kTopLevel);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    const bool grouped = groupColumn_ >= 0 && !groups_.empty();
    if (!parent.isValid()) return grouped ? int(groups_.size()) : int(order_.size());
    if (parent.column() != 0 || !isGroupRow(parent)) return 0;
    return int(groups_[parent.row()].rows.size());
}

int GridModel::columnCount(const QModelIndex&) const {
    return columns_.size();
}

QString GridModel::cellText(int row, int gridColumn) const {
    const int qc = queryColumn_.value(gridColumn, -1);
    if (qc < 0) return {};
    return query_->displayText(row, qc);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (isGroupRow(index)) {
        if (role == Qt::DisplayRole && index.column() == 0) {
            // The heading spans the whole row (DataGrid), so the caption, the value and the count show in full.
            const Group& group = groups_[index.row()];
            const QString value = group.key.isEmpty() ? QStringLiteral("(空)") : group.key;
            return QStringLiteral("%1 : %2 (共%3条)").arg(columns_[groupColumn_].caption, value).arg(group.rows.size());
        }
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    const int row = sourceRow(index);
    if (row < 0) return {};
    const GridColumn& column = columns_[index.column()];
    if (column.kind == ColumnKind::Check) {
        if (role == Qt::CheckStateRole && column.isChecked) return column.isChecked(row) ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::CheckStateRole) {
            const int qc = queryColumn_.value(index.column(), -1);
            return qc >= 0 && query_->cell(row, qc).toBool() ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return cellText(row, index.column());
        case Qt::TextAlignmentRole:
            return int((isRightAligned(index.column()) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        default:
            return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int row = sourceRow(index);
    const int qc = queryColumn_.value(index.column(), -1);
    if (row < 0 || qc < 0) return false;
    bool done = false;
    guarded([&] {
        query_->moveTo(row);
        if (query_->currentRow() != row) return;
        const GridColumn& column = columns_[index.column()];
        if (role == Qt::CheckStateRole && column.setChecked) {
            if (column.readOnly || !editable_) return;
            column.setChecked(row, value.toInt() == Qt::Checked);
            Q_EMIT dataChanged(index, index);
            done = true;
            return;
        }
        const db::FieldKind kind = query_->columns()[qc].kind;
        if (role == Qt::CheckStateRole) {
            const bool checked = value.toInt() == Qt::Checked;
            if (query_->cell(row, qc).toBool() == checked && query_->cell(row, qc).isValid()) return;
            query_->edit();
            query_->field(qc).setBoolean(checked);
        } else if (role == Qt::EditRole) {
            const QString text = value.toString();
            if (text == query_->displayText(row, qc)) return;
            query_->edit();
            if (kind == db::FieldKind::Boolean)
                query_->field(qc).setBoolean(text == u"是" || text.compare(u"true", Qt::CaseInsensitive) == 0);
            else
                query_->field(qc).setString(text);
        } else {
            return;
        }
        gridEdit_ = true;
        done = true;
    });
    return done;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) return {};
    if (role == Qt::DisplayRole) return columns_[section].caption;
    if (role == Qt::TextAlignmentRole)
        return int((isRightAligned(section) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

void GridModel::checksChanged() {
    const int columns = columnCount();
    const int top = rowCount();
    if (columns == 0 || top == 0) return;
    Q_EMIT dataChanged(index(0, 0), index(top - 1, columns - 1), {Qt::CheckStateRole});
    for (int g = 0; g < top; ++g) {
        const QModelIndex group = index(g, 0);
        const int children = rowCount(group);
        if (children > 0)
            Q_EMIT dataChanged(index(0, 0, group), index(children - 1, columns - 1, group), {Qt::CheckStateRole});
    }
}

bool GridModel::isRightAligned(int column) const {
    if (column < 0 || column >= columns_.size()) return false;
    const ColumnKind kind = columns_[column].kind;
    if (kind == ColumnKind::Number || kind == ColumnKind::Currency) return true;
    if (kind != ColumnKind::Text) return false;
    // A text column over a number field (a sheet number, a computed sum) lines its digits up like a number column.
    const int qc = queryColumn_.value(column, -1);
    if (qc < 0 || qc >= query_->columns().size()) return false;
    const db::FieldKind field = query_->columns()[qc].kind;
    return field == db::FieldKind::Integer || field == db::FieldKind::AutoNumber || field == db::FieldKind::Money ||
           field == db::FieldKind::Float;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isGroupRow(index)) return f;
    const GridColumn& column = columns_[index.column()];
    if (editable_ && !column.readOnly && column.kind == ColumnKind::Check && column.setChecked &&
        queryColumn_.value(index.column(), -1) >= 0)
        return f | Qt::ItemIsUserCheckable;
    if (editable_ && !column.readOnly && !query_->isReadOnly() && queryColumn_.value(index.column(), -1) >= 0) {
        if (column.kind == ColumnKind::Check)
            f |= Qt::ItemIsUserCheckable;
        else
            f |= Qt::ItemIsEditable;
    }
    return f;
}

void GridModel::onAboutToChange(db::RowChange change, int row) {
    changingRows_ = change != db::RowChange::Update;
    switch (change) {
        case db::RowChange::Reset:
            beginResetModel();
            break;
        case db::RowChange::Insert:
            if (groupColumn_ >= 0)
                beginResetModel();
            else
                beginInsertRows({}, int(order_.size()), int(order_.size()));
            break;
        case db::RowChange::Remove: {
            if (groupColumn_ >= 0) {
                beginResetModel();
            } else {
                const int p = row < int(position_.size()) ? position_[row].second : -1;
                if (p >= 0) beginRemoveRows({}, p, p);
            }
            break;
        }
        case db::RowChange::Update:
            break;
    }
}

void GridModel::onChanged(db::RowChange change, int row) {
    switch (change) {
        case db::RowChange::Reset:
            gridEdit_ = false;
            rebuild();
            endResetModel();
            break;
        case db::RowChange::Insert:
            if (groupColumn_ >= 0) {
                rebuild();
                endResetModel();
            } else {
                // A new row shows at the end, where it was appended, until the next sort.
                order_.push_back(row);
                position_.resize(query_->recordCount(), {-1, 0});
                position_[row] = {-1, int(order_.size()) - 1};
                endInsertRows();
            }
            break;
        case db::RowChange::Remove:
            if (groupColumn_ >= 0) {
                rebuild();
                endResetModel();
            } else {
                const int p = row < int(position_.size()) ? position_[row].second : -1;
                if (p < 0) break;
                order_.erase(order_.begin() + p);
                for (int& r : order_)
                    if (r > row) --r;
                position_.assign(order_.size(), {-1, 0});
                for (int i = 0; i < int(order_.size()); ++i) position_[order_[i]] = {-1, i};
                endRemoveRows();
            }
            break;
        case db::RowChange::Update: {
            if (row == query_->currentRow() && !query_->isEditing()) gridEdit_ = false;
            const QModelIndex first = indexOfSourceRow(row, 0);
            const QModelIndex last = indexOfSourceRow(row, std::max(0, int(columns_.size()) - 1));
            if (first.isValid()) Q_EMIT dataChanged(first, last);
            break;
        }
    }
    changingRows_ = false;
}

// ---------------------------------------------------------------------------------------------------------------
// GridDelegate

GridDelegate::GridDelegate(GridModel* model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    applyRules(option, index);
}

void GridDelegate::applyRules(QStyleOptionViewItem* option, const QModelIndex& index) const {
    const bool selected = option->state & QStyle::State_Selected;
    if (striped_ && !selected && !model_->isGroupRow(index))
        option->backgroundBrush = QBrush(index.row() % 2 == 1 ? kOddRowColor : kEvenRowColor);
    const int row = model_->sourceRow(index);
    if (row < 0) return;
    for (const RowRule& rule : rules_) rule(*model_->query(), row, *option);
}

QStyleOptionViewItem GridDelegate::cellStyle(const QModelIndex& index, bool selected) const {
    QStyleOptionViewItem option;
    option.state = QStyle::State_Enabled;
    if (selected) option.state |= QStyle::State_Selected;
    initStyleOption(&option, index);
    return option;
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    const GridColumn& column = model_->gridColumns()[index.column()];
    if (column.kind == ColumnKind::PickList) {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(column.pickItems);
        return box;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

// ---------------------------------------------------------------------------------------------------------------
// GridHeader and GroupPanel

GridHeader::GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

void GridHeader::mousePressEvent(QMouseEvent* event) {
    pressPos_ = event->position().toPoint();
    // A press on the edge between two captions resizes a column; only a press inside a caption may drag it.
    pressSection_ = onSectionEdge(pressPos_) ? -1 : logicalIndexAt(pressPos_);
    pressed_ = event->button() == Qt::LeftButton;
    QHeaderView::mousePressEvent(event);
}

bool GridHeader::onSectionEdge(const QPoint& pos) const {
    const int section = logicalIndexAt(pos);
    if (section < 0) return false;
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int left = sectionViewportPosition(section);
    return pos.x() - left < grip || left + sectionSize(section) - pos.x() <= grip;
}

void GridHeader::mouseReleaseEvent(QMouseEvent* event) {
    QHeaderView::mouseReleaseEvent(event);
    pressed_ = false;
}

void GridHeader::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click on a caption's edge fits that column to its contents: the operator's choice too.
    pressed_ = event->button() == Qt::LeftButton;
    QHeaderView::mouseDoubleClickEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent* event) {
    if (draggable_ && pressSection_ >= 0 && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        auto* mime = new QMimeData;
        mime->setData(kColumnMime, QByteArray::number(pressSection_));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        pressSection_ = -1;
        drag->exec(Qt::MoveAction);
        return;
    }
    QHeaderView::mouseMoveEvent(event);
}

void GridHeader::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kGroupMime)) event->acceptProposedAction();
}

void GridHeader::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(kGroupMime)) event->acceptProposedAction();
}

void GridHeader::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kGroupMime)) return;
    event->acceptProposedAction();
    Q_EMIT ungroupDropped();
}

GroupPanel::GroupPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("GroupPanel"));
    setFrameShape(QFrame::StyledPanel);
    setAcceptDrops(true);
    hint_ = new QLabel(QStringLiteral("拖动列标题至此，按该列分组"), this);
    hint_->setStyleSheet(QStringLiteral("color: gray"));
    button_ = new QPushButton(this);
    button_->setObjectName(QStringLiteral("GroupButton"));
    button_->setToolTip(QStringLiteral("拖回列标题行即取消分组"));
    button_->hide();
    button_->installEventFilter(this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(hint_);
    layout->addWidget(button_);
    layout->addStretch(1);
}

void GroupPanel::showGroup(const QString& caption) {
    hint_->setVisible(caption.isEmpty());
    button_->setVisible(!caption.isEmpty());
    button_->setText(caption);
}

void GroupPanel::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kColumnMime)) event->acceptProposedAction();
}

void GroupPanel::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kColumnMime)) return;
    event->acceptProposedAction();
    Q_EMIT columnDropped(event->mimeData()->data(kColumnMime).toInt());
}

bool GroupPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == button_) {
        if (event->type() == QEvent::MouseButtonPress) {
            pressPos_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        } else if (event->type() == QEvent::MouseMove) {
            auto* move = static_cast<QMouseEvent*>(event);
            if ((move->buttons() & Qt::LeftButton) &&
                (move->position().toPoint() - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
                auto* mime = new QMimeData;
                mime->setData(kGroupMime, QByteArray("1"));
                auto* drag = new QDrag(button_);
                drag->setMimeData(mime);
                drag->exec(Qt::MoveAction);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------------------------
// DataGrid

DataGrid::DataGrid(db::Query* query, const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    model_ = new GridModel(query, this);
    view_ = new QTreeView(this);
    view_->setObjectName(name + QStringLiteral("View"));
    header_ = new GridHeader(view_);
    view_->setHeader(header_);
    view_->setModel(model_);
    delegate_ = new GridDelegate(model_, view_);
    view_->setItemDelegate(delegate_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setAllColumnsShowFocus(true);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSortingEnabled(false);
    view_->setExpandsOnDoubleClick(true);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    header_->setSectionsMovable(false);
    // Spare width goes to the widest text column (spreadSpareWidth), not to whatever column happens to be last.
    header_->setStretchLastSection(false);

    panel_ = new GroupPanel(this);
    panel_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel_);
    layout->addWidget(view_, 1);

    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(query, &db::Query::currentRowChanged, this, &DataGrid::followQuery);
    connect(query, &db::Query::stateChanged, this, [this] {
        db::Query* q = model_->query();
        if (q->state() == db::Query::Browse) model_->regroupRow(q->currentRow());
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        layOutGroupRows();
        fitColumns();
        followQuery(model_->query()->currentRow());
    });
    connect(header_, &QHeaderView::sectionResized, this, [this](int section) {
        if (sizing_) return;
        // Only a drag or a double click on a caption's edge is the operator's own width.
        if (header_->isPressed() && section < userSized_.size()) userSized_[section] = true;
        spreadSpareWidth();
    });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { followQuery(model_->query()->currentRow()); });
    connect(header_, &QHeaderView::sectionClicked, this, &DataGrid::onHeaderClicked);
    connect(panel_, &GroupPanel::columnDropped, this, [this](int column) {
        model_->groupByColumn(column);
        panel_->showGroup(model_->gridColumns().value(column).caption);
    });
    connect(header_, &GridHeader::ungroupDropped, this, &DataGrid::ungroup);
    connect(view_, &QAbstractItemView::clicked, this, [this] { Q_EMIT rowClicked(); });
    connect(view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!model_->isGroupRow(index)) Q_EMIT rowDoubleClicked();
    });
}

void DataGrid::setColumns(const QVector<GridColumn>& columns) {
    userSized_.fill(false, columns.size());
    model_->setColumns(columns);  // the reset fits the new columns
    panel_->showGroup({});
}

QVector<QModelIndex> DataGrid::shownRows(int limit) const {
    QVector<QModelIndex> rows;
    const auto full = [&] { return limit >= 0 && rows.size() >= limit; };
    const int top = model_->rowCount();
    for (int r = 0; r < top && !full(); ++r) {
        const QModelIndex index = model_->index(r, 0);
        if (!model_->isGroupRow(index)) {
            rows << index;
            continue;
        }
        const int count = model_->rowCount(index);
        for (int c = 0; c < count && !full(); ++c) rows << model_->index(c, 0, index);
    }
    return rows;
}

QVector<int> DataGrid::shownColumns() const {
    QVector<int> columns;
    for (int v = 0; v < header_->count(); ++v) {
        const int logical = header_->logicalIndex(v);
        if (!header_->isSectionHidden(logical)) columns << logical;
    }
    return columns;
}

QString DataGrid::shownText(const QModelIndex& row, int column) const {
    const QModelIndex cell = row.siblingAtColumn(column);
    if (model_->gridColumns().value(column).kind == ColumnKind::Check)
        return cell.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStringLiteral("是") : QStringLiteral("否");
    return cell.data(Qt::DisplayRole).toString();
}

void DataGrid::fitColumns() {
    const auto& columns = model_->gridColumns();
    const int n = columns.size();
    userSized_.resize(n);
    fittedWidth_.fill(0, n);
    // The widths follow the first rows shown; a long list is not measured to its end on every reopening.
    constexpr int kMeasuredRows = 1000;
    const QVector<QModelIndex> rows = shownRows(kMeasuredRows);
    const QFontMetrics metrics = view_->fontMetrics();
    const int padding = 2 * view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 12;
    const int tick = view_->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, view_) + padding;
    spareColumn_ = -1;
    for (int c = 0; c < n; ++c) {
        int width = std::max(columns[c].width, header_->captionWidth(c));
        if (columns[c].kind == ColumnKind::Check) {
            width = std::max(width, tick);
        } else {
            for (const QModelIndex& row : rows)
                width = std::max(width, metrics.horizontalAdvance(shownText(row, c)) + padding);
        }
        if (c == 0 && model_->groupColumn() >= 0) width += view_->indentation();
        fittedWidth_[c] = width;
        const bool textColumn = columns[c].kind == ColumnKind::Text || columns[c].kind == ColumnKind::PickList;
        if (textColumn && !model_->isRightAligned(c) && !userSized_[c] && !header_->isSectionHidden(c) &&
            (spareColumn_ < 0 || width > fittedWidth_[spareColumn_]))
            spareColumn_ = c;
    }
    for (int c = 0; c < n; ++c)
        if (!userSized_[c]) resizeColumn(c, fittedWidth_[c]);
    spreadSpareWidth();
}

void DataGrid::spreadSpareWidth() {
    if (spareColumn_ < 0 || spareColumn_ >= fittedWidth_.size() || userSized_.value(spareColumn_)) return;
    int others = 0;
    for (int c = 0; c < header_->count(); ++c)
        if (c != spareColumn_ && !header_->isSectionHidden(c)) others += header_->sectionSize(c);
    resizeColumn(spareColumn_, std::max(fittedWidth_[spareColumn_], view_->viewport()->width() - others));
}

void DataGrid::resizeColumn(int column, int width) {
    const bool wasSizing = sizing_;
    sizing_ = true;
    view_->setColumnWidth(column, width);
    sizing_ = wasSizing;
}

void DataGrid::layOutGroupRows() {
    if (model_->groupColumn() < 0) return;
    for (int r = 0; r < model_->rowCount(); ++r)
        view_->setFirstColumnSpanned(r, {}, model_->isGroupRow(model_->index(r, 0)));
    // Rebuilt rows come back open, as the grouping first showed them.
    view_->expandAll();
}

void DataGrid::setOptions(const GridOptions& options) {
    options_ = options;
    model_->setEditable(options.editable);
    delegate_->setStriped(options.striped);
    panel_->setVisible(options.groupPanel);
    header_->setDraggableToGroup(options.groupPanel);
    header_->setSortIndicatorShown(options.sorting);
    header_->setSectionsClickable(true);  // the tree view turns clicks off with its own sorting
    view_->setEditTriggers(options.editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                  QAbstractItemView::AnyKeyPressed
                                            : QAbstractItemView::NoEditTriggers);
}

int DataGrid::columnOf(const QString& fieldName) const {
    const auto& columns = model_->gridColumns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns[c].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return c;
    return -1;
}

void DataGrid::sortBy(const QString& fieldName, Qt::SortOrder order) {
    const int column = columnOf(fieldName);
    if (column < 0) return;
    model_->sortByColumn(column, order);
    header_->setSortIndicator(column, order);
}

void DataGrid::groupBy(const QString& fieldName) {
    const int column = columnOf(fieldName);
    if (column < 0) return;
    model_->groupByColumn(column);
    panel_->showGroup(model_->gridColumns()[column].caption);
}

void DataGrid::ungroup() {
    model_->ungroup();
    panel_->showGroup({});
}

void DataGrid::onHeaderClicked(int section) {
    if (!options_.sorting) return;
    const Qt::SortOrder order = model_->sortColumn() == section && model_->sortOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    model_->sortByColumn(section, order);
    header_->setSortIndicator(section, order);
}

void DataGrid::clickRow(const QModelIndex& index) {
    view_->setCurrentIndex(index);
    Q_EMIT rowClicked();
}

QStyleOptionViewItem DataGrid::cellStyle(const QModelIndex& index) const {
    const bool selected = view_->selectionModel()->isRowSelected(index.row(), index.parent());
    return delegate_->cellStyle(index, selected);
}

void DataGrid::followQuery(int row) {
    if (syncing_) return;
    syncing_ = true;
    const QModelIndex index = model_->indexOfSourceRow(row, std::max(0, view_->currentIndex().column()));
    if (index.isValid()) {
        if (index.parent().isValid()) view_->expand(index.parent());
        view_->selectionModel()->setCurrentIndex(index,
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view_->scrollTo(index);
    } else {
        view_->selectionModel()->clearSelection();
    }
    syncing_ = false;
}

void DataGrid::onCurrentChanged(const QModelIndex& current) {
    // The view moves its current row by itself while rows are removed or reset; only the query decides then.
    if (syncing_ || model_->changingRows()) return;
    const int row = model_->sourceRow(current);
    if (row < 0) return;
    db::Query* query = model_->query();
    guarded([&] { query->moveTo(row); });
    // A move refused by the before-post check leaves the focus on the row being changed.
    if (query->currentRow() != row) followQuery(query->currentRow());
}

bool DataGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        db::Query* query = model_->query();
        if (options_.insertDelete && key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            guarded([&] { query->append(); });
            return true;
        }
        if (options_.insertDelete && key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier)) {
            guarded([&] {
                if (!query->isActive() || (query->isEmpty() && !query->isEditing())) return;
                if (MyMessageBox(mkConfirm, QStringLiteral("Delete record?"))) query->remove();
            });
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && query->isEditing() &&
            model_->hasGridEdit()) {
            guarded([&] { query->post(); });
            return true;
        }
    }
    if (watched == view_->viewport() && event->type() == QEvent::Resize) spreadSpareWidth();
    if (watched == view_ && event->type() == QEvent::FocusOut) {
        // Leaving the grid drops a change made in its cells that was not saved.
        QWidget* next = QApplication::focusWidget();
        const bool inside = next && (next == view_ || view_->isAncestorOf(next));
        db::Query* query = model_->query();
        if (!inside && model_->hasGridEdit() && query->isEditing()) {
            model_->clearGridEdit();
            guarded([&] { query->cancel(); });
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace ui
