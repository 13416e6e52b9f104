#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/TProjectMainFm.h"
#include "app/Views.h"
#include "common/Csv.h"
#include "common/FileDialog.h"
#include "common/Platform.h"
#include "db/Clock.h"
#include "db/JetDialect.h"
#include "inventory/TCdResourceFm.h"
#include "support/Fixture.h"
#include "ui/GridExport.h"
#include "ui/TGridFatherFm.h"

using testing_support::AppTest;

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// Reads CSV as RFC 4180 defines it, independently of the writer: quoted fields may hold commas, doubled quotes and
// line breaks; records end in CRLF. Fails the test on anything else.
QVector<QStringList> readCsv(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.startsWith(kByteOrderMark)) << "no byte-order mark";
    const QString text = QString::fromUtf8(bytes.mid(kByteOrderMark.size()));
    QVector<QStringList> rows;
    QStringList row;
    QString value;
    bool quoted = false, inQuotes = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                value += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                value += c;
            }
        } else if (c == u'"') {
            EXPECT_TRUE(value.isEmpty() && !quoted) << "a quote inside an unquoted field at " << i;
            inQuotes = quoted = true;
        } else if (c == u',') {
            row << value;
            value.clear();
            quoted = false;
        } else if (c == u'\r') {
            EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == u'\n') << "a lone CR at " << i;
            ++i;
            row << value;
            rows << row;
            row.clear();
            value.clear();
            quoted = false;
        } else {
            EXPECT_NE(c, u'\n') << "a bare line break outside quotes at " << i;
            value += c;
        }
    }
    EXPECT_FALSE(inQuotes) << "an unterminated quoted field";
    EXPECT_TRUE(row.isEmpty() && value.isEmpty()) << "the last record does not end in CRLF";
    return rows;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(CsvTest, FieldsAreQuotedExactlyWhenTheyMustBe) {
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"连续剧", "连续剧"},
        {" 空格 ", " 空格 "},
        {"甲,乙", "\"甲,乙\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"两\n行", "\"两\n行\""},
        {"回车\r\n换行", "\"回车\r\n换行\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csv::field(QString::fromUtf8(c.value)).toStdString(), std::string(c.written)) << c.value;
}

TEST(CsvTest, EveryValueReadsBackAsWritten) {
    const QVector<QStringList> rows = {
        {QStringLiteral("光盘编号"), QStringLiteral("光盘名称"), QString()},
        {QStringLiteral("A,1"), QStringLiteral("他说\"好\"\r\n再见"), QStringLiteral("2.5")},
        {QString(), QStringLiteral(","), QStringLiteral("\"\"")}};
    const QByteArray bytes = csv::encode(rows);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(readCsv(bytes), rows);
}

TEST(CsvTest, AFailedWriteLeavesNothingBehindAndAnExistingFileAsItWas) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.csv"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.csv")));
    const QString targets[] = {dir.filePath(QStringLiteral("missing/list.csv")),  // no such folder
                               dir.filePath(QStringLiteral("taken.csv"))};        // a folder of that name
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        EXPECT_FALSE(csv::writeFile(target, {{QStringLiteral("甲")}}).isEmpty());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  (QStringList{"old.csv", "taken.csv"}));
    }
    EXPECT_TRUE(csv::writeFile(existing, {{QStringLiteral("新")}}).isEmpty());
    EXPECT_EQ(readCsv(fileBytes(existing)), (QVector<QStringList>{{QStringLiteral("新")}}));
}

// A title such as "=HYPERLINK(...)" must open as the text it is, not run as a formula; numbers stay numbers.
TEST(CsvTest, CellsASpreadsheetWouldRunAsAFormulaAreWrittenAsText) {
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"=HYPERLINK(\"http://x.example\",\"点我\")", "\"'=HYPERLINK(\"\"http://x.example\"\",\"\"点我\"\")\""},
        {"=1+1", "'=1+1"},
        {"+86 123", "'+86 123"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1:A9)", "'@SUM(A1:A9)"},
        {"\t=1", "'\t=1"},
        {"-", "'-"},
        {"-2.5", "-2.5"},  // a negative amount
        {"-3", "-3"},      // a negative count
        {"+4", "+4"},
        {"a=b", "a=b"},
        {"2.5", "2.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(csv::field(QString::fromUtf8(c.value)).toStdString(), std::string(c.written)) << c.value;
}

