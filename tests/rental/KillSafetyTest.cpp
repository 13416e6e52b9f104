#include <sqlite3.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/MyMessageBox.h"
#include "db/Connection.h"
#include "rental/RentalTestSupport.h"
#include "rental/TCdRentListFm.h"
#include "rental/TRechoningAllFm.h"
#include "rental/TReckoningFm.h"
#include "rental/TServalRecordRentFm.h"

using rental_tests::ShopTest;

namespace {

// The run dies at the nth row written: that write and every later one fail, as when the process is killed there, and
// whatever was not committed by then is lost with the connection.
class KillSwitch {
public:
    explicit KillSwitch(int at) : at_(at) {
        sqlite3* handle = db::Connection::shared().handle();
        sqlite3_create_function(handle, "kill_point", 0, SQLITE_UTF8, this, &KillSwitch::point, nullptr, nullptr);
        for (const char* table : {"TRentList", "TRentOperation", "TCdResource", "Sitcom", "TMemberResource"})
            for (const char* change : {"INSERT", "UPDATE", "DELETE"})
                db::Connection::shared().execEngine(
                    QStringLiteral("CREATE TEMP TRIGGER kill_%1_%2 BEFORE %2 ON main.%1 BEGIN "
                                   "SELECT RAISE(ABORT,'killed') WHERE kill_point(); END")
                        .arg(QLatin1String(table), QLatin1String(change)));
    }
    bool fired() const { return fired_; }

private:
    static void point(sqlite3_context* context, int, sqlite3_value**) {
        auto* self = static_cast<KillSwitch*>(sqlite3_user_data(context));
        if (++self->writes_ >= self->at_) self->fired_ = true;
        sqlite3_result_int(context, self->fired_ ? 1 : 0);
    }
    int at_;
    int writes_ = 0;
    bool fired_ = false;
};

class KillSafetyTest : public ShopTest {
protected:
    void TearDown() override {
        sheet.reset();
        ShopTest::TearDown();
    }

    // A shop in a state that keeps the invariants: what is out is missing from stock.
    void stockShop() {
        addTitle("A1", "英雄", 3, "2");
        addTitle("B2", "无间道", 2, "3");
        const qint64 series = addTitle("S1", "天龙八部", 2, "1.5", "是");
        addVolume(series, "S1-12", "天龙八部", 2);
        addMember("M1", "按部数优惠", 10, 10);
    }
    // An item lent earlier, with its stock and the member's disc taken.
    qint64 lent(qint64 sheetId, const QString& number, const QString& price, int daysAgo, const QString& member = {}) {
        const qint64 id = addItem(sheetId, number, price, daysAgo);
        exec("update TCdResource set stock=stock-1 where SitComYesOrNo=\"否\" and CountId=" + jet::quoted(number));
        exec("update Sitcom set Stock=Stock-1 where CdCountId=" + jet::quoted(number));
        if (!member.isEmpty())
            exec("update TMemberResource set RemainDaysOrCounts=RemainDaysOrCounts-1 where PersonId=" +
                 jet::quoted(member));
        return id;
    }

    TCdRentListFm* open(qint64 id) {
        sheet.reset();
        CurrentRentOperationId = id;
        sheet = std::make_unique<TCdRentListFm>();
        sheet->show();
        return sheet.get();
    }
    void lend(const QString& number) {
        sheet->BtnAdd->click();
        sheet->SearchId->setText(number);
        QTest::keyClick(sheet->SearchId, Qt::Key_Return);
        sheet->BtnSave->click();
    }
    void tick(const QString& number) {
        for (int row = 0; row < sheet->Q->recordCount(); ++row) {
            if (sheet->Q->displayText(row, sheet->Q->columnIndex("CdCountId_TCdResource")) != number) continue;
            auto* model = sheet->dxDBGrid1->model();
            model->setData(model->indexOfSourceRow(row, 0), Qt::Checked, Qt::CheckStateRole);
        }
    }
    void selectItem(const QString& number) {
        for (int row = 0; row < sheet->Q->recordCount(); ++row)
            if (sheet->Q->displayText(row, sheet->Q->columnIndex("CdCountId_TCdResource")) == number)
                sheet->Q->moveTo(row);
    }

    // What must hold after any run, however it ended, once the start-up recovery has run.
    void expectInvariants() {
        // Stock is what was bought less what is out (nothing is sold or written off here).
        for (const char* read : {"select CountId, stock, BuySeriesCount from TCdResource where SitComYesOrNo=\"否\"",
                                 "select CdCountId, Stock, BuySeriesCount from Sitcom"}) {
            db::Query q;
            q.reopen(QString::fromUtf8(read));
            for (q.first(); !q.eof(); q.next()) {
                const QString number = q.field(0).asString();
                const qint64 out =
                    count("TRentList", "where Back=false and CdCountId_TCdResource=" + jet::quoted(number));
                EXPECT_EQ(q.field(1).asInteger(), q.field(2).asInteger() - out) << number.toStdString();
            }
        }
        EXPECT_EQ(count("TRentOperation", "where not ID in (select Id_RentOperation from TRentList)"), 0)
            << "a sheet without items";
        EXPECT_EQ(count("TRentOperation",
                        "where BackStatus=\"否\" and not ID in (select Id_RentOperation from "
                        "TRentList where Back=false)"),
                  0)
            << "an open sheet with nothing out";
        EXPECT_EQ(count("TRentOperation",
                        "where BackStatus=\"是\" and ID in (select Id_RentOperation from "
                        "TRentList where Back=false)"),
                  0)
            << "a settled sheet with an item out";
        EXPECT_EQ(count("TRentList", "where not Id_RentOperation in (select ID from TRentOperation)"), 0)
            << "items without a sheet, or left on sheet 0";
        // The member has given one disc for each item that is on one of his sheets.
        const qint64 memberItems =
            count("TRentList", "where Id_RentOperation in (select ID from TRentOperation where PersonId=\"M1\")");
        EXPECT_EQ(remainOf("M1"), 10 - memberItems);
        // Rent is recorded only on items that came back.
        EXPECT_EQ(count("TRentList",
                        "where Back=false and RentPrice<>0 and Id_RentOperation in (select ID from "
                        "TRentOperation where PersonId=\"M1\")"),
                  0);
    }

