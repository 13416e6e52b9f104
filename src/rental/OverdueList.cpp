#include "rental/OverdueList.h"

#include "db/JetDialect.h"
#include "db/Query.h"

namespace rental {

OverdueList::OverdueList(db::Connection& connection) : connection_(connection) {}

bool OverdueList::remindersOn() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select * from TbAwoke"));
    return q.field(QStringLiteral("Awoke")).asString() != QStringLiteral("否");
}

qint64 OverdueList::timeLimit() const {
    db::Query q(nullptr, {}, &connection_);
    q.reopen(QStringLiteral("select timelimited from Timelimited"));
    return q.field(QStringLiteral("timelimited")).asInteger();
}

QString OverdueList::listSql(qint64 limitDays) {
    return QStringLiteral("select * from TRentList where DateDiff(\"d\",OccurDate,now())>") + jet::number(limitDays) +
           QStringLiteral(" and Back=false");
}

QString OverdueList::heading(qint64 limitDays) {
    return QStringLiteral("当前超过") + QString::number(limitDays) + QStringLiteral("天未归还的碟片列表如下：");
}

QString OverdueList::switchedOffNotice() {
    return QStringLiteral("对不起，当前没有启用提醒功能，若需系统提醒，请在项目设置模块中启用此功能!");
}

}  // namespace rental
