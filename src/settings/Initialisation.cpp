#include "settings/Initialisation.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace settings {

namespace {
const char* const kResourceStatements[] = {
    "delete * from TCdResource",
    "delete * from Sitcom",
    "delete * from TRentOperation",
    "delete * from TRentList",
};
const char* const kRentStatements[] = {
    "delete * from TRentOperation",
    "delete * from TRentList",
};
const char* const kSaleStatements[] = {
    "delete * from CdSalesDiscard",
};
const char* const kMemberStatements[] = {
    "delete * from TMemberResource",
    "delete * from TMemberSystem",
};
// The rights rows go with their operators: an operator added later under an old name must not find the old
// password and level waiting.
const char* const kSettingStatements[] = {
    "delete * from TCdType where CdTypes <> \"其它类型\"",
    "delete * from TPerson where PersonName <>\"超级用户\"",
    "delete * from TAuthority where UserName <>\"超级用户\"",
    "update CdCycle set Cycle=1",
    "delete * from TChargeStandard where ChargeName <>\"默认标准\"",
    "update TbMortagage set MortagageSum=10",
};
// Discs that were out or sold count as on the shelf again.
const char* const kStockStatements[] = {
    "update TCdResource set stock=BuySeriesCount",
    "update Sitcom set Stock=BuySeriesCount",
};
}  // namespace

Initialisation::Initialisation(db::Connection& connection) : connection_(connection) {}

InitialisationGroups Initialisation::withDependencies(InitialisationGroups groups) {
    if (groups.resources) groups.rentals = groups.sales = true;
    return groups;
}

bool Initialisation::run(InitialisationGroups chosen) {
    const InitialisationGroups groups = withDependencies(chosen);
    db::Query statement(nullptr, QStringLiteral("Qinitial"), &connection_);
    auto runAll = [&statement](const auto& texts) {
        for (const char* text : texts) statement.execSql(QString::fromUtf8(text));
    };
    db::Transaction action(connection_);
    if (groups.resources) runAll(kResourceStatements);
    if (groups.rentals) runAll(kRentStatements);
    if (groups.sales) runAll(kSaleStatements);
    if (groups.members) runAll(kMemberStatements);
    if (groups.settings) runAll(kSettingStatements);
    if (groups.sales || groups.rentals) runAll(kStockStatements);
    action.commit();
    return groups.rentals;
}

InitialisationNotifier& InitialisationNotifier::instance() {
    static InitialisationNotifier notifier;
    return notifier;
}

}  // namespace settings
