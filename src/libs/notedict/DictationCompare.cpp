#include "notedict/DictationCompare.h"

#include "libs/sentra/SentenceWords.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <optional>

namespace mvx {

namespace {

// A word of the text or of the answer, with the tokens it counts as.
struct Unit
{
    QString shown;
    QString raw;          // folded
    QStringList tokens;
    bool digitGroup = false; // digits that a following ",ddd" continues
    bool percent = false;
};

const QHash<QString, int> &NumberWords()
{
    static const QHash<QString, int> words = {
        {"zero", 0},       {"one", 1},        {"two", 2},       {"three", 3},     {"four", 4},
        {"five", 5},       {"six", 6},        {"seven", 7},     {"eight", 8},     {"nine", 9},
        {"ten", 10},       {"eleven", 11},    {"twelve", 12},   {"thirteen", 13}, {"fourteen", 14},
        {"fifteen", 15},   {"sixteen", 16},   {"seventeen", 17}, {"eighteen", 18}, {"nineteen", 19},
        {"twenty", 20},    {"thirty", 30},    {"forty", 40},    {"fifty", 50},    {"sixty", 60},
        {"seventy", 70},   {"eighty", 80},    {"ninety", 90},   {"hundred", 100}, {"thousand", 1000},
        {"million", 1000000}};
    return words;
}

const QHash<QString, QString> &OrdinalWords()
{
    static const QHash<QString, QString> words = {
        {"first", "one"},       {"second", "two"},      {"third", "three"},       {"fourth", "four"},
        {"fifth", "five"},      {"sixth", "six"},       {"seventh", "seven"},     {"eighth", "eight"},
        {"ninth", "nine"},      {"tenth", "ten"},       {"eleventh", "eleven"},   {"twelfth", "twelve"},
        {"thirteenth", "thirteen"}, {"fourteenth", "fourteen"}, {"fifteenth", "fifteen"},
        {"sixteenth", "sixteen"},   {"seventeenth", "seventeen"}, {"eighteenth", "eighteen"},
        {"nineteenth", "nineteen"}, {"twentieth", "twenty"}, {"thirtieth", "thirty"}, {"fortieth", "forty"},
        {"fiftieth", "fifty"},  {"sixtieth", "sixty"},  {"seventieth", "seventy"}, {"eightieth", "eighty"},
        {"ninetieth", "ninety"}, {"hundredth", "hundred"}, {"thousandth", "thousand"}, {"millionth", "million"}};
    return words;
}

bool IsNumberWord(const QString &w)
{
    return NumberWords().contains(w) || OrdinalWords().contains(w);
}

// "0012.50" -> "12.5"
QString CanonicalDigits(QString digits)
{
    QString whole = digits.section(QLatin1Char('.'), 0, 0);
    QString frac = digits.contains(QLatin1Char('.')) ? digits.section(QLatin1Char('.'), 1) : QString();
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    while (frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    return QLatin1Char('#') + whole + (frac.isEmpty() ? QString() : QLatin1Char('.') + frac);
}

// The value of a run of number words as one token, or nothing when the run is not one number.
std::optional<QString> NumberRunValue(QStringList words)
{
    words.removeAll(QStringLiteral("and"));
    if (words.isEmpty())
        return std::nullopt;
    bool ordinal = false;
    for (int i = 0; i < words.size(); ++i) {
        if (OrdinalWords().contains(words[i])) {
            if (i != words.size() - 1)
                return std::nullopt;
            ordinal = true;
            words[i] = OrdinalWords().value(words[i]);
        }
    }
    const bool scaled = std::any_of(words.begin(), words.end(), [](const QString &w) { return NumberWords().value(w) >= 100; });
    qint64 value = 0;
    if (!scaled) {
        // Groups below a hundred: "ninety eight" is one, "nineteen ninety eight" a year pair.
        QVector<int> groups;
        bool openTens = false;
        for (const QString &w : words) {
            const int v = NumberWords().value(w);
            if (openTens && v < 10 && v > 0) {
                groups.last() += v;
                openTens = false;
            } else {
                groups.push_back(v);
                openTens = v >= 20;
            }
        }
        if (groups.size() == 1)
            value = groups[0];
        else if (groups.size() == 2 && groups[0] >= 10 && groups[1] >= 10)
            value = groups[0] * 100 + groups[1];
        else
            return std::nullopt;
    } else {
        qint64 current = 0;
        for (const QString &w : words) {
            const int v = NumberWords().value(w);
            if (v == 100) {
                current = (current ? current : 1) * 100;
            } else if (v >= 1000) {
                value += (current ? current : 1) * v;
                current = 0;
            } else {
                current += v;
            }
        }
        value += current;
        if (value > 999999999)
            return std::nullopt;
    }
    return QStringLiteral("#%1%2").arg(value).arg(ordinal ? QStringLiteral("o") : QString());
}

// The tokens of one folded word: hyphens split it, contractions expand, digits become values.
QStringList ExpandWord(const QString &raw)
{
    static const QRegularExpression digits(QStringLiteral("^\\d+(\\.\\d+)?$"));
    static const QRegularExpression ordinal(QStringLiteral("^(\\d+)(st|nd|rd|th)$"));
    static const QSet<QString> isHas = {"he", "she", "it", "here", "there", "what", "where", "who", "how", "that"};
    QStringList tokens;
    for (QString p : raw.split(QLatin1Char('-'), Qt::SkipEmptyParts)) {
        if (!digits.match(p).hasMatch())
            p.remove(QLatin1Char('.'));
        if (p.isEmpty())
            continue;
        if (digits.match(p).hasMatch()) {
            tokens << CanonicalDigits(p);
            continue;
        }
        if (const auto m = ordinal.match(p); m.hasMatch()) {
            tokens << CanonicalDigits(m.captured(1)) + QLatin1Char('o');
            continue;
        }
        if (p == QLatin1String("cannot")) {
            tokens << QStringLiteral("can") << QStringLiteral("not");
        } else if (p.endsWith(QLatin1String("n't"))) {
            QString base = p.chopped(3);
            if (base == QLatin1String("ca"))
                base = QStringLiteral("can");
            else if (base == QLatin1String("wo"))
                base = QStringLiteral("will");
            else if (base == QLatin1String("sha"))
                base = QStringLiteral("shall");
            tokens << base << QStringLiteral("not");
        } else if (p == QLatin1String("let's")) {
            tokens << QStringLiteral("let") << QStringLiteral("us");
        } else if (p.endsWith(QLatin1String("'re"))) {
            tokens << p.chopped(3) << QStringLiteral("are");
        } else if (p.endsWith(QLatin1String("'ve"))) {
            tokens << p.chopped(3) << QStringLiteral("have");
        } else if (p.endsWith(QLatin1String("'ll"))) {
            tokens << p.chopped(3) << QStringLiteral("will");
        } else if (p.endsWith(QLatin1String("'m"))) {
            tokens << p.chopped(2) << QStringLiteral("am");
        } else if (p.endsWith(QLatin1String("'d"))) {
            tokens << p.chopped(2) << QStringLiteral("~would|had");
        } else if (p.endsWith(QLatin1String("'s")) && isHas.contains(p.chopped(2))) {
            tokens << p.chopped(2) << QStringLiteral("~is|has");
        } else {
            tokens << p; // a possessive or another inner apostrophe counts as written
        }
    }
    return tokens;
}

QVector<Unit> Units(const QString &input)
{
    QString s = input.normalized(QString::NormalizationForm_KC);
    s.replace(QChar(0x2019), QLatin1Char('\'')).replace(QChar(0x2018), QLatin1Char('\''));
    QVector<Unit> units;
    QString gap; // the text since the last word
    for (const sentra::SentenceWords::Piece &piece : sentra::SentenceWords::split(s)) {
        if (!piece.isWord) {
            gap = piece.text.toString();
            if (gap.contains(QLatin1Char('%')) && !units.isEmpty())
                units.last().percent = true;
            continue;
        }
        const QString raw = piece.text.toString().toCaseFolded();
        const bool allDigits = std::all_of(raw.begin(), raw.end(), [](QChar c) { return c.isDigit(); });
        if (allDigits && raw.size() == 3 && gap == QLatin1String(",") && !units.isEmpty() && units.last().digitGroup
            && !units.last().percent) {
            units.last().shown += gap + piece.text.toString();
            units.last().raw += raw;
        } else {
            units.push_back({piece.text.toString(), raw, {}, allDigits, false});
        }
        gap.clear();
    }
    for (Unit &u : units) {
        u.tokens = ExpandWord(u.raw);
        if (u.percent)
            u.tokens << QStringLiteral("percent");
    }
    // Runs of number words make one value; "per cent" is "percent".
    QVector<Unit> merged;
    for (int i = 0; i < units.size();) {
        const auto numeric = [&](int j) {
            return j < units.size() && !units[j].tokens.isEmpty() && !units[j].percent
                   && std::all_of(units[j].tokens.begin(), units[j].tokens.end(), IsNumberWord);
        };
        if (units[i].raw == QLatin1String("per") && i + 1 < units.size() && units[i + 1].raw == QLatin1String("cent")) {
            Unit u = units[i + 1];
            u.shown = units[i].shown + QLatin1Char(' ') + u.shown;
            u.tokens = {QStringLiteral("percent")};
            merged.push_back(u);
            i += 2;
            continue;
        }
        if (!numeric(i)) {
            merged.push_back(units[i++]);
            continue;
        }
        int end = i + 1;
        while (numeric(end) || (end + 1 < units.size() && units[end].raw == QLatin1String("and") && numeric(end + 1)))
            end += numeric(end) ? 1 : 2;
        QStringList words;
        QStringList shown;
        for (int j = i; j < end; ++j) {
            words << units[j].tokens;
            shown << units[j].shown;
        }
        if (const auto value = NumberRunValue(words)) {
            merged.push_back({shown.join(QLatin1Char(' ')), QString(), {*value}, false, false});
        } else {
            for (int j = i; j < end; ++j) {
                Unit u = units[j];
                if (const auto v = NumberRunValue(u.tokens))
                    u.tokens = {*v};
                merged.push_back(u);
            }
        }
        i = end;
    }
    // A percent sign after a number word run stays with the run's last word.
    return merged;
}

bool Same(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (!a.startsWith(QLatin1Char('~')) && !b.startsWith(QLatin1Char('~')))
        return false; // the common case: no alternatives to try
    const auto options = [](const QString &t) {
        return t.startsWith(QLatin1Char('~')) ? t.mid(1).split(QLatin1Char('|')) : QStringList{t};
    };
    const QStringList oa = options(a);
    const QStringList ob = options(b);
    return std::any_of(oa.begin(), oa.end(), [&](const QString &x) { return ob.contains(x); });
}

} // namespace

DictationResult CompareDictation(const QString &text, const QString &typed)
{
    const QVector<Unit> tu = Units(text);
    const QVector<Unit> yu = Units(typed);
    QStringList t, y;
    QVector<int> tOwner, yOwner;
    for (int i = 0; i < tu.size(); ++i)
        for (const QString &tok : tu[i].tokens) {
            t << tok;
            tOwner << i;
        }
    for (int i = 0; i < yu.size(); ++i)
        for (const QString &tok : yu[i].tokens) {
            y << tok;
            yOwner << i;
        }
    const int n = int(t.size());
    const int m = int(y.size());
    // Least changes first; among alignments as cheap, the one with the most matched words
    // (a correctly typed word is never marked for the sake of a tie); then wrong words
    // before a missing and an extra one.
    struct Cell
    {
        int cost = 0;
        int matches = 0;
        bool operator<(const Cell &o) const { return cost != o.cost ? cost < o.cost : matches > o.matches; }
        bool operator==(const Cell &o) const { return cost == o.cost && matches == o.matches; }
    };
    std::vector<Cell> d((n + 1) * (m + 1));
    const auto at = [&](int i, int j) -> Cell & { return d[i * (m + 1) + j]; };
    std::vector<char> sameCache(size_t(n) * size_t(m));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
            sameCache[size_t(i) * m + j] = Same(t[i], y[j]) ? 1 : 0;
    const auto diag = [&](int i, int j) {
        const bool same = sameCache[size_t(i - 1) * m + (j - 1)] != 0;
        return Cell{at(i - 1, j - 1).cost + (same ? 0 : 1), at(i - 1, j - 1).matches + (same ? 1 : 0)};
    };
    const auto up = [&](int i, int j) { return Cell{at(i - 1, j).cost + 1, at(i - 1, j).matches}; };
    const auto left = [&](int i, int j) { return Cell{at(i, j - 1).cost + 1, at(i, j - 1).matches}; };
    for (int i = 0; i <= n; ++i)
        at(i, 0) = {i, 0};
    for (int j = 0; j <= m; ++j)
        at(0, j) = {j, 0};
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= m; ++j)
            at(i, j) = std::min({diag(i, j), up(i, j), left(i, j)});

