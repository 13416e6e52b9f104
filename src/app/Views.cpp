#include "app/Views.h"

#include <QLabel>

#include "app/TDenyFm.h"
#include "app/TProjectMainFm.h"
#include "common/Guard.h"
#include "inventory/TCdResourceFm.h"
#include "inventory/TQueryFm.h"
#include "maintenance/MaintenanceActions.h"
#include "members/TCdMemberFm.h"
#include "rental/TAwokeFm.h"
#include "rental/TCdRentBackFm.h"
#include "settings/Initialisation.h"
#include "settings/TChargefm.h"
#include "settings/TCycleFm.h"
#include "settings/TMortagageFm.h"
#include "settings/TPersonFm.h"
#include "settings/TTimelimitFm.h"
#include "settings/TcdTypeFm.h"
#include "settings/TcdsetFm.h"
#include "stats/ReportRules.h"
#include "stats/TReportFm.h"
#include "stats/TReportSaleFm.h"
#include "stats/TReportSortFm.h"
#include "ui/DockArea.h"

AppViews& views() {
    static AppViews all;
    return all;
}

void createViews(TProjectMainFm* main) {
    AppViews& v = views();
    v.main = main;
    DockArea* work = main->PanelMain;
    auto adopt = [work](auto* view) {
        work->adopt(view);
        return view;
    };
    v.cdResource = adopt(new TCdResourceFm());
    v.cdRentBack = adopt(new TCdRentBackFm());
    v.cdMember = adopt(new TCdMemberFm());
    v.report = adopt(new TReportFm());
    v.reportSale = adopt(new TReportSaleFm());
    v.reportSort = adopt(new TReportSortFm());
    v.awoke = adopt(new TAwokeFm());
    v.query = new TQueryFm(main);  // a dialog window of its own
    v.deny = adopt(new TDenyFm());
    v.cdset = adopt(new TcdsetFm());
    v.person = new TPersonFm();
    v.cdType = new TcdTypeFm();
    v.charge = new TChargefm();
    v.mortagage = new TMortagageFm();
    v.timelimit = new TTimelimitFm();
    v.cycle = new TCycleFm();
    v.cdset->placeViews({v.person, v.cdType, v.charge, v.mortagage, v.timelimit, v.cycle});
    connectViews(v);
}

namespace {
// The lists the operator sees first, read again after the database file was copied, in this order.
void reopenMainLists(const AppViews& v) {
    const std::pair<db::Query*, const char*> lists[] = {
        {v.cdResource->Q, "select * from TCdResource"},
        {v.cdMember->Q, "select * from TMemberSystem"},
        {v.cdMember->Q2, "select * from TMemberResource"},
        {v.person->Qperson, "select * from TPerson where PersonName<>\"超级用户\""},
        {v.cdType->Qtype, "select * from TCdType where CdTypes<>\"其它类型\""},
        {v.charge->Qcharge, "select * from TChargeStandard where ChargeName<>\"默认标准\""},
    };
    for (const auto& [query, text] : lists) {
        query->reopen(QString::fromUtf8(text));
        query->refresh();
    }
}
}  // namespace

void connectViews(const AppViews& v) {
    // The catalogue offers a new or renamed type at once.
    connectGuarded(v.cdType, &TcdTypeFm::typesChanged, v.cdResource, [c = v.cdResource] { c->reloadTypeChoices(); });
    // The conditional query stands beside the catalogue, not modal: the operator may go on working there.
    connectGuarded(v.cdResource, &TCdResourceFm::conditionalQueryRequested, v.query, [q = v.query] {
        q->show();
        q->raise();
        q->activateWindow();
    });
    connectGuarded(v.query, &TQueryFm::queryChosen, v.cdResource,
                   [c = v.cdResource](const QStringList& lines) { c->showQueryResult(lines); });
    TProjectMainFm::setExitReminder([main = v.main] { return runExitReminder(main); });
    // After a restore every list read before it shows rows of the replaced file: each view reads again when it
    // next opens its lists; the main lists are read at once.
    connectGuarded(&maintenance::Notifier::instance(), &maintenance::Notifier::databaseCopied, v.main,
                   [v](bool restored) {
                       if (restored)
                           for (db::Query* query : v.main->findChildren<db::Query*>()) query->close();
                       reopenMainLists(v);
                       // The desk shows the open sheets with their items, counters and label, as at the start of a
                       // run; the catalogue offers the restored file's types only.
                       v.cdRentBack->showOpenSheets();
                       if (restored) v.cdResource->reloadTypeChoices();
                   });
    // After an initialisation the main lists read again with the texts they have; emptied rental records leave
    // the desk's counters at zero.
    connectGuarded(&settings::InitialisationNotifier::instance(), &settings::InitialisationNotifier::dataCleared,
                   v.main, [v](bool rentalsCleared) {
                       for (db::Query* query : {v.cdResource->Q, v.cdMember->Q, v.cdMember->Q2, v.cdRentBack->Q,
                                                v.person->Qperson, v.cdType->Qtype, v.charge->Qcharge})
                           if (query->isActive()) query->refresh();
                       if (rentalsCleared)
                           for (const char* counter : {"RecordCount", "NotBackCount"})
                               if (auto* label = v.cdRentBack->findChild<QLabel*>(QString::fromLatin1(counter)))
                                   label->setText(QStringLiteral("0条"));
                   });
    // A member's remaining days or discs changed at the rental counter: the member list shows the new value. A member
    // being entered or changed there is left alone (re-reading would save it half-typed).
    connectGuarded(v.cdRentBack, &TCdRentBackFm::memberRemainChanged, v.cdMember, [m = v.cdMember] {
        if (m->Q2->state() == db::Query::Browse) m->Q2->refresh();
    });
    // The statistics views switch among themselves in the work area; the analysis takes the details' period.
    auto bringUpRule = [window = v.main, report = v.report, sale = v.reportSale, sort = v.reportSort](int rule) {
        window->dockView(stats::prepareRuleView(stats::ReportRule(rule), report, sale, sort));
    };
    connectGuarded(v.report, &TReportFm::ruleChosen, v.main, bringUpRule);
    connectGuarded(v.reportSale, &TReportSaleFm::ruleChosen, v.main, bringUpRule);
    connectGuarded(v.reportSort, &TReportSortFm::ruleChosen, v.main, bringUpRule);
}

void destroyViews() {
    AppViews& v = views();
    TProjectMainFm::setExitReminder({});  // it asks over the main window
    delete v.main;                        // owns every view through its work area
    v = AppViews();
}
