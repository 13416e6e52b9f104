#include "ui/DbControls.h"

#include <QDoubleValidator>
#include <QEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "common/Guard.h"

namespace ui {

FieldBinding::FieldBinding(QWidget* widget, std::function<QString()> read, std::function<void(const QString&)> show)
    : QObject(widget), widget_(widget), read_(std::move(read)), show_(std::move(show)) {}

void FieldBinding::bind(db::Query* query, const QString& fieldName) {
    if (query_) {
        disconnect(query_, nullptr, this, nullptr);
        query_->removeRecordWriters(this);
    }
    query_ = query;
    fieldName_ = fieldName;
    if (!query) return;
    connect(query, &db::Query::dataChanged, this, &FieldBinding::onDataChanged);
    connect(query, &db::Query::fieldChanged, this, &FieldBinding::onFieldChanged);
    connect(query, &db::Query::currentRowChanged, this, &FieldBinding::reload);
    connect(query, &db::Query::stateChanged, this, [this] {
        if (query_ && !query_->isEditing()) reload();
    });
    // Must run before the before-post check, which reads the fields.
    query->addRecordWriter(this, [this] { writeText(); });
    reload();
}

void FieldBinding::userEdited() {
    if (showing_) return;
    modified_ = true;
    if (query_ && query_->isActive() && query_->state() == db::Query::Browse && !query_->isReadOnly())
        guarded([&] { query_->edit(); });
}

void FieldBinding::reload() {
    modified_ = false;
    showing_ = true;
    QString text;
    if (query_ && query_->isActive() && query_->currentRow() >= 0) {
        const int column = query_->columnIndex(fieldName_);
        if (column >= 0) text = query_->field(column).asString();
    }
    show_(text);
    showing_ = false;
}

void FieldBinding::onDataChanged() {
    if (!modified_) reload();
}

void FieldBinding::onFieldChanged(int column) {
    if (query_ && query_->columnIndex(fieldName_) == column) reload();
}

void FieldBinding::writeText() {
    if (!modified_ || !query_ || !query_->isEditing()) return;
    const int column = query_->columnIndex(fieldName_);
    if (column < 0) return;
    modified_ = false;
    // A text that is not a value of the field's kind ends the post with the conversion error.
    const QString text = read_();
    try {
        query_->field(column).setString(text);
    } catch (...) {
        modified_ = true;
        throw;
    }
}

DbEdit::DbEdit(const QString& name, QWidget* parent) : QLineEdit(parent) {
    setObjectName(name);
    binding_ = new FieldBinding(
        this, [this] { return QLineEdit::text(); }, [this](const QString& t) { QLineEdit::setText(t); });
    connect(this, &QLineEdit::textEdited, binding_, &FieldBinding::userEdited);
}

void DbEdit::setFieldText(const QString& text) {
    setText(text);
    binding_->userEdited();
}

DbMoneyEdit::DbMoneyEdit(const QString& name, QWidget* parent) : DbEdit(name, parent) {
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,12}(\\.\\d{0,4})?")), this));
    setAlignment(Qt::AlignRight);
}

DbDateEdit::DbDateEdit(const QString& name, QWidget* parent) : DbEdit(name, parent) {
    setPlaceholderText(QStringLiteral("yyyy-MM-dd"));
    setMaxLength(19);
}

DbPickList::DbPickList(const QString& name, QWidget* parent, bool allowTyping) : QComboBox(parent) {
    setObjectName(name);
    setEditable(true);
    // A pick-only list still shows any stored text, so it keeps an edit line that cannot be typed into.
    lineEdit()->setReadOnly(!allowTyping);
    setInsertPolicy(QComboBox::NoInsert);
    binding_ = new FieldBinding(
        this, [this] { return currentText(); }, [this](const QString& t) { showText(t); });
    connect(this, &QComboBox::activated, binding_, &FieldBinding::userEdited);
    if (allowTyping)
        connect(lineEdit(), &QLineEdit::textEdited, binding_, &FieldBinding::userEdited);
    else
        lineEdit()->installEventFilter(this);
}

bool DbPickList::eventFilter(QObject* watched, QEvent* event) {
    // A click anywhere on a pick-only list opens its choices, as on any drop-down list.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress && isEnabled()) {
        showPopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void DbPickList::setChoices(const QStringList& choices) {
    const QString keep = currentText();
    clear();
    addItems(choices);
    showText(keep);
}

void DbPickList::showText(const QString& text) {
    const int index = findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    setCurrentIndex(index);
    setEditText(text);
}

void DbPickList::setFieldText(const QString& text) {
    showText(text);
    binding_->userEdited();
}

DbSpinEdit::DbSpinEdit(const QString& name, QWidget* parent) : QSpinBox(parent) {
    setObjectName(name);
    setRange(-999999, 999999);
    binding_ = new FieldBinding(
        this, [this] { return cleanText(); },
        [this](const QString& t) {
            bool ok = false;
            const int v = t.toInt(&ok);
            setValue(ok ? v : 0);
        });
    connect(this, &QSpinBox::valueChanged, binding_, &FieldBinding::userEdited);
}

void DbSpinEdit::setFieldText(const QString& text) {
    binding_->showing_ = true;
    setValue(text.toInt());
    binding_->showing_ = false;
    binding_->userEdited();
}

DbLabel::DbLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    binding_ = new FieldBinding(
        this, [this] { return QLabel::text(); }, [this](const QString& t) { QLabel::setText(t); });
}

}  // namespace ui
