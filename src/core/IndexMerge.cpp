#include "IndexMerge.h"

#include <QSet>

namespace mvx {

namespace {

// One index line as the merge sees it: a category with its level and path of category
// texts, or an article with the path of its category and what names its lesson.
struct IndexLine
{
    enum class Kind { Other, Category, Article };
    Kind kind = Kind::Other;
    int level = 0;      // categories: 1 for a top category
    QStringList path;   // categories: down to this one; articles: of the enclosing category
    QString article;    // articles: library folder | book file | lesson number
};

QVector<IndexLine> Parse(const QStringList &lines)
{
    QVector<IndexLine> out;
    QStringList stack;
    QString folder;
    for (const QString &line : lines) {
        IndexLine l;
        if (line.startsWith(QLatin1String("CLAS"))) {
            bool ok = false;
            const int level = line.mid(4, 4).trimmed().toInt(&ok);
            if (ok && level >= 1 && level <= stack.size() + 1) {
                stack.resize(level - 1);
                stack << line.mid(8);
                if (level == 1) {
                    const qsizetype bars = line.indexOf(QLatin1String("||"));
                    folder = bars < 0 ? QString() : line.mid(bars + 2).trimmed();
                }
                l.kind = IndexLine::Kind::Category;
                l.level = level;
                l.path = stack;
            }
        } else if (line.startsWith(QLatin1String("FILE")) && !stack.isEmpty()) {
            const QStringList fields = line.mid(4).split(QLatin1Char('|'));
            if (fields.size() >= 4) {
                l.kind = IndexLine::Kind::Article;
                l.path = stack;
                l.article = folder + QLatin1Char('|') + fields[2].trimmed() + QLatin1Char('|') + fields[3].trimmed();
            }
        }
        out << l;
    }
    return out;
}

QSet<QString> ArticlesOf(const QVector<IndexLine> &parsed)
{
    QSet<QString> out;
    for (const IndexLine &l : parsed)
        if (l.kind == IndexLine::Kind::Article)
            out.insert(l.article);
    return out;
}

// The line where the category at `at` ends (the next category of its level or above).
qsizetype BlockEnd(const QVector<IndexLine> &parsed, qsizetype at)
{
    qsizetype end = at + 1;
    while (end < parsed.size()
           && !(parsed[end].kind == IndexLine::Kind::Category && parsed[end].level <= parsed[at].level))
        ++end;
    return end;
}

} // namespace

QStringList IndexMerge::Merge(const QStringList &learner, const QStringList &shipped, const QStringList &lastShipped,
                              bool hasLast, int *added)
{
    QStringList out = learner;
    int count = 0;
    const QVector<IndexLine> fromShipped = Parse(shipped);
    const QSet<QString> seen = hasLast ? ArticlesOf(Parse(lastShipped)) : QSet<QString>();
    QVector<IndexLine> mine = Parse(out);
    QSet<QString> present = ArticlesOf(mine);
    for (qsizetype i = 0; i < fromShipped.size(); ++i) {
        const IndexLine &a = fromShipped[i];
        if (a.kind != IndexLine::Kind::Article || seen.contains(a.article) || present.contains(a.article))
            continue;
        // The deepest category of the article's path the learner's index has.
        qsizetype at = -1;
        int depth = 0;
        for (qsizetype j = 0; j < mine.size(); ++j) {
            const IndexLine &c = mine[j];
            if (c.kind == IndexLine::Kind::Category && c.level > depth && c.level <= a.path.size()
                && c.path == a.path.mid(0, c.level)) {
                at = j;
                depth = c.level;
                if (depth == a.path.size())
                    break;
            }
        }
        QStringList insert;
        for (int level = depth + 1; level <= a.path.size(); ++level)
            insert << QStringLiteral("CLAS%1%2").arg(level, 4, 10, QLatin1Char('0')).arg(a.path[level - 1]);
        insert << shipped[i];
        qsizetype where = at < 0 ? out.size() : BlockEnd(mine, at);
        // Trailing blank lines stay at the end of the file.
        while (at < 0 && where > 0 && out[where - 1].trimmed().isEmpty())
            --where;
        for (const QString &line : insert)
            out.insert(where++, line);
        mine = Parse(out);
        present.insert(a.article);
        ++count;
    }
    if (added)
        *added = count;
    return out;
}

} // namespace mvx
