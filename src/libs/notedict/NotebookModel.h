#pragma once
// Logic of the word notebook window (no widgets): the words of a lesson range or of the
// whole notebook, search, sort, delete, meaning edits (written at once), export to a CSV
// file for flash-card programs, and the messages to the owner window: 2261 with a word's
// source number when the learner asks for the source, 2260 with the window's position
// (twips) when it closes.
#include "NoteSourceRef.h"
#include "NotebookStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>

namespace mvx {

// A word's phonetic by the dictionary's rule (its own, else its base's, named), for words
// saved without one; empty without an open dictionary.
[[nodiscard]] QString ShownPhonetic(const QString &word);

class NotebookModel final
{
public:
    enum class SortKey { Added, Word, Source };

    // Opens the notebook and loads the words of rangeText ("#kbt|book|first|last"; empty
    // for all words). Returns the number of words shown, -1 when none (or the files are
    // missing). message() holds a note for the learner (a damaged file set aside).
    int load(QObject *owner, const QString &noteFile, const QString &libFile, const QString &rangeText);
    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] bool isLoaded() const { return m_store.isOpen(); }

    [[nodiscard]] const QList<NoteWord> &rows() const { return m_rows; }
    [[nodiscard]] int totalCount() const { return m_store.count(); }
    [[nodiscard]] bool hasRange() const { return m_range.isValid(); }
    // With a lesson range: show only its words (default) or every word of the notebook.
    [[nodiscard]] bool onlyRange() const { return m_onlyRange; }
    void setOnlyRange(bool only);
    void setFilter(const QString &text);
    [[nodiscard]] QString filter() const { return m_filter; }
    void setSort(SortKey key, bool descending);
    [[nodiscard]] SortKey sortKey() const { return m_sortKey; }
    [[nodiscard]] bool sortDescending() const { return m_descending; }
    // The next of the sort orders the Sort button steps through.
    void cycleSort();
    [[nodiscard]] QString sortName() const;

    [[nodiscard]] int rowOf(qint64 id) const;
    bool removeWord(qint64 id);
    bool setMeaning(qint64 id, const QString &meaning);
    // UTF-8 with BOM, CR LF, one word a line: word, meaning, phonetic, example.
    bool exportCsv(const QString &path, QString *error = nullptr) const;
    [[nodiscard]] static QString csvField(const QString &text);

    // Sends 2261 with the word's source number; false when it has none.
    bool showSource(qint64 id);
    // Sends 2260 (left, top). The window calls it once, when it closes.
    void reportClosed(int leftTwips, int topTwips);
    // Where a window stored at `at` shows: there while enough of its top (where it is
    // dragged) lies on one of the screens, else moved inside the first one.
    [[nodiscard]] static QPoint placeOnScreen(const QPoint &at, const QSize &size, const QList<QRect> &screens);

    // Words of the list's scope (the lesson's while only those are shown, else all) due by
    // nowMs, and the range text a review of that scope uses ("" for the whole notebook).
    [[nodiscard]] int dueCount(qint64 nowMs) const;
    [[nodiscard]] QString reviewRange() const;
    [[nodiscard]] QString noteFile() const { return m_noteFile; }
    [[nodiscard]] QString libFile() const { return m_libFile; }
    // Reads the words again (after a review changed them).
    void reload() { refresh(); }

    // Buttons the owner may hide (bcNote_ShowButton): "btShowSource", "btMatchWithSrc", "Sort".
    void setButtonVisible(const QString &name, bool visible);
    [[nodiscard]] bool isButtonVisible(const QString &name) const;

private:
    void refresh();

    NotebookStore m_store;
    QPointer<QObject> m_owner;
    NoteSourceRef m_range;
    QString m_noteFile, m_libFile;
    bool m_onlyRange = true;
    QString m_filter;
    SortKey m_sortKey = SortKey::Added;
    bool m_descending = false;
    QList<NoteWord> m_rows;
    QHash<QString, bool> m_hidden;
    QString m_message;
};

} // namespace mvx
