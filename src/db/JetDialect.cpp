#include "db/JetDialect.h"

#include <optional>
#include <vector>

#include "db/Clock.h"
#include "db/Errors.h"

namespace jet {

QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

QString containsPattern(const QString& text) {
    return quoted(u'*' + text + u'*');
}

QString dateLiteral(const QDate& day) {
    return u'#' + db::dates::toDateText(day) + u'#';
}

namespace {

struct Token {
    enum Kind { Ident, Number, String, Date, Op };
    Kind kind;
    // A slice of the source text where possible (translation runs on every query), else a text of its own:
    // identifiers, numbers and operators as written; strings unescaped; dates in stored form.
    QStringView slice;
    QString owned;
    QStringView text() const { return owned.isNull() ? slice : QStringView(owned); }

    static Token of(Kind kind, QStringView slice) { return Token{kind, slice, QString()}; }
    static Token made(Kind kind, QString text) { return Token{kind, QStringView(), std::move(text)}; }
};

bool isIdentStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isIdentPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}
bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Keyword test without building strings: it runs for every identifier of every text.
bool is(const Token& t, const char* keyword) {
    if (t.kind != Token::Ident) return false;
    const QStringView text = t.text();
    int i = 0;
    for (; keyword[i]; ++i) {
        if (i >= text.size()) return false;
        char16_t c = text[i].unicode();
        if (c >= 'A' && c <= 'Z') c = char16_t(c + ('a' - 'A'));
        if (c != char16_t(keyword[i])) return false;
    }
    return i == text.size();
}
bool isOp(const Token& t, char op) {
    return t.kind == Token::Op && t.text().size() == 1 && t.text()[0] == QLatin1Char(op);
}

std::vector<Token> tokenize(const QString& source) {
    const QStringView s(source);
    std::vector<Token> tokens;
    tokens.reserve(s.size() / 4 + 4);
    const int n = s.size();
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            QString value;
            bool doubled = false;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s[j] == c) {
                    if (j + 1 < n && s[j + 1] == c) {
                        if (!doubled) value = s.mid(i + 1, j - i - 1).toString();
                        doubled = true;
                        value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                if (doubled) value += s[j];
                ++j;
            }
            if (!closed)
                throw db::Error(
                    QStringLiteral("Syntax error in string in query expression '%1'.").arg(s.mid(i).toString()));
            if (doubled)
                tokens.push_back(Token::made(Token::String, std::move(value)));
            else
                tokens.push_back(Token::of(Token::String, s.mid(i + 1, j - i - 2)));
            i = j;
        } else if (c == u'#') {
            const int close = s.indexOf(u'#', i + 1);
            const QString body = close < 0 ? QString() : s.mid(i + 1, close - i - 1).toString();
            const auto moment = db::dates::parse(body);
            if (close < 0 || !moment)
                throw db::Error(
                    QStringLiteral("Syntax error in date in query expression '%1'.").arg(s.mid(i).toString()));
            tokens.push_back(Token::made(Token::Date, db::dates::toStored(*moment)));
            i = close + 1;
        } else if (c == u'[') {
            const int close = s.indexOf(u']', i + 1);
            if (close < 0) throw db::Error(QStringLiteral("Invalid bracketing of name '%1'.").arg(s.mid(i).toString()));
            tokens.push_back(Token::made(
                Token::Ident,
                u'"' + s.mid(i + 1, close - i - 1).toString().replace(u'"', QStringLiteral("\"\"")) + u'"'));
            i = close + 1;
        } else if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(s[i + 1]))) {
            int j = i;
            while (j < n && isAsciiDigit(s[j])) ++j;
            if (j < n && s[j] == u'.') {
                ++j;
                while (j < n && isAsciiDigit(s[j])) ++j;
            }
            if (j < n && (s[j] == u'e' || s[j] == u'E')) {
                int k = j + 1;
                if (k < n && (s[k] == u'+' || s[k] == u'-')) ++k;
                if (k < n && isAsciiDigit(s[k])) {
                    j = k;
                    while (j < n && isAsciiDigit(s[j])) ++j;
                }
            }
            // "5and" is 5 followed by "and": the texts join a number and a keyword without a blank.
            tokens.push_back(Token::of(Token::Number, s.mid(i, j - i)));
            i = j;
        } else if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentPart(s[j])) ++j;
            tokens.push_back(Token::of(Token::Ident, s.mid(i, j - i)));
            i = j;
        } else {
            if (i + 1 < n) {
                const QChar d = s[i + 1];
                if ((c == u'<' && (d == u'=' || d == u'>')) || (c == u'>' && d == u'=') || (c == u'!' && d == u'=') ||
                    (c == u'|' && d == u'|')) {
                    tokens.push_back(Token::of(Token::Op, s.mid(i, 2)));
                    i += 2;
                    continue;
                }
            }
            tokens.push_back(Token::of(Token::Op, s.mid(i, 1)));
            ++i;
        }
    }
    return tokens;
}

