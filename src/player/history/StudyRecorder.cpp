#include "player/history/StudyRecorder.h"

#include <algorithm>

namespace mvx {

void StudyRecorder::SetLesson(const QString &bookFile, int lessonNo)
{
    m_history.Flush();
    m_book = bookFile.isEmpty() ? QString() : ListeningHistory::BookKey(bookFile);
    m_lessonNo = lessonNo;
    m_lastTickMs = -1;
}

void StudyRecorder::Heard(int noInAll, ListeningHistory::Heard what, const QDateTime &at)
{
    if (!m_book.isEmpty() && noInAll >= 0)
        m_history.Count(m_book, m_lessonNo, noInAll, what, at);
}

void StudyRecorder::Tick(qint64 nowMs, bool listening, const QDate &today)
{
    if (listening && !m_book.isEmpty() && m_lastTickMs >= 0)
        m_history.AddStudyTime(m_book, m_lessonNo, today, std::clamp<qint64>(nowMs - m_lastTickMs, 0, MaxTickMs));
    m_lastTickMs = nowMs;
    m_history.FlushIfDue(nowMs);
}

void StudyRecorder::Close()
{
    m_history.Flush();
    m_book.clear();
    m_lessonNo = -1;
    m_lastTickMs = -1;
}

} // namespace mvx
