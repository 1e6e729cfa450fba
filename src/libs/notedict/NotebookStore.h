#pragma once
// The word notebook: a notebook file (SQLite: the words with their meaning, third text and
// source reference) and its companion ".lib" file (SQLite: the example sentence of each
// word). Both are attached to one connection, so every change commits to both files at
// once or to neither.
//
// open() checks both files. A file that is not a notebook or fails SQLite's check is set
// aside under a new name ("<name>.damaged-<time>") and a fresh one is made; message()
// then says so, in words for the learner. Nothing throws.
//
// A store kept open for many saves (the player's) can defer each word's example copy in the
// companion file (setDeferredLibCopies): the save then commits the notebook file alone, which
// keeps the example in "sources" too. The copies are written by flushLibCopies(), by close(),
// and before any other store of this process uses the same notebook; open() restores the
// copies a killed process left unwritten.
#include "NoteSourceRef.h"
#include "ReviewSchedule.h"

#include "core/SqliteDb.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace mvx {

struct NoteWord
{
    qint64 id = 0;
    QString word;
    QString meaning;
    QString third;    // a further text shown with the word (the phonetic from the pop-up)
    QString source;   // "#kbt|book.dat|57" or empty
    QString example;  // the sentence the word was saved from
    QDateTime added;
    QDateTime updated;
    ReviewState review; // the review schedule (clamped when read)

    [[nodiscard]] int sourceNumber() const { return NoteSourceRef::parse(source).first; }
};

class NotebookStore final
{
public:
    enum class AddResult { Failed = 0, Added = 1, Updated = 2 };

    NotebookStore() = default;
    ~NotebookStore();
    NotebookStore(const NotebookStore &) = delete;
    NotebookStore &operator=(const NotebookStore &) = delete;

    // create: make missing files; without it a missing file is an error.
    bool open(const QString &noteFile, const QString &libFile, bool create);
    // Writes the deferred example copies first.
    void close();
    [[nodiscard]] bool isOpen() const { return m_db.isOpen(); }
    // Set when open() had to set a damaged file aside, or why it failed.
    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] QString errorText() const { return m_error; }
    // The files as opened (absolute paths).
    [[nodiscard]] QString noteFile() const { return m_noteFile; }
    [[nodiscard]] QString libFile() const { return m_libFile; }
    // Both files are still the ones opened (not renamed, set aside or replaced since).
    [[nodiscard]] bool filesUnchanged() const;

    void setDeferredLibCopies(bool on) { m_deferLib = on; }
    // Writes the deferred example copies in one transaction of the companion file.
    bool flushLibCopies();

    // A word already in the notebook (case folded) is updated, never added twice; empty
    // new texts keep the stored ones.
    AddResult addWord(const QString &word, const QString &meaning, const QString &third,
                      const QString &source, const QString &example);
    bool removeWord(qint64 id);
    bool setMeaning(qint64 id, const QString &meaning);
    // All words, or only those saved from a sentence in the range (a valid NoteSourceRef
    // range). A word keeps every source it was saved from: the one shown is the latest inside
    // range (or prefer, when all words are listed), else the latest.
    [[nodiscard]] QList<NoteWord> words(const NoteSourceRef &range = {}, const NoteSourceRef &prefer = {}) const;
    // Words due by nowMs (of the range, when valid), the earliest due first.
    [[nodiscard]] QList<NoteWord> dueWords(qint64 nowMs, const NoteSourceRef &range = {}) const;
    // Stores an answer of the review in one transaction; after receives the new schedule.
    bool answer(qint64 id, ReviewSchedule::Grade grade, const QDateTime &now, ReviewState *after = nullptr);
    [[nodiscard]] NoteWord find(const QString &word) const;
    [[nodiscard]] int count() const;

    [[nodiscard]] static QString wordKey(const QString &word);
    // Words due for review, read-only; -1 when the file cannot be read as a notebook of
    // this format or older (see bcNote_DueCount). busyMs: how long a writer may block it.
    // nowMs < 0: the current time.
    [[nodiscard]] static int dueCount(const QString &noteFile, int busyMs, qint64 nowMs = -1);

private:
    bool prepareSchema();
    // Every store of this process on this notebook, this one included, writes its deferred
    // copies: a read or another change then sees the companion file complete.
    void settle() const;
    bool copyExamples(const QList<qint64> &ids);
    bool openMain(const QString &noteFile);
    bool attachLib(const QString &libFile);
    QString setAside(const QString &file);
    [[nodiscard]] QList<NoteWord> query(const NoteSourceRef &range, bool onlyRange, const QString &order,
                                        qint64 dueBy) const;

    mutable SqliteDb m_db;
    QString m_noteFile;
    QString m_libFile;
    QString m_message;
    QString m_error;
    int m_version = 0;    // the open file's format (0: new)
    bool m_newer = false; // open() refused a newer format
    bool m_deferLib = false;
    QList<qint64> m_pendingLib; // words whose example copy is not yet written
    quint64 m_noteId[2] = {0, 0}; // device and inode of each file as opened
    quint64 m_libId[2] = {0, 0};
};

} // namespace mvx