    std::unique_ptr<TCdRentListFm> sheet;
};

// Each case is a run of the counter, cut at every row it writes in turn; after each cut the program starts again and
// the shop must add up.
TEST_F(KillSafetyTest, AKillAtAnyWriteLeavesTheShopConsistentAfterTheStartUpRecovery) {
    struct Setup {
        qint64 walkInSheet = 0;
        qint64 memberSheet = 0;
    };
    struct Case {
        const char* name;
        std::function<Setup()> prepare;
        std::function<std::vector<std::function<void(const Setup&)>>()> steps;
    };
    const Case cases[] = {
        {"lending two titles and a volume, confirmed",
         [this] {
             stockShop();
             return Setup{};
         },
         [this] {
             return std::vector<std::function<void(const Setup&)>>{
                 [this](const Setup&) { open(0); },
                 [this](const Setup&) { lend("A1"); },
                 [this](const Setup&) { lend("B2"); },
                 [this](const Setup&) { lend("S1"); },
                 [this](const Setup&) { sheet->BtnEnter->click(); },
             };
         }},
        {"a member's new sheet, confirmed",
         [this] {
             stockShop();
             return Setup{};
         },
         [this] {
             return std::vector<std::function<void(const Setup&)>>{
                 [this](const Setup&) {
                     open(0);
                     sheet->RentPerson->setEditText("会员");
                     sheet->PersonId->setText("M1");
                 },
                 [this](const Setup&) { lend("A1"); },
                 [this](const Setup&) { lend("S1"); },
                 [this](const Setup&) { sheet->BtnEnter->click(); },
             };
         }},
        {"a part return from the deposit, then the final one",
         [this] {
             stockShop();
             Setup s;
             s.walkInSheet = addSheet("零客户", "50");
             lent(s.walkInSheet, "A1", "2", 3);
             lent(s.walkInSheet, "B2", "3", 3);
             lent(s.walkInSheet, "S1-12", "1.5", 3);
             return s;
         },
         [this] {
             return std::vector<std::function<void(const Setup&)>>{
                 [this](const Setup& s) { open(s.walkInSheet); },
                 [this](const Setup&) {
                     tick("A1");
                     tick("B2");
                     sheet->BtnBack->click();
                 },
                 [this](const Setup&) { sheet->BtnEnter->click(); },
                 [this](const Setup& s) { open(s.walkInSheet); },
                 [this](const Setup&) {
                     tick("S1-12");
                     sheet->BtnBack->click();
                 },
             };
         }},
        {"a member's sheet whose items are deleted and the sheet dropped",
         [this] {
             stockShop();
             Setup s;
             s.memberSheet = addSheet("会员", "0", "M1");
             lent(s.memberSheet, "A1", "0", 1, "M1");
             lent(s.memberSheet, "S1-12", "0", 1, "M1");
             return s;
         },
         [this] {
             return std::vector<std::function<void(const Setup&)>>{
                 [this](const Setup& s) { open(s.memberSheet); },
                 [this](const Setup&) {
                     selectItem("A1");
                     sheet->BtnDel->click();
                 },
                 [this](const Setup&) {
                     selectItem("S1-12");
                     sheet->BtnDel->click();
                 },
             };
         }},
    };

    for (const Case& c : cases) {
        for (int at = 1;; ++at) {
            SCOPED_TRACE(std::string(c.name) + ", killed at write " + std::to_string(at));
            // A fresh shop for each run.
            sheet.reset();
            database.reset();
            database = std::make_unique<testing_support::FreshDatabase>();
            const Setup setup = c.prepare();
            dialogs->on("TServalRecordRentFm",
                        [](QDialog* d) { static_cast<TServalRecordRentFm*>(d)->BtnOk->click(); });
            dialogs->on("TReckoningFm", [](QDialog* d) { static_cast<TReckoningFm*>(d)->BtnClose->click(); });
            dialogs->on("TRechoningAllFm", [](QDialog* d) { static_cast<TRechoningAllFm*>(d)->BtnClose->click(); });
            // Every question is answered yes; the error box of the killed write is expected.
            message_seam::setHandler([](int, const QString&) { return true; });

            bool killed = false;
            {
                KillSwitch kill(at);
                for (const auto& step : c.steps()) {
                    step(setup);
                    if (kill.fired()) break;
                }
                killed = kill.fired();
                // The process is gone: nothing of the dialog's closing runs, the uncommitted work is lost.
                sheet.reset();
                db::Connection::shared().close();
            }
            message_seam::setHandler({});
            db::Connection::shared().open(database->databaseFile());
            rentals.recoverUnconfirmed();
            expectInvariants();
            if (!killed) {
                // The run went through to its end; every write before it was cut once.
                EXPECT_GT(at, 3) << "the run wrote too little to be cut";
                break;
            }
            ASSERT_LT(at, 200) << "the run never ends";
        }
    }
}

}  // namespace
