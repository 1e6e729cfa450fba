#include "SkinManifest.h"

#include <QRegularExpression>

namespace skingen {

namespace {

// Splits a line into words; "..." keeps spaces inside one word (the quotes go).
QStringList Words(const QString &line)
{
    QStringList words;
    QString current;
    bool quoted = false;
    bool any = false;
    for (const QChar ch : line) {
        if (ch == u'"') {
            quoted = !quoted;
            any = true;
        } else if (ch.isSpace() && !quoted) {
            if (any)
                words << current;
            current.clear();
            any = false;
        } else {
            current += ch;
            any = true;
        }
    }
    if (any)
        words << current;
    return words;
}

bool ParsePairs(const QStringList &words, int from, Vars *vars, QString *bad)
{
    for (int i = from; i < words.size(); ++i) {
        const int eq = words[i].indexOf(u'=');
        if (eq <= 0) {
            *bad = words[i];
            return false;
        }
        vars->insert(words[i].left(eq).toUpper(), words[i].mid(eq + 1));
    }
    return true;
}

} // namespace

const QStringList &ButtonLooks()
{
    static const QStringList looks{QString(), QStringLiteral("-a"), QStringLiteral("-p"), QStringLiteral("-d")};
    return looks;
}

bool ParseManifest(const QString &text, SkinManifest *manifest, QString *error)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_.-]+$"));
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList words = Words(line);
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        QString bad;
        if (words[0] == u"style") {
            if (words.size() < 3 || !QStringList{"normal", "-a", "-p", "-d"}.contains(words[2])) {
                *error = where + QStringLiteral("style needs a name and a look (normal, -a, -p, -d)");
                return false;
            }
            Vars &vars = manifest->styles[words[1]][words[2] == u"normal" ? QString() : words[2]];
            if (!ParsePairs(words, 3, &vars, &bad)) {
                *error = where + QStringLiteral("expected KEY=value, got \"%1\"").arg(bad);
                return false;
            }
        } else if (words[0] == u"button" || words[0] == u"picture") {
            SkinItem item;
            item.line = n + 1;
            item.isButton = words[0] == u"button";
            bool okW = false;
            bool okH = false;
            if (words.size() >= 6) {
                item.folder = words[1];
                item.name = words[2];
                item.templateName = words[3];
                item.width = words[4].toInt(&okW);
                item.height = words[5].toInt(&okH);
            }
            if (!okW || !okH || item.width <= 0 || item.height <= 0 || !name.match(item.folder).hasMatch()
                || !name.match(item.name).hasMatch() || !name.match(item.templateName).hasMatch()) {
                *error = where + QStringLiteral("expected: %1 <folder> <name> <template> <width> <height> [key=value ...]").arg(words[0]);
                return false;
            }
            if (!ParsePairs(words, 6, &item.params, &bad)) {
                *error = where + QStringLiteral("expected key=value, got \"%1\"").arg(bad);
                return false;
            }
            const QString style = item.params.value(QStringLiteral("STYLE"));
            if (item.isButton && style.isEmpty()) {
                *error = where + QStringLiteral("a button needs style=...");
                return false;
            }
            manifest->items.append(item);
        } else {
            *error = where + QStringLiteral("unknown kind \"%1\"").arg(words[0]);
            return false;
        }
    }
    for (const SkinItem &item : manifest->items) {
        const QString style = item.params.value(QStringLiteral("STYLE"));
        if (!style.isEmpty() && !manifest->styles.contains(style)) {
            *error = QStringLiteral("line %1: unknown style \"%2\"").arg(item.line).arg(style);
            return false;
        }
    }
    return true;
}

} // namespace skingen
