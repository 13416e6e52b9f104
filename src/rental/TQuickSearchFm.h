#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for a disc of the open sheets to find: part of its number or name, and the lending dates between.
class TQuickSearchFm : public QDialog {
    Q_OBJECT
public:
    explicit TQuickSearchFm(QWidget* parent = nullptr);

    QLineEdit* idvalue;
    QLineEdit* namevalue;
    QLineEdit* Datevalue;
    QLineEdit* DatevalueEnd;
    QPushButton* BtnEnter;
    QPushButton* BtnCancel;

private:
    void onEnter();
};

struct QuickSearch {
    int result = 0;  // 1 confirmed, 0 cancelled
    QString number, name, firstDate, lastDate;
};

// Shows the quick search modally and hands back its four boxes.
QuickSearch AskQuickSearch(QWidget* parent = nullptr);

namespace rental {
// The desk's list of open sheets holding a matching item; one line per row of the text.
QStringList quickSearchSql(const QString& number, const QString& name, const QString& firstDate,
                           const QString& lastDate);
}  // namespace rental