// A full disk, including a write that claims success with nothing written: the old file stays, nothing is left.
TEST(CsvTest, AWriteThatRunsOutOfDiskKeepsTheOldFileAndSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    const QVector<QStringList> rows = {{QStringLiteral("光盘编号")}, {QStringLiteral("A1")}, {QStringLiteral("A2")}};
    const struct {
        const char* name;
        qint64 after;
        bool silently;
        bool syncFails;
    } cases[] = {
        {"no space at once", 0, false, false},
        {"no space after a few bytes", 5, false, false},
        {"writes claim success, nothing lands", 0, true, false},
        {"writes claim success, a few bytes land", 5, true, false},
        {"the disk does not take the sync", -1, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_seam::failAfter(c.after, c.silently);
        write_seam::failSyncs(c.syncFails);
        EXPECT_FALSE(csv::writeFile(path, rows).isEmpty());
        write_seam::failAfter(-1);
        write_seam::failSyncs(false);
        EXPECT_EQ(fileBytes(path), QByteArray("old"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"list.csv"});
    }
    EXPECT_TRUE(csv::writeFile(path, rows).isEmpty());
    EXPECT_EQ(readCsv(fileBytes(path)), rows);
}

TEST(CsvTest, AWriteRemovesWhatAKilledWriteLeftAndNothingElse) {
    QTemporaryDir dir;
    const QStringList left = {QStringLiteral("list.csv.orvane-99999999-a1B2c3.part")};
    const QStringList kept = {QStringLiteral("list.csv.part"), QStringLiteral("list.csv.orvane-1-a1B2c3.part"),
                              QStringLiteral("other.csv")};
    for (const QString& name : left + kept) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(csv::writeFile(dir.filePath(QStringLiteral("new.csv")), {{QStringLiteral("甲")}}).isEmpty());
    for (const QString& name : left) EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name.toStdString();
    for (const QString& name : kept) EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name.toStdString();
}

// The catalogue docked as the operator opens it, with titles whose names test the quoting, and a folder to export to.
class CatalogueExportTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(out.isValid());
        const char* titles[][6] = {
            // number, name, series, buy price, rent price, position
            {"A1", "甲,乙", "否", "10", "2", "一号架"}, {"A2", "say \"hi\"", "否", "12.5", "3", "二号架"},
            {"A3", "两\n行", "否", "8", "2", ""},       {"A4", "连续剧甲", "是", "30", "2", "三号架"},
            {"A5", "丁", "否", "9.9", "2.5", "一号架"}, {"A6", "丙", "否", "7", "2", "二号架"},
        };
        for (const auto& t : titles)
            exec(
                QStringLiteral("insert into TCdResource (CountId, CdName, SitComYesOrNo, BuyPrice, RentPrice, "
                               "CdPosition, stock, BuySeriesCount, PerPieces) values (%1, %2, %3, %4, %5, %6, 3, 4, 1)")
                    .arg(jet::quoted(QString::fromUtf8(t[0])), jet::quoted(QString::fromUtf8(t[1])),
                         jet::quoted(QString::fromUtf8(t[2])), QString::fromUtf8(t[3]), QString::fromUtf8(t[4]),
                         jet::quoted(QString::fromUtf8(t[5]))));
        startViews();
        mainWindow->selectModule(Module::CdResource);
        fm = views().cdResource;
        ASSERT_NE(fm, nullptr);
    }
    void TearDown() override {
        file_dialog_seam::setNextFileName(QString());  // a name a test left unused must not answer a later dialog
        AppTest::TearDown();
    }
    void clickExport(QWidget* link) { QTest::mouseClick(link, Qt::LeftButton); }

    QTemporaryDir out;
    TCdResourceFm* fm = nullptr;
};

