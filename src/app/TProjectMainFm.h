#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QPushButton;
class QFrame;
class DockArea;

enum class Module { CdResource, CdRent, CdMember, CdSetting, CdAwoke, CdReport };

class TProjectMainFm : public QMainWindow {
    Q_OBJECT
public:
    explicit TProjectMainFm(QWidget* parent = nullptr);

    QFrame* PanelLeft;
    QPushButton* CdResourceButton;
    QPushButton* CdRentBackButton;
    QPushButton* CdMemberButton;
    QPushButton* CdProjectButton;
    QPushButton* CdAwokeButton;
    QPushButton* CdReportButton;
    QLabel* LabTitle;
    QLabel* LabExplain;
    DockArea* PanelMain;

    QAction* ActionCdResource;
    QAction* ActionCdRent;
    QAction* ActionCdMember;
    QAction* ActionCdSetting;
    QAction* MenuBak;
    QAction* MenuRestore;
    QAction* MenuExit;
    QAction* MenuCdResourc;
    QAction* MenuCdRent;
    QAction* MenuMember;
    QAction* MenuSetting;
    QAction* MenuCall;
    QAction* MenuReport;
    QAction* MenuInitial;
    QAction* MenuAuthor;
    QAction* MenuHelpdoc;
    QAction* MenuAbout;
    QAction* MenuAcess;

    // One click of a module button: the module's view, or the refusal view when the rights level does not allow it.
    void selectModule(Module module);
    // Docks a view into the work area (and brings a docked one to the front).
    void dockView(QWidget* view);

    // Asked when the main window closes: -1 keeps the program running. Until the maintenance subsystem installs
    // its exit reminder, closing simply ends the program.
    static void setExitReminder(std::function<int()> reminder);

Q_SIGNALS:
    // The window closes for good (the exit reminder did not cancel): the run ends, whatever other window is open.
    void exitConfirmed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool firstShown_ = false;
};

// The levels allowed for each module: 0 super user, 1 administrator, 2 ordinary operator.
bool moduleAllowed(Module module, int authority);

inline constexpr const char* kMaintainerSite = "https://www.orvane.example/";
