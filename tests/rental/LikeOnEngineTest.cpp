#include "support/Fixture.h"

namespace {

class LikeOnEngineTest : public testing_support::AppTest {};

// The lookups run like() over every title: what the engine matches must be what the dialect means, whatever the
// letters of the stored text.
TEST_F(LikeOnEngineTest, StoredTextsMatchIgnoringCaseInEveryScript) {
    const char* const names[] = {"ABC-12", "abc-34", "影片12号", "ÜBER ärger", "x😀y", "Straße", "[A]*"};
    for (const char* name : names)
        exec(QStringLiteral("insert into TCdResource (CountId) values (") + jet::quoted(QString::fromUtf8(name)) +
             u')');
    struct Case {
        const char* pattern;
        qint64 matches;
    } cases[] = {
        {"*abc*", 2}, {"*C-1*", 1},   {"*片1*", 1},    {"*über*", 1},    {"*ÄRGER", 1},
        {"*😀*", 1},   {"x?y", 0},     {"x??y", 1},     {"*STRASSE*", 0}, {"*straße*", 1},
        {"*-##", 2},  {"*[[]a]*", 1}, {"*[!a-z]*", 7}, {"*", 7},         {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(count("TCdResource", "where CountId like " + jet::quoted(QString::fromUtf8(c.pattern))), c.matches)
            << c.pattern;
}

}  // namespace
