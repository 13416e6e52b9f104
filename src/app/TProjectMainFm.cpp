#include "app/TProjectMainFm.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/TAboutFm.h"
#include "app/TDenyFm.h"
#include "app/Views.h"
#include "common/Guard.h"
#include "common/Modal.h"
#include "common/Platform.h"
#include "common/Session.h"
#include "inventory/TCdResourceFm.h"
#include "maintenance/MaintenanceActions.h"
#include "members/TCdMemberFm.h"
#include "rental/TAwokeFm.h"
#include "rental/TCdRentBackFm.h"
#include "settings/SettingsActions.h"
#include "settings/TcdsetFm.h"
#include "stats/TReportFm.h"
#include "ui/DockArea.h"

namespace {
std::function<int()>& exitReminder() {
    static std::function<int()> reminder;
    return reminder;
}

struct ModuleText {
    const char* title;
    const char* explain;
};

ModuleText moduleText(Module module) {
    switch (module) {
        case Module::CdResource:
            return {"光盘资料管理", "管理光盘的购入,销售即报废等"};
        case Module::CdRent:
            return {"光盘出租管理", "管理光盘的出租,归还等."};
        case Module::CdMember:
            return {"会员制度管理", "管理会员的各项优惠制度,定义各种会员所应缴纳的会费,租金,押金."};
        case Module::CdSetting:
            return {"项目设置", "管理光盘出租业务中所需的经手人员,计费周期,影片类型等资料的设置."};
        case Module::CdAwoke:
            return {"到期提醒", "提醒显示光盘出租业务中从出租之日算起,在规定的时间限制中未能归还的光盘列表"};
        case Module::CdReport:
            return {"统计报表", "统计在所定时间范围内的出租情况,经营情况,逾期情况及租借排行榜"};
    }
    return {"", ""};
}

QWidget* moduleView(Module module) {
    AppViews& v = views();
    switch (module) {
        case Module::CdResource:
            return v.cdResource;
        case Module::CdRent:
            return v.cdRentBack;
        case Module::CdMember:
            return v.cdMember;
        case Module::CdSetting:
            return v.cdset;
        case Module::CdAwoke:
            return v.awoke;
        case Module::CdReport:
            return v.report;
    }
    return nullptr;
}
}  // namespace

bool moduleAllowed(Module module, int authority) {
    switch (module) {
        case Module::CdResource:
            return authority == kSuperUser || authority == kAdministrator;
        case Module::CdMember:
        case Module::CdSetting:
        case Module::CdReport:
            return authority == kSuperUser;
        case Module::CdRent:
        case Module::CdAwoke:
            return true;
    }
    return false;
}

void TProjectMainFm::setExitReminder(std::function<int()> reminder) {
    exitReminder() = std::move(reminder);
}