// Index of the ")" that closes the "(" at open, or -1.
int matchingParen(const std::vector<Token>& t, int open, int end) {
    int depth = 0;
    for (int i = open; i < end; ++i) {
        if (isOp(t[i], '(')) ++depth;
        if (isOp(t[i], ')') && --depth == 0) return i;
    }
    return -1;
}

void rewrite(const std::vector<Token>& in, int begin, int end, std::vector<Token>& out) {
    for (int i = begin; i < end; ++i) {
        const Token& t = in[i];
        if (t.kind == Token::Ident) {
            const bool qualified = i > begin && isOp(in[i - 1], '.');
            if (!qualified && i + 1 < end && isOp(in[i + 1], '(') && is(t, "iif")) {
                const int close = matchingParen(in, i + 1, end);
                if (close > 0) {
                    std::vector<int> commas;
                    int depth = 0;
                    for (int k = i + 2; k < close; ++k) {
                        if (isOp(in[k], '(')) ++depth;
                        if (isOp(in[k], ')')) --depth;
                        if (depth == 0 && isOp(in[k], ',')) commas.push_back(k);
                    }
                    if (commas.size() == 2) {
                        out.push_back(Token::made(Token::Op, QStringLiteral("(")));
                        out.push_back(Token::made(Token::Ident, QStringLiteral("CASE")));
                        out.push_back(Token::made(Token::Ident, QStringLiteral("WHEN")));
                        rewrite(in, i + 2, commas[0], out);
                        out.push_back(Token::made(Token::Ident, QStringLiteral("THEN")));
                        rewrite(in, commas[0] + 1, commas[1], out);
                        out.push_back(Token::made(Token::Ident, QStringLiteral("ELSE")));
                        rewrite(in, commas[1] + 1, close, out);
                        out.push_back(Token::made(Token::Ident, QStringLiteral("END")));
                        out.push_back(Token::made(Token::Op, QStringLiteral(")")));
                        i = close;
                        continue;
                    }
                }
            }
            if (!qualified && (is(t, "true") || is(t, "false")) && !(i + 1 < end && isOp(in[i + 1], '('))) {
                out.push_back(Token::made(Token::Number, is(t, "true") ? QStringLiteral("1") : QStringLiteral("0")));
                continue;
            }
            if (is(t, "delete") && i + 2 < end && isOp(in[i + 1], '*') && is(in[i + 2], "from")) {
                out.push_back(t);
                ++i;  // the * of "delete * from" means nothing
                continue;
            }
        }
        out.push_back(t);
    }
}

// "A RIGHT [OUTER] JOIN B ON c" keeps every row of B, which is "B LEFT JOIN A ON c".
void swapRightJoins(std::vector<Token>& t) {
    for (size_t i = 1; i + 1 < t.size(); ++i) {
        if (!is(t[i], "right")) continue;
        size_t join = i + 1;
        if (is(t[join], "outer")) ++join;
        if (join + 1 >= t.size() || !is(t[join], "join")) continue;
        Token& left = t[i - 1];
        Token& right = t[join + 1];
        if (left.kind != Token::Ident || right.kind != Token::Ident) continue;
        std::swap(left, right);
        t[i] = Token::made(Token::Ident, QStringLiteral("LEFT"));
    }
}

QString render(const std::vector<Token>& t, size_t begin, size_t end) {
    QString out;
    out.reserve(int(end - begin) * 8);
    for (size_t i = begin; i < end; ++i) {
        const Token& tok = t[i];
        // Qualified names stay together: TCdResource.Types
        if (i > begin && !isOp(tok, '.') && !isOp(t[i - 1], '.')) out += u' ';
        switch (tok.kind) {
            case Token::String:
            case Token::Date:
                out += u'\'';
                for (QChar c : tok.text()) {
                    if (c == u'\'') out += u'\'';
                    out += c;
                }
                out += u'\'';
                break;
            default:
                out += tok.text();
        }
    }
    return out;
}

bool isAggregate(const Token& t) {
    return is(t, "count") || is(t, "sum") || is(t, "max") || is(t, "min") || is(t, "avg") || is(t, "first") ||
           is(t, "last");
}