TEST_F(CatalogueExportTest, SavesTheGroupedSortedFilteredListAsShown) {
    fm->MenuSingles->trigger();  // the series is filtered out
    fm->GridMain->sortBy(QStringLiteral("CdName"), Qt::DescendingOrder);
    fm->GridMain->groupBy(QStringLiteral("RentPrice"));
    fm->GridMain->view()->setColumnHidden(fm->GridMain->columnOf(QStringLiteral("PerPieces")), true);
    const QString path = out.filePath(QStringLiteral("catalogue.csv"));
    file_dialog_seam::setNextFileName(path);
    messages->expect(mkNotice, QStringLiteral("已将5条记录导出到文件 ") + QDir::toNativeSeparators(path));
    clickExport(fm->LabSave);
    EXPECT_EQ(QFileInfo(file_dialog_seam::lastSuggestedPath()).fileName(),
              QStringLiteral("光盘资料管理_2026-12-10.csv"));

    const QByteArray bytes = fileBytes(path);
    // The Chinese is written as UTF-8, byte for byte.
    EXPECT_TRUE(bytes.contains(QByteArray("\xE5\x85\x89\xE7\x9B\x98\xE5\x90\x8D\xE7\xA7\xB0")));  // 光盘名称
    const QVector<QStringList> expected = {
        {"光盘编号", "光盘名称", "购买价格", "购买总套数", "当前库存", "出租价格", "连续剧", "碟片位置"},
        // rent 2, names descending (by code point), then rent 2.5, then rent 3
        {"A1", "甲,乙", "10", "4", "3", "2", "否", "一号架"},
        {"A3", "两\n行", "8", "4", "3", "2", "否", ""},
        {"A6", "丙", "7", "4", "3", "2", "否", "二号架"},
        {"A5", "丁", "9.9", "4", "3", "2.5", "否", "一号架"},
        {"A2", "say \"hi\"", "12.5", "4", "3", "3", "否", "二号架"},
    };
    EXPECT_EQ(readCsv(bytes), expected);
}

TEST_F(CatalogueExportTest, ThePictureExportsLikeTheLabelAndCancelWritesNothing) {
    file_dialog_seam::setNextFileName(QString());  // the operator cancels the dialog
    clickExport(fm->Image5);
    EXPECT_EQ(QFileInfo(file_dialog_seam::lastSuggestedPath()).fileName(),
              QStringLiteral("光盘资料管理_2026-12-10.csv"));
    EXPECT_TRUE(QDir(out.path()).isEmpty());

    const QString path = out.filePath(QStringLiteral("again.csv"));
    file_dialog_seam::setNextFileName(path);
    messages->expect(mkNotice, QStringLiteral("已将6条记录导出到文件 ") + QDir::toNativeSeparators(path));
    clickExport(fm->Image5);
    EXPECT_EQ(readCsv(fileBytes(path)).size(), 7);
}

TEST_F(CatalogueExportTest, AFileThatCannotBeWrittenIsReportedAndNothingIsLeft) {
    const QString path = out.filePath(QStringLiteral("no such folder/list.csv"));
    file_dialog_seam::setNextFileName(path);
    QString shown;
    message_seam::setHandler([&](int kind, const QString& text) {
        EXPECT_EQ(kind, mkNotice);
        shown = text;
        return true;
    });
    clickExport(fm->LabSave);
    const QString prefix = QStringLiteral("不能写入文件 ") + QDir::toNativeSeparators(path) + QStringLiteral(" (");
    EXPECT_TRUE(shown.startsWith(prefix)) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("),列表没有导出,请选择其它位置!"))) << shown.toStdString();
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST_F(CatalogueExportTest, AFullDiskIsReportedAndTheEarlierListStays) {
    const QString path = out.filePath(QStringLiteral("list.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    file_dialog_seam::setNextFileName(path);
    QString shown;
    message_seam::setHandler([&](int kind, const QString& text) {
        EXPECT_EQ(kind, mkNotice);
        shown = text;
        return true;
    });
    write_seam::failAfter(0, true);  // Qt's own writer once reported this as success
    clickExport(fm->LabSave);
    write_seam::failAfter(-1);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("不能写入文件 ") + QDir::toNativeSeparators(path)))
        << shown.toStdString();
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.csv"});
}

