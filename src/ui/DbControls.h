#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <functional>

#include "db/Query.h"

namespace ui {

// Ties an input to one field of a query's current row: it shows the field, typing puts the query into edit
// state, and the typed text is written into the field when the row is posted.
class FieldBinding : public QObject {
    Q_OBJECT
public:
    FieldBinding(QWidget* widget, std::function<QString()> read, std::function<void(const QString&)> show);

    void bind(db::Query* query, const QString& fieldName);
    db::Query* query() const { return query_; }
    const QString& fieldName() const { return fieldName_; }
    bool isModified() const { return modified_; }

    // The operator typed: the query starts editing and the text will be written.
    void userEdited();
    // Shows the field's current value again, dropping an unwritten text.
    void reload();

private:
    void onDataChanged();
    void onFieldChanged(int column);
    void writeText();

    QWidget* widget_;
    std::function<QString()> read_;
    std::function<void(const QString&)> show_;
    QPointer<db::Query> query_;
    QString fieldName_;
    bool modified_ = false;
    bool showing_ = false;
    friend class DbSpinEdit;
};

// Text box.
class DbEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DbEdit(const QString& name, QWidget* parent = nullptr);
    void bind(db::Query* query, const QString& fieldName) { binding_->bind(query, fieldName); }
    // Sets the text as if typed: it is written into the field with the row.
    void setFieldText(const QString& text);
    FieldBinding* binding() const { return binding_; }

private:
    FieldBinding* binding_;
};

// Money box: a text box that takes a plain decimal; its text is never left empty.
class DbMoneyEdit : public DbEdit {
    Q_OBJECT
public:
    explicit DbMoneyEdit(const QString& name, QWidget* parent = nullptr);
};

// Date box: yyyy-MM-dd.
class DbDateEdit : public DbEdit {
    Q_OBJECT
public:
    explicit DbDateEdit(const QString& name, QWidget* parent = nullptr);
};

// Pick list: the operator picks one of the choices; code may still set any text.
class DbPickList : public QComboBox {
    Q_OBJECT
public:
    explicit DbPickList(const QString& name, QWidget* parent = nullptr, bool allowTyping = false);
    void bind(db::Query* query, const QString& fieldName) { binding_->bind(query, fieldName); }
    void setChoices(const QStringList& choices);
    QString text() const { return currentText(); }
    void setFieldText(const QString& text);
    FieldBinding* binding() const { return binding_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showText(const QString& text);
    FieldBinding* binding_;
};

// Spin box for counts.
class DbSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit DbSpinEdit(const QString& name, QWidget* parent = nullptr);
    void bind(db::Query* query, const QString& fieldName) { binding_->bind(query, fieldName); }
    void setFieldText(const QString& text);
    QString textValue() const { return cleanText(); }
    FieldBinding* binding() const { return binding_; }

private:
    FieldBinding* binding_;
};

// Read-only text of a field.
class DbLabel : public QLabel {
    Q_OBJECT
public:
    explicit DbLabel(const QString& name, QWidget* parent = nullptr);
    void bind(db::Query* query, const QString& fieldName) { binding_->bind(query, fieldName); }
    FieldBinding* binding() const { return binding_; }

private:
    FieldBinding* binding_;
};

}  // namespace ui
