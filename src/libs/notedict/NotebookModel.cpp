#include "NotebookModel.h"

#include "EcDictionary.h"
#include "NoteDictLib.h"

#include "core/CsvField.h"
#include "core/CustomEvents.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>

namespace mvx {

QString ShownPhonetic(const QString &word)
{
    const EcDictionary *dict = EcDictFromHandle(NoteDict().dictHandle);
    return dict ? dict->lookup(word).headPhonetic(false) : QString();
}

int NotebookModel::load(QObject *owner, const QString &noteFile, const QString &libFile, const QString &rangeText)
{
    m_owner = owner;
    m_message.clear();
    m_rows.clear();
    m_range = NoteSourceRef::parse(rangeText);
    m_onlyRange = true;
    m_noteFile = noteFile;
    m_libFile = libFile;
    if (!m_store.open(noteFile, libFile, false)) {
        m_message = m_store.message();
        return -1;
    }
    m_message = m_store.message();
    refresh();
    return m_rows.isEmpty() ? -1 : int(m_rows.size());
}

int NotebookModel::dueCount(qint64 nowMs) const
{
    return int(m_store.dueWords(nowMs, NoteSourceRef::parse(reviewRange())).size());
}

QString NotebookModel::reviewRange() const
{
    return m_onlyRange && m_range.isValid()
               ? u'#' + m_range.tag + u'|' + m_range.book + u'|' + QString::number(m_range.first) + u'|'
                     + QString::number(m_range.last)
               : QString();
}

void NotebookModel::setOnlyRange(bool only)
{
    m_onlyRange = only;
    refresh();
}

void NotebookModel::setFilter(const QString &text)
{
    m_filter = text.trimmed();
    refresh();
}

void NotebookModel::setSort(SortKey key, bool descending)
{
    m_sortKey = key;
    m_descending = descending;
    refresh();
}

void NotebookModel::cycleSort()
{
    // Added (oldest first) -> A to Z -> Z to A -> by source -> newest first -> ...
    if (m_sortKey == SortKey::Added && !m_descending)
        setSort(SortKey::Word, false);
    else if (m_sortKey == SortKey::Word && !m_descending)
        setSort(SortKey::Word, true);
    else if (m_sortKey == SortKey::Word)
        setSort(SortKey::Source, false);
    else if (m_sortKey == SortKey::Source)
        setSort(SortKey::Added, true);
    else
        setSort(SortKey::Added, false);
}

QString NotebookModel::sortName() const
{
    switch (m_sortKey) {
    case SortKey::Word: return m_descending ? QStringLiteral("按字母倒序") : QStringLiteral("按字母顺序");
    case SortKey::Source: return QStringLiteral("按出处");
    case SortKey::Added: break;
    }
    return m_descending ? QStringLiteral("最新加入在前") : QStringLiteral("按加入先后");
}

void NotebookModel::refresh()
{
    m_rows = m_store.words(m_onlyRange ? m_range : NoteSourceRef{}, m_range);
    for (NoteWord &w : m_rows)
        if (w.third.isEmpty())
            w.third = ShownPhonetic(w.word);
    if (!m_filter.isEmpty()) {
        m_rows.removeIf([this](const NoteWord &w) {
            return !w.word.contains(m_filter, Qt::CaseInsensitive) && !w.meaning.contains(m_filter, Qt::CaseInsensitive);
        });
    }
    const auto less = [this](const NoteWord &a, const NoteWord &b) {
        switch (m_sortKey) {
        case SortKey::Word: {
            const int c = a.word.compare(b.word, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a.id < b.id;
        }
        case SortKey::Source: {
            const NoteSourceRef ra = NoteSourceRef::parse(a.source), rb = NoteSourceRef::parse(b.source);
            const int c = ra.book.compare(rb.book, Qt::CaseInsensitive);
            if (c != 0)
                return c < 0;
            return ra.first != rb.first ? ra.first < rb.first : a.id < b.id;
        }
        case SortKey::Added: break;
        }
        return a.added != b.added ? a.added < b.added : a.id < b.id;
    };
    std::stable_sort(m_rows.begin(), m_rows.end(), less);
    if (m_descending)
        std::reverse(m_rows.begin(), m_rows.end());
}

int NotebookModel::rowOf(qint64 id) const
{
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).id == id)
            return i;
    return -1;
}

bool NotebookModel::removeWord(qint64 id)
{
    const bool ok = m_store.removeWord(id);
    refresh();
    return ok;
}

bool NotebookModel::setMeaning(qint64 id, const QString &meaning)
{
    const bool ok = m_store.setMeaning(id, meaning);
    refresh();
    return ok;
}

QString NotebookModel::csvField(const QString &text)
{
    return CsvField(text);
}

bool NotebookModel::exportCsv(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1：%2").arg(path, f.errorString());
        return false;
    }
    QByteArray out("\xEF\xBB\xBF");
    for (const NoteWord &w : m_rows) {
        const QStringList fields{w.word, w.meaning, w.third, w.example};
        QStringList quoted;
        for (const QString &s : fields)
            quoted << csvField(s);
        out += quoted.join(u',').toUtf8() + "\r\n";
    }
    if (f.write(out) != out.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("无法写入文件 %1：%2").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool NotebookModel::showSource(qint64 id)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    const int number = m_rows.at(row).sourceNumber();
    if (number < 0 || !m_owner)
        return false;
    PrivateMessageEvent ev(MsgShowWordSource, number);
    QCoreApplication::sendEvent(m_owner, &ev);
    return true;
}

void NotebookModel::reportClosed(int leftTwips, int topTwips)
{
    if (!m_owner)
        return;
    PrivateMessageEvent ev(MsgNotebookClosed, leftTwips, topTwips);
    QCoreApplication::sendEvent(m_owner, &ev);
}

void NotebookModel::setButtonVisible(const QString &name, bool visible)
{
    m_hidden[name.toLower()] = !visible;
}

bool NotebookModel::isButtonVisible(const QString &name) const
{
    return !m_hidden.value(name.toLower(), false);
}

QPoint NotebookModel::placeOnScreen(const QPoint &at, const QSize &size, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return at;
    // The top band the learner grabs to move the window must stay reachable.
    const QRect grip(at, QSize(size.width(), std::min(size.height(), 30)));
    for (const QRect &screen : screens) {
        const QRect seen = grip.intersected(screen);
        if (seen.width() >= std::min(grip.width(), 100) && seen.height() >= grip.height())
            return at;
    }
    const QRect &first = screens.first();
    return {std::clamp(at.x(), first.left(), std::max(first.left(), first.right() + 1 - size.width())),
            std::clamp(at.y(), first.top(), std::max(first.top(), first.bottom() + 1 - size.height()))};
}

} // namespace mvx