TProjectMainFm::TProjectMainFm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TProjectMainFm"));
    setWindowTitle(
        QStringLiteral("Orvane---光盘出租管理系统(T1.1(BUILD20030827)版)---当前用户\"%1\"").arg(CurrentUserName));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralWidget"));
    PanelLeft = new QFrame(central);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    PanelLeft->setFrameShape(QFrame::StyledPanel);
    PanelLeft->setFixedWidth(132);
    auto makeButton = [this](const char* name, const char* caption) {
        auto* button = new QPushButton(QString::fromUtf8(caption), PanelLeft);
        button->setObjectName(QString::fromLatin1(name));
        button->setMinimumHeight(48);
        return button;
    };
    CdResourceButton = makeButton("CdResourceButton", "光盘资料管理");
    CdRentBackButton = makeButton("CdRentBackButton", "光盘出租管理");
    CdMemberButton = makeButton("CdMemberButton", "会员管理");
    CdProjectButton = makeButton("CdProjectButton", "项目设置");
    CdAwokeButton = makeButton("CdAwokeButton", "逾期提醒");
    CdReportButton = makeButton("CdReportButton", "统计数据");
    auto* left = new QVBoxLayout(PanelLeft);
    for (QPushButton* b :
         {CdResourceButton, CdRentBackButton, CdMemberButton, CdProjectButton, CdAwokeButton, CdReportButton})
        left->addWidget(b);
    left->addStretch(1);

    auto* strip = new QFrame(central);
    strip->setObjectName(QStringLiteral("PanelTitle"));
    strip->setFrameShape(QFrame::StyledPanel);
    LabTitle = new QLabel(strip);
    LabTitle->setObjectName(QStringLiteral("LabTitle"));
    QFont titleFont = LabTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    LabTitle->setFont(titleFont);
    LabExplain = new QLabel(strip);
    LabExplain->setObjectName(QStringLiteral("LabExplain"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 4, 8, 4);
    stripLayout->addWidget(LabTitle);
    stripLayout->addSpacing(16);
    stripLayout->addWidget(LabExplain, 1);
    strip->setMinimumHeight(LabTitle->fontMetrics().height() + 12);

    PanelMain = new DockArea(QStringLiteral("PanelMain"), central);
    PanelMain->setAutoFillBackground(true);
    QPalette white = PanelMain->palette();
    white.setColor(QPalette::Window, Qt::white);
    PanelMain->setPalette(white);

    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(strip);
    right->addWidget(PanelMain, 1);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(PanelLeft);
    layout->addLayout(right, 1);
    setCentralWidget(central);

    auto action = [this](const char* name, const char* caption) {
        auto* a = new QAction(QString::fromUtf8(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    ActionCdResource = action("ActionCdResource", "光盘资料管理");
    ActionCdRent = action("ActionCdRent", "光盘出租管理");
    ActionCdMember = action("ActionCdMember", "会员管理");
    ActionCdSetting = action("ActionCdSetting", "项目设置");
    MenuBak = action("MenuBak", "备份系统");
    MenuRestore = action("MenuRestore", "恢复系统");
    MenuExit = action("MenuExit", "退出");
    MenuCdResourc = action("MenuCdResourc", "光盘资料管理");
    MenuCdRent = action("MenuCdRent", "光盘出租管理");
    MenuMember = action("MenuMember", "会员管理");
    MenuSetting = action("MenuSetting", "项目设置");
    MenuCall = action("MenuCall", "当前提醒");
    MenuReport = action("MenuReport", "统计数据");
    MenuInitial = action("MenuInitial", "系统初始化");
    MenuAuthor = action("MenuAuthor", "权限管理");
    MenuHelpdoc = action("MenuHelpdoc", "帮助文档");
    MenuAbout = action("MenuAbout", "关于软件");
    MenuAcess = action("MenuAcess", "访问网站");

    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(MenuBak);
    file->addAction(MenuRestore);
    file->addSeparator();
    file->addAction(MenuExit);
    QMenu* modules = menuBar()->addMenu(QStringLiteral("功能选择(&M)"));
    for (QAction* a : {MenuCdResourc, MenuCdRent, MenuMember, MenuSetting, MenuCall, MenuReport}) modules->addAction(a);
    QMenu* maintain = menuBar()->addMenu(QStringLiteral("维护与设置(&T)"));
    maintain->addAction(MenuInitial);
    maintain->addSeparator();
    maintain->addAction(MenuAuthor);
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(MenuHelpdoc);
    help->addAction(MenuAbout);
    help->addSeparator();
    help->addAction(MenuAcess);
    // F10 opens the menu bar as on other desktops' programs; Alt with a menu's letter opens that menu.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    menuKey->setObjectName(QStringLiteral("MenuKey"));
    connect(menuKey, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty()) menuBar()->setActiveAction(menuBar()->actions().first());
    });

    auto onModule = [this](Module m) { return [this, m] { guarded([this, m] { selectModule(m); }); }; };
    connect(ActionCdResource, &QAction::triggered, this, onModule(Module::CdResource));
    connect(ActionCdRent, &QAction::triggered, this, onModule(Module::CdRent));
    connect(ActionCdMember, &QAction::triggered, this, onModule(Module::CdMember));
    connect(ActionCdSetting, &QAction::triggered, this, onModule(Module::CdSetting));
    connect(CdResourceButton, &QPushButton::clicked, ActionCdResource, &QAction::trigger);
    connect(CdRentBackButton, &QPushButton::clicked, ActionCdRent, &QAction::trigger);
    connect(CdMemberButton, &QPushButton::clicked, ActionCdMember, &QAction::trigger);
    connect(CdProjectButton, &QPushButton::clicked, ActionCdSetting, &QAction::trigger);
    connect(CdAwokeButton, &QPushButton::clicked, this, onModule(Module::CdAwoke));
    connect(CdReportButton, &QPushButton::clicked, this, onModule(Module::CdReport));
    connect(MenuCdResourc, &QAction::triggered, CdResourceButton, &QPushButton::click);
    connect(MenuCdRent, &QAction::triggered, CdRentBackButton, &QPushButton::click);
    connect(MenuMember, &QAction::triggered, CdMemberButton, &QPushButton::click);
    connect(MenuSetting, &QAction::triggered, CdProjectButton, &QPushButton::click);
    connect(MenuCall, &QAction::triggered, CdAwokeButton, &QPushButton::click);
    connect(MenuReport, &QAction::triggered, CdReportButton, &QPushButton::click);

    connect(MenuExit, &QAction::triggered, this, &QWidget::close);
    connect(MenuBak, &QAction::triggered, this, [this] { guarded([this] { showBackupDialog(this, false); }); });
    connect(MenuRestore, &QAction::triggered, this, [this] { guarded([this] { showBackupDialog(this, true); }); });
    connect(MenuInitial, &QAction::triggered, this, [this] { guarded([this] { showInitialisationDialog(this); }); });
    connect(MenuAuthor, &QAction::triggered, this, [this] { guarded([this] { showAuthorityWindow(this); }); });
    connect(MenuHelpdoc, &QAction::triggered, this, [] {
        const QString help = appDir() + QStringLiteral("/help/helpcd.chm");
        if (QFile::exists(help)) openWithShell(help);  // a missing help file is not reported
    });
    connect(MenuAbout, &QAction::triggered, this, [this] {
        guarded([this] {
            TAboutFm about(this);
            execModal(&about);
        });
    });
    connect(MenuAcess, &QAction::triggered, this, [] { openWithShell(QString::fromLatin1(kMaintainerSite)); });
}

void TProjectMainFm::dockView(QWidget* view) {
    PanelMain->dock(view);
}

void TProjectMainFm::selectModule(Module module) {
    if (!moduleAllowed(module, CurrentAuthority)) {
        dockView(views().deny);
        // The catalogue's refusal keeps the title strip as it was; the others clear it.
        if (module != Module::CdResource) {
            LabTitle->clear();
            LabExplain->clear();
        }
        return;
    }
    dockView(moduleView(module));
    const ModuleText text = moduleText(module);
    LabTitle->setText(QString::fromUtf8(text.title));
    LabExplain->setText(QString::fromUtf8(text.explain));
}

void TProjectMainFm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstShown_) return;
    firstShown_ = true;
    guarded([this] {
        if (views().cdRentBack) dockView(views().cdRentBack);
    });
}

void TProjectMainFm::closeEvent(QCloseEvent* event) {
    int answer = 0;
    if (exitReminder()) guarded([&] { answer = exitReminder()(); });
    if (answer == -1) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT exitConfirmed();
}
