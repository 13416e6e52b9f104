#pragma once

class QWidget;
class TCdResourceFm;
class TCdRentBackFm;
class TCdMemberFm;
class TReportFm;
class TReportSaleFm;
class TReportSortFm;
class TAwokeFm;
class TQueryFm;
class TDenyFm;
class TcdsetFm;
class TPersonFm;
class TcdTypeFm;
class TChargefm;
class TMortagageFm;
class TTimelimitFm;
class TCycleFm;
class TProjectMainFm;

// The views that live for the whole run, created once after the login in this order.
struct AppViews {
    TProjectMainFm* main = nullptr;
    TCdResourceFm* cdResource = nullptr;
    TCdRentBackFm* cdRentBack = nullptr;
    TCdMemberFm* cdMember = nullptr;
    TReportFm* report = nullptr;
    TReportSaleFm* reportSale = nullptr;
    TReportSortFm* reportSort = nullptr;
    TAwokeFm* awoke = nullptr;
    TQueryFm* query = nullptr;
    TDenyFm* deny = nullptr;
    TcdsetFm* cdset = nullptr;
    TPersonFm* person = nullptr;
    TcdTypeFm* cdType = nullptr;
    TChargefm* charge = nullptr;
    TMortagageFm* mortagage = nullptr;
    TTimelimitFm* timelimit = nullptr;
    TCycleFm* cycle = nullptr;
};

AppViews& views();
// Creates the sixteen views in order; each view's creation handling runs once, in that order.
void createViews(TProjectMainFm* main);
// How the views tell each other what happened: each signal connected to the view that must follow.
void connectViews(const AppViews& views);
// Deletes every view and the main window (the end of a run, or of a test).
void destroyViews();
