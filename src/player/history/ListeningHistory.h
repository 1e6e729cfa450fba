#pragma once
// The learner's listening history: per sentence of a book, how often it was played as part of
// the lesson, repeated and looked up in, and when it was last heard; per lesson, the time
// studied per day. One SQLite file in the per-user data folder (never in the book, which may
// be shared or read-only), with its own format version.
//
// Contract:
// - Counts are kept in memory and written together, in one transaction, by FlushIfDue (at
//   most once a second of the caller's clock) and by Flush / the destructor; a killed
//   process loses at most the counts of the last second.
// - A file that is not a history of a known version, or is damaged, is set aside under
//   "<name>.damaged-<time>" and a fresh one is started; Notice() then says so. A file that
//   cannot be written at all leaves the history in memory only (Notice() too).
// - Books are named by their file path as the caller gives it (the player's absolute path).
#include "player/history/HardSentences.h"

#include "core/SqliteDb.h"

#include <QDate>
#include <QHash>
#include <QMap>
#include <QString>

namespace mvx {

class ListeningHistory final
{
public:
    static constexpr int FormatVersion = 1;
    static constexpr qint64 ApplicationId = 0x4D565848; // "MVXH"
    static constexpr qint64 FlushIntervalMs = 1000;

    // The history file of this user: history.db in the per-user data folder.
    [[nodiscard]] static QString DefaultPath();
    // The name a book is kept under: its absolute, canonical path.
    [[nodiscard]] static QString BookKey(const QString &bookFile);

    explicit ListeningHistory(QString path);
    ~ListeningHistory();
    ListeningHistory(const ListeningHistory &) = delete;
    ListeningHistory &operator=(const ListeningHistory &) = delete;

    [[nodiscard]] bool IsOpen() const { return m_db.isOpen(); }
    [[nodiscard]] QString Notice() const { return m_notice; }
    [[nodiscard]] QString Path() const { return m_path; }

    enum class Heard { Played, Repeated, LookedUp };
    void Count(const QString &book, int lessonNo, int noInAll, Heard what, const QDateTime &at);
    void AddStudyTime(const QString &book, int lessonNo, const QDate &day, qint64 ms);

    // Writes what is pending when FlushIntervalMs passed since the last write (nowMs: any
    // steady clock of the caller). Returns true when it wrote.
    bool FlushIfDue(qint64 nowMs);
    bool Flush();
    [[nodiscard]] bool HasPending() const { return !m_pending.isEmpty() || !m_pendingTime.isEmpty(); }

    // Reading (what is pending included).
    [[nodiscard]] QList<SentenceCounts> LessonSentences(const QString &book, int lessonNo);
    [[nodiscard]] QMap<QDate, qint64> StudyTimePerDay(const QString &book, int lessonNo); // ms per day
    struct LessonKey
    {
        QString book;
        int lessonNo = 0;
    };
    [[nodiscard]] QList<LessonKey> Lessons(); // every lesson with a record, by book and number

private:
    bool OpenOrStartFresh();
    bool TablesUsable();
    bool WritesCanStart();
    bool StartFile();
    void SetAside(const QString &why);

    struct SentenceKey
    {
        QString book;
        int noInAll;
        friend bool operator==(const SentenceKey &, const SentenceKey &) = default;
        friend size_t qHash(const SentenceKey &k, size_t seed = 0) { return qHashMulti(seed, k.book, k.noInAll); }
    };
    struct Pending
    {
        int lessonNo = 0;
        int plays = 0;
        int repeats = 0;
        int lookups = 0;
        QDateTime lastHeard;
    };
    struct DayKey
    {
        QString book;
        int lessonNo;
        QDate day;
        friend bool operator==(const DayKey &, const DayKey &) = default;
        friend size_t qHash(const DayKey &k, size_t seed = 0) { return qHashMulti(seed, k.book, k.lessonNo, k.day); }
    };

    QString m_path;
    QString m_notice;
    SqliteDb m_db;
    QHash<SentenceKey, Pending> m_pending;
    QHash<DayKey, qint64> m_pendingTime;
    qint64 m_lastFlushMs = -1;
};

} // namespace mvx
