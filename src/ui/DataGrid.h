#pragma once

#include <QAbstractItemModel>
#include <QFrame>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVector>
#include <functional>
#include <vector>

#include "db/Query.h"

class QLabel;
class QPushButton;

namespace ui {

enum class ColumnKind { Text, Number, Currency, Date, Check, PickList };

struct GridColumn {
    GridColumn() = default;
    GridColumn(QString caption_, QString fieldName_, ColumnKind kind_ = ColumnKind::Text, QStringList pickItems_ = {},
               bool readOnly_ = false, int width_ = 0)
        : caption(std::move(caption_)),
          fieldName(std::move(fieldName_)),
          kind(kind_),
          pickItems(std::move(pickItems_)),
          readOnly(readOnly_),
          width(width_) {}
    QString caption;
    QString fieldName;
    ColumnKind kind = ColumnKind::Text;
    QStringList pickItems;  // for PickList
    bool readOnly = false;
    int width = 0;  // the least width; the column grows to fit its caption and contents
    // A check column whose ticks the view keeps itself rather than in the query's field: read and set by query row.
    // Ticking such a column writes nothing to the query.
    std::function<bool(int sourceRow)> isChecked;
    std::function<void(int sourceRow, bool checked)> setChecked;
};

struct GridOptions {
    bool editable = false;      // cells can be changed in place
    bool insertDelete = false;  // Insert adds a row, Ctrl+Delete deletes one after "Delete record?"
    bool sorting = false;       // a click on a caption sorts the rows shown
    bool groupPanel = false;    // captions can be dragged onto the group panel
    bool striped = true;        // the shared row colours
};

// The shared row colours: even rows, odd rows (by index among the rows of their level).
inline const QColor kEvenRowColor(224, 231, 208);
inline const QColor kOddRowColor(239, 239, 223);

// Shows the rows of a query, in display order, optionally grouped by one column. It holds no rows of its own.
class GridModel : public QAbstractItemModel {
    Q_OBJECT
public:
    GridModel(db::Query* query, QObject* parent = nullptr);

    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& gridColumns() const { return columns_; }
    db::Query* query() const { return query_; }
    void setEditable(bool editable) { editable_ = editable; }

    // Display order only; the query's rows stay as they are.
    void sortByColumn(int column, Qt::SortOrder order);
    int sortColumn() const { return sortColumn_; }
    Qt::SortOrder sortOrder() const { return sortOrder_; }
    void groupByColumn(int column);
    void ungroup() { groupByColumn(-1); }
    int groupColumn() const { return groupColumn_; }
    // Moves a saved row whose grouped value changed into the group of its new value.
    void regroupRow(int row);

    // The query row shown at an index; -1 for a group heading.
    int sourceRow(const QModelIndex& index) const;
    QModelIndex indexOfSourceRow(int row, int column = 0) const;
    bool isGroupRow(const QModelIndex& index) const;
    // A cell was changed by in-place editing since the row was last saved or cancelled.
    bool hasGridEdit() const { return gridEdit_; }
    void clearGridEdit() { gridEdit_ = false; }
    // Between the query's notice of a row change and its completion.
    bool changingRows() const { return changingRows_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Money and counts sit at the right edge of their column, as do the captions over them.
    bool isRightAligned(int column) const;
    // The view's own ticks changed: the check columns are shown again.
    void checksChanged();

private:
    struct Group {
        QString key;
        std::vector<int> rows;
    };
    void onAboutToChange(db::RowChange change, int row);
    void onChanged(db::RowChange change, int row);
    void rebuild();
    std::vector<QVariant> columnValues(int queryColumn) const;
    void sortRows(std::vector<int>& rows) const;
    void resolveColumns();
    QString cellText(int sourceRow, int gridColumn) const;

    db::Query* query_;
    QVector<GridColumn> columns_;
    QVector<int> queryColumn_;  // grid column to query column, -1 when the result has no such field
    std::vector<int> order_;    // ungrouped: display position to source row
    std::vector<Group> groups_;
    std::vector<std::pair<int, int>> position_;  // source row to (group or -1, position)
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    int groupColumn_ = -1;
    bool editable_ = false;
    bool gridEdit_ = false;
    bool changingRows_ = false;
};

// A rule a view paints with after the shared striping: the row's query row and the cell's style.
using RowRule = std::function<void(db::Query& query, int sourceRow, QStyleOptionViewItem& option)>;

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(GridModel* model, QObject* parent);
    void setStriped(bool striped) { striped_ = striped; }
    void addRule(RowRule rule) { rules_.push_back(std::move(rule)); }
    // The style a cell is painted with (background, font, text colour).
    QStyleOptionViewItem cellStyle(const QModelIndex& index, bool selected) const;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    void applyRules(QStyleOptionViewItem* option, const QModelIndex& index) const;
    GridModel* model_;
    bool striped_ = true;
    std::vector<RowRule> rules_;
};

// Caption row that starts a drag of a column onto the group panel and takes a group back to ungroup.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit GridHeader(QWidget* parent);
    void setDraggableToGroup(bool on) { draggable_ = on; }
    // The width the caption of a section needs, with its margins and the sort mark.
    int captionWidth(int section) const { return sectionSizeFromContents(section).width(); }
    // The operator is pressing the mouse on the captions: a width that changes now is one he chose.
    bool isPressed() const { return pressed_; }
Q_SIGNALS:
    void ungroupDropped();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool onSectionEdge(const QPoint& pos) const;
    bool draggable_ = false;
    bool pressed_ = false;
    QPoint pressPos_;
    int pressSection_ = -1;
};

