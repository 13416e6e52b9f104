#pragma once

#include <QDialog>

#include "db/Query.h"
#include "ui/DataGrid.h"

class QLabel;
class QPushButton;

// The volume list of a series: in choose mode the operator takes one volume for lending; in details mode the list only
// shows the volumes of a title. The list writes nothing: the volume's stock is taken when the sheet saves the item,
// and until then the list shows the volume the sheet holds for its entry as taken.
class TServalRecordRentFm : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Choose, Details };

    // Lists the volumes whose number contains `number`, or, when no number is given, whose title contains `name`.
    // `held` is the volume the sheet already holds for the item being entered (empty: none).
    TServalRecordRentFm(Mode mode, const QString& number, const QString& name, QWidget* parent = nullptr,
                        const QString& held = {});

    Mode mode() const { return mode_; }
    // The volume taken in choose mode; empty until one is taken.
    const QString& chosenCountId() const { return chosenCountId_; }
    const QString& chosenName() const { return chosenName_; }

    QLabel* LabHead;
    ui::DataGrid* dxDBGrid1;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* Q;

private:
    void onOk();

    Mode mode_;
    QString chosenCountId_;
    QString chosenName_;
};

// Shows the volume list modally. Choose mode returns 1 when a volume was taken (its number and title are given back
// through the pointers) and 0 otherwise; details mode returns 0.
int SelectSeriesVolume(const QString& number, const QString& name, TServalRecordRentFm::Mode mode,
                       QWidget* parent = nullptr, QString* countId = nullptr, QString* volumeName = nullptr,
                       const QString& held = {});
