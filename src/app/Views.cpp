#include "app/Views.h"

#include "app/TDenyFm.h"
#include "app/TProjectMainFm.h"
#include "common/Guard.h"
#include "inventory/TCdResourceFm.h"
#include "inventory/TQueryFm.h"
#include "members/TCdMemberFm.h"
#include "rental/TAwokeFm.h"
#include "rental/TCdRentBackFm.h"
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
    delete v.main;  // owns every view through its work area
    v = AppViews();
}
