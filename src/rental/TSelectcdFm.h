#pragma once

#include <QDialog>

#include "db/Query.h"
#include "rental/DiscLookup.h"
#include "ui/DataGrid.h"

class QLabel;
class QPushButton;

// The list of titles that matched a lookup: the operator picks the one to lend. A series title leads on to its
// volumes, one of which is taken at once.
class TSelectcdFm : public QDialog {
    Q_OBJECT
public:
    // Titles whose number contains `number`, or, without a number, whose name contains `name` (neither: all).
    // `held` is the series volume the sheet already holds for the item being entered.
    TSelectcdFm(const QString& number, const QString& name, QWidget* parent = nullptr, const QString& held = {});

    // -1 cancelled, 0 a series volume was taken, otherwise the ID of the chosen title.
    int result() const { return result_; }
    // The series title the volume was taken from, and the volume itself.
    const rental::Title& seriesTitle() const { return series_; }
    const QString& volumeNumber() const { return volumeNumber_; }
    const QString& volumeName() const { return volumeName_; }

    QLabel* LabHead;
    ui::DataGrid* dxDBGrid1;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* Q;

    void reject() override;

private:
    void onOk();

    QString held_;
    int result_ = -1;
    rental::Title series_;
    QString volumeNumber_;
    QString volumeName_;
};

struct DiscChoice {
    int result = -1;
    rental::Title series;  // when result is 0
    QString volumeNumber;
    QString volumeName;
};

// Shows the selection list modally and returns what was chosen.
DiscChoice SelectDisc(const QString& number, const QString& name, QWidget* parent = nullptr, const QString& held = {});