    // The alignment, back to front: pairs (text token, typed token), -1 for none.
    QVector<QPair<int, int>> ops;
    for (int i = n, j = m; i > 0 || j > 0;) {
        if (i > 0 && j > 0 && diag(i, j) == at(i, j)) {
            ops.push_front({--i, --j});
        } else if (i > 0 && (j == 0 || up(i, j) == at(i, j))) {
            ops.push_front({--i, -1});
        } else {
            ops.push_front({-1, --j});
        }
    }
    QVector<int> tMatched(n, 0), tAligned(n, 0), yRight(m, 0), yAligned(m, 0);
    for (const auto &[i, j] : ops) {
        if (i >= 0 && j >= 0) {
            tAligned[i] = yAligned[j] = 1;
            tMatched[i] = yRight[j] = Same(t[i], y[j]) ? 1 : 0;
        }
    }
    DictationResult r;
    r.total = int(tu.size());
    QVector<DictationMark::Kind> tKind(tu.size(), DictationMark::Missing);
    for (int u = 0; u < tu.size(); ++u) {
        bool all = true, any = false;
        for (int i = 0; i < n; ++i)
            if (tOwner[i] == u) {
                all = all && tMatched[i];
                any = any || tAligned[i];
            }
        tKind[u] = all ? DictationMark::Right : any ? DictationMark::Wrong : DictationMark::Missing;
        r.right += tKind[u] == DictationMark::Right ? 1 : 0;
        r.textWords.push_back({tKind[u], tu[u].shown});
    }
    QVector<DictationMark::Kind> yKind(yu.size(), DictationMark::Extra);
    for (int u = 0; u < yu.size(); ++u) {
        bool all = true, any = false;
        for (const auto &[i, j] : ops)
            if (j >= 0 && yOwner[j] == u) {
                any = any || yAligned[j];
                all = all && yRight[j] && i >= 0 && tKind[tOwner[i]] == DictationMark::Right;
            }
        yKind[u] = all ? DictationMark::Right : any ? DictationMark::Wrong : DictationMark::Extra;
    }
    QSet<int> shownText, shownTyped;
    for (const auto &[i, j] : ops) {
        if (j >= 0 && !shownTyped.contains(yOwner[j])) {
            shownTyped.insert(yOwner[j]);
            r.shown.push_back({yKind[yOwner[j]], yu[yOwner[j]].shown});
        } else if (j < 0 && tKind[tOwner[i]] == DictationMark::Missing && !shownText.contains(tOwner[i])) {
            shownText.insert(tOwner[i]);
            r.shown.push_back({DictationMark::Missing, QStringLiteral("＿")});
        }
    }
    return r;
}

} // namespace mvx