TEST_F(CatalogueExportTest, AnEmptyListIsNotExported) {
    fm->Q->reopen(QStringLiteral("select * from TCdResource where ID=-1"));
    const QString path = out.filePath(QStringLiteral("empty.csv"));
    file_dialog_seam::setNextFileName(path);
    messages->expect(mkNotice, QStringLiteral("当前列表中没有记录,不需要导出!"));
    clickExport(fm->LabSave);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(GridExportNameTest, TheSuggestedNameIsTheCaptionAndToday) {
    db::Clock::setFixed(QDateTime(QDate(2026, 3, 5), QTime(9, 0)));
    const struct {
        const char* caption;
        const char* name;
    } cases[] = {{"光盘出租", "光盘出租_2026-03-05.csv"},
                 {"", "列表_2026-03-05.csv"},
                 {"出租/归还", "出租_归还_2026-03-05.csv"}};
    for (const auto& c : cases)
        EXPECT_EQ(ui::suggestedExportName(QString::fromUtf8(c.caption)).toStdString(), std::string(c.name));
    db::Clock::setFixed(std::nullopt);
}

// Any grid view exports its own columns: dates, money and ticks as the grid shows them.
class GridViewExportTest : public AppTest {};

TEST_F(GridViewExportTest, DatesMoneyAndTicksAreWrittenAsShown) {
    exec(
        QStringLiteral("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, "
                       "CdName_TCdResource, RentPrice, Back) values (7, #2026-12-01#, \"A1\", \"甲\", 2.5, true)"));
    exec(
        QStringLiteral("insert into TRentList (Id_RentOperation, OccurDate, CdCountId_TCdResource, "
                       "CdName_TCdResource, RentPrice, Back) values (7, #2026-12-09#, \"A2\", \"乙\", 3, false)"));
    TGridFatherFm view;
    view.setWindowTitle(QStringLiteral("光盘出租"));
    view.GridMain->setColumns({{QStringLiteral("单号"), QStringLiteral("Id_RentOperation")},
                               {QStringLiteral("出租日期"), QStringLiteral("OccurDate"), ui::ColumnKind::Date},
                               {QStringLiteral("光盘名称"), QStringLiteral("CdName_TCdResource")},
                               {QStringLiteral("租金"), QStringLiteral("RentPrice"), ui::ColumnKind::Currency},
                               {QStringLiteral("是否归还"), QStringLiteral("Back"), ui::ColumnKind::Check}});
    view.Q->reopen(QStringLiteral("select * from TRentList"));
    view.GridMain->sortBy(QStringLiteral("OccurDate"), Qt::DescendingOrder);
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("desk.csv"));
    file_dialog_seam::setNextFileName(path);
    messages->expect(mkNotice, QStringLiteral("已将2条记录导出到文件 ") + QDir::toNativeSeparators(path));
    view.exportList();
    EXPECT_EQ(QFileInfo(file_dialog_seam::lastSuggestedPath()).fileName(), QStringLiteral("光盘出租_2026-12-10.csv"));
    const QVector<QStringList> expected = {{"单号", "出租日期", "光盘名称", "租金", "是否归还"},
                                           {"7", "2026-12-09", "乙", "3", "否"},
                                           {"7", "2026-12-01", "甲", "2.5", "是"}};
    EXPECT_EQ(readCsv(fileBytes(path)), expected);
}

}  // namespace
