#pragma once
// Search over every sentence (English, Chinese, comment) of every sentence-book article of an
// article index, kept in a SQLite full-text file beside the index ("X.search" for "X.txt").
// At the first search of a run the file is brought up to date: only new or changed books are
// read again, books no longer listed are dropped, and a damaged (found at open or when a
// search reads it), foreign or older file is rebuilt (in memory, with a note, when it cannot
// be written). Plain logic: the library window's search and the command-line tool both use it.
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace mvx {

class SqliteDb;

struct LibraryHit
{
    int article = 0;   // position of the article in the index (0-based among articles)
    QString title;     // the article's title in the index
    QString bookFile;  // folder/book as the index gives it, relative to the current folder
    int lessonNo = 0;  // lesson number as in the index
    int sentence = 0;  // number of the sentence in its lesson (the title line is 0)
    QString english, chinese, comment;
};

struct LibrarySearchResult
{
    QVector<LibraryHit> hits;  // index order, then sentence number
    bool truncated = false;    // more hits than the limit asked for
    QStringList unreadable;    // listed books that could not be read
    QString note;              // e.g. the search file could not be written
    QString error;             // the query or the index could not be used; no hits then
};

class LibrarySearch final
{
public:
    static constexpr int FormatVersion = 2;

    // indexFile: the article index; the search file goes beside it.
    explicit LibrarySearch(QString indexFile);
    ~LibrarySearch();
    LibrarySearch(const LibrarySearch &) = delete;
    LibrarySearch &operator=(const LibrarySearch &) = delete;

    [[nodiscard]] static QString SearchFileFor(const QString &indexFile);
    // The words of a query as full-text phrases; empty when the query holds no letter, digit
    // or CJK character.
    [[nodiscard]] static QStringList QueryPhrases(const QString &query);
    // Text as it is stored for the full-text index: a blank around every CJK character.
    [[nodiscard]] static QString SpacedText(const QString &text);
    [[nodiscard]] static bool IsCjk(char32_t c);

    // Brings the search file up to date with the index and its books. False with error() set
    // when the index cannot be read.
    bool Refresh();
    // Searches, refreshing first when this object has not yet. limit < 0: every hit.
    LibrarySearchResult Search(const QString &query, int limit);

    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QString note() const { return m_note; }
    [[nodiscard]] QStringList unreadable() const { return m_unreadable; }
    // Books read again by the last Refresh (their file names as the index gives them).
    [[nodiscard]] QStringList reindexed() const { return m_reindexed; }
    [[nodiscard]] bool inMemory() const { return m_inMemory; }

private:
    bool openStore();
    bool createSchema();
    bool tablesUsable();
    LibrarySearchResult SearchOnce(const QString &query, int limit);
    bool indexBook(qint64 bookId, const QString &path);

    QString m_indexFile;
    std::unique_ptr<SqliteDb> m_db;
    bool m_refreshed = false;
    bool m_inMemory = false;
    QString m_error, m_note;
    QStringList m_unreadable, m_reindexed;
    bool m_damageSeen = false; // the last search failed on a damaged file
};

} // namespace mvx
