#include "DictEntry.h"

#include <QRegularExpression>

namespace mvx {

QString FormCodeName(QChar code)
{
    switch (code.unicode()) {
    case 'p': return QStringLiteral("过去式");
    case 'd': return QStringLiteral("过去分词");
    case 'i': return QStringLiteral("现在分词");
    case '3': return QStringLiteral("第三人称单数");
    case 'r': return QStringLiteral("比较级");
    case 't': return QStringLiteral("最高级");
    case 's': return QStringLiteral("复数");
    default: return {};
    }
}

QString RelationText(const QString &base, const QString &codes)
{
    QStringList names;
    for (QChar c : codes) {
        const QString n = FormCodeName(c);
        if (!n.isEmpty() && !names.contains(n))
            names << n;
    }
    if (names.isEmpty())
        return base + QStringLiteral(" 的变形");
    return base + QStringLiteral(" 的") + names.join(QStringLiteral("、"));
}

QList<QPair<QString, QString>> DictEntry::forms() const
{
    QList<QPair<QString, QString>> out;
    for (const QString &part : exchange.split(u'/', Qt::SkipEmptyParts)) {
        const int colon = part.indexOf(u':');
        if (colon != 1)
            continue;
        const QString name = FormCodeName(part.at(0));
        if (!name.isEmpty())
            out.append({name, part.mid(2)});
    }
    return out;
}

QStringList DictEntry::tagNames() const
{
    static const QList<QPair<QString, QString>> names = {
        {QStringLiteral("zk"), QStringLiteral("中考")},   {QStringLiteral("gk"), QStringLiteral("高考")},
        {QStringLiteral("cet4"), QStringLiteral("四级")}, {QStringLiteral("cet6"), QStringLiteral("六级")},
        {QStringLiteral("ky"), QStringLiteral("考研")},   {QStringLiteral("toefl"), QStringLiteral("托福")},
        {QStringLiteral("ielts"), QStringLiteral("雅思")}, {QStringLiteral("gre"), QStringLiteral("GRE")}};
    QStringList out;
    for (const auto &[tag, name] : names)
        if (tags.contains(tag))
            out << name;
    return out;
}

namespace {
// An entry whose every meaning line only says "go的过去式" adds nothing beyond its base.
bool OnlyRelationLines(const DictEntry &e)
{
    static const QRegularExpression rx(
        QStringLiteral("^\\S+\\s*的(过去式|过去分词|现在分词|第三人称单数|复数|比较级|最高级)"));
    if (e.translation.isEmpty())
        return true;
    for (const QString &line : e.translation)
        if (!rx.match(line.trimmed()).hasMatch())
            return false;
    return true;
}
} // namespace

const DictEntry &DictLookup::mainEntry() const
{
    if (!bases.isEmpty() && bases.first().entry.isValid() && (!entry.isValid() || OnlyRelationLines(entry)))
        return bases.first().entry;
    return entry;
}

QString DictLookup::headPhonetic(bool brackets) const
{
    const auto shown = [brackets](const QString &p) { return brackets ? u'[' + p + u']' : p; };
    if (entry.isValid() && !entry.phonetic.isEmpty())
        return shown(entry.phonetic);
    for (const DictBase &b : bases)
        if (b.entry.isValid() && !b.entry.phonetic.isEmpty())
            return shown(b.entry.phonetic) + QStringLiteral(" (") + b.entry.headWord + u')';
    return {};
}

QStringList DictLookup::meaningLines() const
{
    const DictEntry &main = mainEntry();
    QStringList out;
    if (&main != &entry) {
        for (const DictBase &b : bases)
            out << word + QStringLiteral(": ") + b.relation;
    }
    out << main.translation;
    if (&main == &entry) {
        // Say what base an inflected form belongs to unless its own lines already do.
        for (const DictBase &b : bases) {
            const QString marker = b.entry.headWord + QStringLiteral("的");
            bool said = false;
            for (const QString &l : main.translation)
                said = said || QString(l).remove(u' ').contains(marker, Qt::CaseInsensitive);
            if (!said)
                out << word + QStringLiteral(": ") + b.relation;
        }
    }
    return out;
}

} // namespace mvx
