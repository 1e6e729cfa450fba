#pragma once
// What the player tells the listening history: the lesson open, each sentence heard or
// looked up in, and the time spent listening, measured on ticks of the caller's steady
// clock (so tests drive it with virtual time). Writes go through the history's once-a-second
// batching; SetLesson and Close write what is pending.
#include "player/history/ListeningHistory.h"

namespace mvx {

class StudyRecorder final
{
public:
    // A tick further apart than this counts only this much (the machine slept, a modal wait).
    static constexpr qint64 MaxTickMs = 2000;

    explicit StudyRecorder(ListeningHistory &history) : m_history(history) {}

    // The lesson now open (book as the player names it); an empty book: none.
    void SetLesson(const QString &bookFile, int lessonNo);
    [[nodiscard]] QString Book() const { return m_book; }
    [[nodiscard]] int LessonNo() const { return m_lessonNo; }

    void Heard(int noInAll, ListeningHistory::Heard what, const QDateTime &at);
    // Adds the time since the last tick to today's study time while listening, and lets the
    // history write when a second has passed.
    void Tick(qint64 nowMs, bool listening, const QDate &today);
    void Close();

private:
    ListeningHistory &m_history;
    QString m_book;
    int m_lessonNo = -1;
    qint64 m_lastTickMs = -1;
};

} // namespace mvx