void analyse(const std::vector<Token>& t, Translation& result) {
    if (t.empty() || !is(t[0], "select")) return;
    result.isSelect = true;
    size_t from = 0;
    int depth = 0;
    for (size_t i = 1; i < t.size(); ++i) {
        if (isOp(t[i], '(')) ++depth;
        if (isOp(t[i], ')')) --depth;
        if (depth != 0) continue;
        if (is(t[i], "from")) {
            from = i;
            break;
        }
        if (is(t[i], "distinct") || is(t[i], "top") || (isAggregate(t[i]) && i + 1 < t.size() && isOp(t[i + 1], '(')))
            return;
    }
    if (from == 0 || from + 1 >= t.size() || t[from + 1].kind != Token::Ident) return;
    const size_t tailStart = from + 2;
    if (tailStart < t.size() && !is(t[tailStart], "where") && !is(t[tailStart], "order")) return;
    depth = 0;
    for (size_t i = tailStart; i < t.size(); ++i) {
        if (isOp(t[i], '(')) ++depth;
        if (isOp(t[i], ')')) --depth;
        if (depth == 0 && (is(t[i], "group") || is(t[i], "union") || is(t[i], "having"))) return;
    }
    result.table = t[from + 1].text().toString();
    result.selectList = render(t, 1, from);
    result.tail = render(t, tailStart, t.size());
}

}  // namespace

Translation translate(const QString& jetText) {
    const std::vector<Token> tokens = tokenize(jetText);
    std::vector<Token> out;
    out.reserve(tokens.size() + 8);
    rewrite(tokens, 0, int(tokens.size()), out);
    swapRightJoins(out);
    Translation result;
    result.sql = render(out, 0, out.size());
    analyse(out, result);
    return result;
}

namespace {
struct PatternItem {
    enum Kind { Literal, AnyChar, Digit, Star, Set };
    explicit PatternItem(Kind k, QChar c = QChar()) : kind(k), ch(c) {}
    Kind kind;
    QChar ch;
    bool negated = false;
    std::vector<std::pair<QChar, QChar>> ranges;

    bool matches(QChar c) const {
        switch (kind) {
            case Literal:
                return c == ch;
            case AnyChar:
                return true;
            case Digit:
                return c.isDigit();
            case Set: {
                bool in = false;
                for (const auto& [lo, hi] : ranges)
                    if (c >= lo && c <= hi) in = true;
                return in != negated;
            }
            case Star:
                return false;
        }
        return false;
    }
};

std::vector<PatternItem> compilePattern(const QString& raw) {
    const QString p = raw.toCaseFolded();
    std::vector<PatternItem> items;
    for (int i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == u'*') {
            if (items.empty() || items.back().kind != PatternItem::Star)
                items.push_back(PatternItem(PatternItem::Star));
        } else if (c == u'?') {
            items.push_back(PatternItem(PatternItem::AnyChar));
        } else if (c == u'#') {
            items.push_back(PatternItem(PatternItem::Digit));
        } else if (c == u'[' && p.indexOf(u']', i + 2) > 0) {
            const int close = p.indexOf(u']', i + 2);  // "[]]" is not a set; "[*]" is a literal *
            PatternItem set(PatternItem::Set);
            int k = i + 1;
            if (p[k] == u'!' && k + 1 < close) {
                set.negated = true;
                ++k;
            }
            for (; k < close; ++k) {
                if (k + 2 < close && p[k + 1] == u'-') {
                    set.ranges.emplace_back(p[k], p[k + 2]);
                    k += 2;
                } else {
                    set.ranges.emplace_back(p[k], p[k]);
                }
            }
            items.push_back(std::move(set));
            i = close;
        } else {
            items.push_back(PatternItem(PatternItem::Literal, c));
        }
    }
    return items;
}

bool matchCompiled(const std::vector<PatternItem>& items, const QString& folded) {
    const int m = int(items.size());
    const int n = folded.size();
    int p = 0, s = 0, starP = -1, starS = 0;
    while (s < n) {
        if (p < m && items[p].kind != PatternItem::Star && items[p].matches(folded[s])) {
            ++p;
            ++s;
        } else if (p < m && items[p].kind == PatternItem::Star) {
            starP = p++;
            starS = s;
        } else if (starP >= 0) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < m && items[p].kind == PatternItem::Star) ++p;
    return p == m;
}
}  // namespace

bool likeMatch(const QString& pattern, const QString& text) {
    return matchCompiled(compilePattern(pattern), text.toCaseFolded());
}

struct LikePattern::Items {
    std::vector<PatternItem> items;
};

LikePattern::LikePattern(const QString& pattern) : items_(std::make_unique<Items>(Items{compilePattern(pattern)})) {}
LikePattern::~LikePattern() = default;

bool LikePattern::matches(const QString& text) const {
    return matchCompiled(items_->items, text.toCaseFolded());
}

}  // namespace jet
