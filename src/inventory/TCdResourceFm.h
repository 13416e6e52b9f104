#pragma once

#include <functional>

#include "inventory/Catalogue.h"
#include "ui/DbControls.h"
#include "ui/TGridFatherFm.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The disc catalogue: titles with their stock, purchases (new titles and repeated purchases of a title), sales,
// write-offs and the volumes of series.
class TCdResourceFm : public TGridFatherFm {
    Q_OBJECT
public:
    explicit TCdResourceFm(QWidget* parent = nullptr);
    // Refills the choices of the type pick list from TCdType (after a disc type is saved).
    void reloadTypeChoices();
    // Shows the titles the conditional query chose.
    void showQueryResult(const QStringList& lines);

    // Record inputs, bound to the current title.
    ui::DbEdit* CdCountId;
    ui::DbEdit* CdName;
    ui::DbDateEdit* CdBuyDate;
    ui::DbMoneyEdit* CdPrice;
    ui::DbPickList* CdType1;
    ui::DbSpinEdit* CdPerCount;
    ui::DbSpinEdit* CdCount;
    ui::DbPickList* CdRegion;
    ui::DbPickList* CdType2;
    ui::DbPickList* CdSitcom;
    ui::DbPickList* CdType3;
    ui::DbEdit* CdPlayer;
    ui::DbEdit* CdDirector;
    ui::DbEdit* CdIntroduce;
    ui::DbEdit* CdPosition;
    // Charge standards: each entry carries the standard's Id as its item data.
    QComboBox* CdRentStandard;
    ui::DbLabel* CdRentPrice;
    QLabel* LabelRentPrice;

    // Sale and write-off inputs, not bound: their values make the CdSalesDiscard row.
    QGroupBox* GroupSale;
    QLineEdit* CdSaleDate;
    QLineEdit* CdSalePrice;
    QSpinBox* CdSaleCount;
    QGroupBox* GroupDiscard;
    QLineEdit* CdDiscardDate;
    QSpinBox* CdDiscardCount;

    QPushButton* BtnBuy;
    QPushButton* BtnSale;
    QPushButton* BtnDepose;
    QPushButton* BtnSave;
    QPushButton* BtnDelete;
    QPushButton* BtnCancel;
    QLabel* DisplayLabel;

    // The view menu's entries, in menu order.
    QAction* MenuByTime;
    QAction* MenuAll;
    QAction* MenuSold;
    QAction* MenuDiscarded;
    QAction* MenuSingles;
    QAction* MenuSeries;
    QAction* MenuQuery;

    // Set when a sale (write-off) of a series passed its volume check, cleared when one failed it.
    bool seriesSaleFlag() const { return seriesSaleFlag_; }
    bool seriesDiscardFlag() const { return seriesDiscardFlag_; }

Q_SIGNALS:
    // The operator asked for the conditional query dialog.
    void conditionalQueryRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Movement { Sale, Discard };

    void buildEditPanel();
    void buildViewMenu();
    void connectHandlers();
    void applyFilter(const QString& label, const QString& sql, bool refreshAfter);

    void onStateChange();
    void showRowStandard();
    void onBuy();
    void onRentStandardChosen(int index);
    void onSave();
    void onDelete();
    void onCancel();
    void onGridDoubleClick();
    void startMovement(Movement movement);
    void saveMovement(Movement movement);

    void saveRecord();
    void checkBeforePost();
    void writeWithRecord();
    void offerMerge(const inventory::TitleEntry& entry);
    void volumesForNewSeries();
    void settlePendingChange();
    // Runs an action of the catalogue's rules, then reads the list again, also when the action failed, so that the
    // grid shows the rows as the database holds them.
    void rereadAfter(const std::function<void()>& action);

    void setRecordInputsEnabled(bool enabled);
    void setSaleInputsEnabled(bool enabled);
    void setDiscardInputsEnabled(bool enabled);
    bool isSeries();

    db::Query* QType;       // disc types
    db::Query* QStandards;  // the charge standard list
    db::Query* QStandard;   // one charge standard
    inventory::Catalogue catalogue_;

    bool seriesSaleFlag_ = false;
    bool seriesDiscardFlag_ = false;
    bool shownOnce_ = false;
    qint64 volumesToShow_ = 0;  // a new series written with its volumes, not yet shown to the operator
};
