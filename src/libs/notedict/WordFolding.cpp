#include "WordFolding.h"

namespace mvx {

namespace {
QString NormaliseBlanksAndQuotes(const QString &text)
{
    QString s;
    s.reserve(text.size());
    bool blank = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0x2019 || u == 0x2018 || u == 0x02BC || u == 0x0060 || u == 0x00B4)
            c = u'\'';
        else if (u == 0x2010 || u == 0x2011 || u == 0x2013)
            c = u'-';
        if (c.isSpace() || u == 0) {
            blank = true;
            continue;
        }
        if (blank && !s.isEmpty())
            s += u' ';
        blank = false;
        s += c;
    }
    return s;
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

void AddUnique(QStringList &list, const QString &s)
{
    if (!s.isEmpty() && !list.contains(s, Qt::CaseInsensitive))
        list << s;
}
} // namespace

QByteArray FoldKey(const QString &word)
{
    return NormaliseBlanksAndQuotes(word).toLower().toUtf8();
}

QStringList LookupCandidates(const QString &text)
{
    const QString s = NormaliseBlanksAndQuotes(text);
    int b = 0, e = int(s.size());
    while (b < e && !IsWordChar(s.at(b)))
        ++b;
    while (e > b && !IsWordChar(s.at(e - 1)))
        --e;
    if (b >= e)
        return {};
    const QString core = s.mid(b, e - b);
    QStringList out;
    // "U.S." and "etc." keep their closing dot when the data has them that way.
    if (e < s.size() && s.at(e) == u'.')
        AddUnique(out, core + u'.');
    AddUnique(out, core);
    if (core.endsWith(QStringLiteral("'s"), Qt::CaseInsensitive) && core.size() > 2)
        AddUnique(out, core.left(core.size() - 2));
    else if (e < s.size() && s.at(e) == u'\'' && core.endsWith(u's', Qt::CaseInsensitive))
        AddUnique(out, core); // plural possessive "teachers'" looks up "teachers"
    else if (core.endsWith(QStringLiteral("'d"), Qt::CaseInsensitive) || core.endsWith(QStringLiteral("'ll"), Qt::CaseInsensitive))
        AddUnique(out, core.left(core.lastIndexOf(u'\'')));
    return out;
}

} // namespace mvx
