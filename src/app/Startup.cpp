#include "app/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "app/SingleRun.h"
#include "app/TDmFm.h"
#include "app/TPictureFm.h"
#include "app/TProjectMainFm.h"
#include "app/TpasswordFm.h"
#include "app/Views.h"
#include "common/Guard.h"
#include "common/MyMessageBox.h"
#include "common/Platform.h"
#include "common/TProgessBarFm.h"
#include "rental/Rentals.h"

void setUpApplication(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
    for (const char* family : {"Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Micro Hei"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont font(QString::fromLatin1(family));
            font.setPointSize(10);
            app.setFont(font);
            break;
        }
    }
    QApplication::setApplicationName(QStringLiteral("orvane"));
}

TProjectMainFm* createMainWindow(bool withWindows) {
    auto* main = new TProjectMainFm();
    TPictureFm* splash = nullptr;
    if (withWindows) {
        splash = new TPictureFm();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    createViews(main);
    if (splash) {
        splash->close();
        delete splash;
        QApplication::processEvents();
    }
    return main;
}

void endRunWhenMainWindowCloses(TProjectMainFm* main) {
    // Not left to the last window closing: a window still open somewhere would keep the run and the database going.
    QObject::connect(main, &TProjectMainFm::exitConfirmed, QCoreApplication::instance(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
}

int runSession(QApplication& app) {
    SingleRun run(databasePath());
    if (!run.acquire()) {
        MyMessageBox(mkNotice, QStringLiteral("数据库%1正在被另一个已经运行的本系统使用,不能再启动一次!"
                                              "请使用已经打开的窗口.")
                                   .arg(databasePath()));
        return 1;
    }
    // Copies that a run killed in the middle left beside the database; nobody else writes there now.
    removeLeftoverPartials(QFileInfo(databasePath()).absolutePath());
    TDmFm dataModule;
    if (Login() != 1) return 0;
    // Items a killed run left unconfirmed go back to stock and to their members before anyone can lend.
    guarded([] { rental::Rentals().recoverUnconfirmed(); });
    TProjectMainFm* main = createMainWindow(true);
    endRunWhenMainWindowCloses(main);
    // Without a window manager to honour the request, the window still fills the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    {
        TProgessBarFm progress;
        progress.show();
        progress.repaint();
        for (int i = 0; i < 4; ++i) progress.step(100);
        progress.close();
    }
    const int code = app.exec();
    destroyViews();
    return code;
}

int runOrvane(QApplication& app) {
    setUpApplication(app);
    return runSession(app);
}
