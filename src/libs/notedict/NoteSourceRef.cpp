#include "NoteSourceRef.h"

#include <QStringList>

namespace mvx {

bool NoteSourceRef::contains(const NoteSourceRef &s) const
{
    return isValid() && s.isValid() && tag.compare(s.tag, Qt::CaseInsensitive) == 0
        && book.compare(s.book, Qt::CaseInsensitive) == 0 && s.first >= first && s.last <= last;
}

QString NoteSourceRef::toText() const
{
    if (!isValid())
        return {};
    QString t = u'#' + tag + u'|' + book + u'|' + QString::number(first);
    if (last != first)
        t += u'|' + QString::number(last);
    return t;
}

NoteSourceRef NoteSourceRef::parse(const QString &text)
{
    const QString t = text.trimmed();
    if (!t.startsWith(u'#'))
        return {};
    const QStringList parts = t.mid(1).split(u'|');
    if (parts.size() != 3 && parts.size() != 4)
        return {};
    NoteSourceRef r;
    bool ok1 = false, ok2 = true;
    r.tag = parts.at(0).trimmed();
    r.book = parts.at(1).trimmed();
    r.first = parts.at(2).trimmed().toInt(&ok1);
    r.last = parts.size() == 4 ? parts.at(3).trimmed().toInt(&ok2) : r.first;
    if (!ok1 || !ok2 || !r.isValid())
        return {};
    return r;
}

} // namespace mvx