class GroupPanel : public QFrame {
    Q_OBJECT
public:
    explicit GroupPanel(QWidget* parent);
    void showGroup(const QString& caption);  // empty: no group
    QPushButton* groupButton() const { return button_; }
Q_SIGNALS:
    void columnDropped(int column);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* hint_;
    QPushButton* button_;
    QPoint pressPos_;
};

// The data grid: a tree view over a GridModel, with the group panel above it when the layout has one.
class DataGrid : public QFrame {
    Q_OBJECT
public:
    DataGrid(db::Query* query, const QString& name, QWidget* parent = nullptr);

    void setColumns(const QVector<GridColumn>& columns);
    void setOptions(const GridOptions& options);
    const GridOptions& options() const { return options_; }
    void addRowRule(RowRule rule) { delegate_->addRule(std::move(rule)); }

    QTreeView* view() const { return view_; }
    GridModel* model() const { return model_; }
    GridDelegate* delegate() const { return delegate_; }
    GroupPanel* groupPanel() const { return panel_; }
    db::Query* query() const { return model_->query(); }

    // By field name; -1 when the layout has no such column.
    int columnOf(const QString& fieldName) const;
    void sortBy(const QString& fieldName, Qt::SortOrder order = Qt::AscendingOrder);
    void groupBy(const QString& fieldName);
    void ungroup();
    // Makes the display row at a position current, as a click on it does (the query follows).
    void clickRow(const QModelIndex& index);
    // The background and font a display row's cells are painted with.
    QStyleOptionViewItem cellStyle(const QModelIndex& index) const;

    // What the operator sees: the rows in the shown order (the rows of each group in turn, without the group
    // headings), the visible columns from left to right, and a cell's text as shown (a tick as "是" or "否").
    QVector<QModelIndex> shownRows(int limit = -1) const;
    QVector<int> shownColumns() const;
    QString shownText(const QModelIndex& row, int column) const;
    // Sizes the columns to their captions and contents; the widest text column takes the spare width. A column the
    // operator has resized keeps its width.
    void fitColumns();

Q_SIGNALS:
    void rowClicked();
    void rowDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followQuery(int row);
    void onCurrentChanged(const QModelIndex& current);
    void onHeaderClicked(int section);
    void layOutGroupRows();
    void spreadSpareWidth();
    void resizeColumn(int column, int width);

    GridModel* model_;
    GridDelegate* delegate_;
    QTreeView* view_;
    GridHeader* header_;
    GroupPanel* panel_;
    GridOptions options_;
    bool syncing_ = false;
    bool sizing_ = false;
    QVector<int> fittedWidth_;  // the width each column needs
    QVector<bool> userSized_;   // resized by the operator
    int spareColumn_ = -1;      // the text column that takes the spare width
};

}  // namespace ui
