#pragma once

#include <QDialog>

#include "db/Query.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;

// The rights window: an operator's level, and the way to the password dialog. In full mode (a super user viewing)
// any name can be given any level; in own-account mode the viewer sees only their own name and level.
class TAuthorityFm : public QDialog {
    Q_OBJECT
public:
    // From the main menu, without a name: the mode follows the viewer's level.
    explicit TAuthorityFm(QWidget* parent = nullptr);
    // From the operator dialog, with the operator's name, in the mode of the last opening from the main menu.
    TAuthorityFm(const QString& name, QWidget* parent);

    QComboBox* PersonCombox;
    QCheckBox* EpCheckBox1;
    QCheckBox* EpCheckBox2;
    QCheckBox* EpCheckBox3;
    QPushButton* BtnPass;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;
    db::Query* Qperson;
    db::Query* Qauth;
    db::Query* QAuthSelect;

    bool isFullMode() const { return fullMode_; }
    // The level chosen: 0, 1 or 2.
    int chosenLevel() const;

    // A new run starts in full mode (for testing).
    static void forgetRememberedMode();

private:
    void build();
    void openFromMenu();
    void openWithName(const QString& name);
    void enterOwnAccountMode(int level);
    void onNameChanged(const QString& name);
    void chooseLevel(int level);
    void onOk();
    void onPass();

    QButtonGroup* levels_;
    bool fullMode_ = true;
};
