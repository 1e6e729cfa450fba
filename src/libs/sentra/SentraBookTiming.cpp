// SentraBook: the learner's timing nudges (one transaction each) and the cut of a sentence's
// sound at its heard times.
#include "SentraBookImpl.h"
#include "SoundFiles.h"

namespace mvx::sentra {

LessonSound *SentraBook::Impl::soundOf(const SentraBook &book, int lessonNo, QString &error)
{
    if (soundLesson == lessonNo && sound)
        return sound.get();
    sound.reset();
    soundLesson = -1;
    auto opened = std::make_unique<LessonSound>(book.lessonSound(lessonNo));
    if (!opened->isValid()) {
        error = opened->errorText();
        return nullptr;
    }
    sound = std::move(opened);
    soundLesson = lessonNo;
    return sound.get();
}

std::optional<TimingLimits> SentraBook::timingLimits(int noInAll)
{
    const int lessonNo = lessonOfSentence(noInAll);
    if (lessonNo < 0) {
        m_error = QStringLiteral("there is no sentence %1").arg(noInAll);
        return std::nullopt;
    }
    const LessonInfo &info = m_impl->lessons[lessonNo];
    TimingLimits limits;
    if (noInAll > info.firstSentence) {
        const std::optional<SentenceData> prev = sentence(noInAll - 1);
        if (!prev)
            return std::nullopt;
        limits.earliestStartMs = prev->heardStartMs();
    }
    LessonSound *sound = m_impl->soundOf(*this, lessonNo, m_error);
    if (!sound)
        return std::nullopt;
    limits.latestEndMs = int(sound->durationMs());
    if (noInAll + 1 < info.firstSentence + info.sentenceCount) {
        const std::optional<SentenceData> next = sentence(noInAll + 1);
        if (!next)
            return std::nullopt;
        limits.latestEndMs = std::min(limits.latestEndMs, next->heardEndMs());
    }
    return limits;
}

namespace {

// Stores the heard span as offsets from the maker's times (no row when they are the same).
bool storeHeard(SqliteDb &db, int noInAll, const SentenceData &s, TimeSpan heard, QString &error)
{
    const bool maker = heard.startMs == s.startMs && heard.endMs == s.endMs;
    SqliteStatement q = db.prepare(
        maker ? QStringLiteral("DELETE FROM time_nudge WHERE no_in_all = ?")
              : QStringLiteral("INSERT OR REPLACE INTO time_nudge (no_in_all, start_offset_ms, "
                               "end_offset_ms) VALUES (?, ?, ?)"));
    q.bind(1, qint64(noInAll));
    if (!maker) {
        q.bind(2, qint64(heard.startMs - s.startMs));
        q.bind(3, qint64(heard.endMs - s.endMs));
    }
    if (!q.exec()) { // one statement: its own transaction
        error = db.lastError();
        return false;
    }
    return true;
}

} // namespace

std::optional<TimeSpan> SentraBook::nudgeSentence(int noInAll, SentenceEdge edge, int deltaMs)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return std::nullopt;
    }
    const std::optional<SentenceData> s = sentence(noInAll);
    const std::optional<TimingLimits> limits = s ? timingLimits(noInAll) : std::nullopt;
    if (!limits)
        return std::nullopt;
    const TimeSpan was{s->heardStartMs(), s->heardEndMs()};
    const TimeSpan heard = NudgeSpan(was, edge, deltaMs, *limits);
    if (heard != was && !storeHeard(m_impl->db, noInAll, *s, heard, m_error))
        return std::nullopt;
    return heard;
}

bool SentraBook::setHeardTimes(int noInAll, TimeSpan heard)
{
    if (!isWritable()) {
        m_error = QStringLiteral("the book is not open for writing");
        return false;
    }
    const std::optional<SentenceData> s = sentence(noInAll);
    const std::optional<TimingLimits> limits = s ? timingLimits(noInAll) : std::nullopt;
    if (!limits)
        return false;
    const bool maker = heard.startMs == s->startMs && heard.endMs == s->endMs;
    const int room = limits->latestEndMs - limits->earliestStartMs;
    if (!maker
        && (heard.endMs - heard.startMs < std::min(MinSentenceMs, room)
            || heard.startMs < limits->earliestStartMs || heard.endMs > limits->latestEndMs)) {
        m_error = QStringLiteral("sentence %1 cannot be heard from %2 to %3 ms")
                      .arg(noInAll)
                      .arg(heard.startMs)
                      .arg(heard.endMs);
        return false;
    }
    return storeHeard(m_impl->db, noInAll, *s, heard, m_error);
}

bool SentraBook::restoreSentenceTimes(int noInAll)
{
    const std::optional<SentenceData> s = sentence(noInAll);
    return s && setHeardTimes(noInAll, {s->startMs, s->endMs});
}

bool SentraBook::cutSentence(int noInAll, std::vector<qint16> &samples)
{
    const int lessonNo = lessonOfSentence(noInAll);
    const std::optional<SentenceData> s = lessonNo < 0 ? std::nullopt : sentence(noInAll);
    if (!s)
        return false;
    LessonSound *sound = m_impl->soundOf(*this, lessonNo, m_error);
    if (!sound)
        return false;
    if (!sound->cut(s->heardStartMs(), s->heardEndMs(), samples)) {
        m_error = QStringLiteral("cannot decode sentence %1: %2").arg(noInAll).arg(sound->errorText());
        return false;
    }
    return true;
}

bool SentraBook::writeSentenceWav(int noInAll, const QString &wavPath)
{
    std::vector<qint16> samples;
    return cutSentence(noInAll, samples) && SoundFiles::writeWav(wavPath, samples, SoundRate, &m_error);
}

bool SentraBook::writeSentenceMp3(int noInAll, const QString &mp3Path)
{
    std::vector<qint16> samples;
    return cutSentence(noInAll, samples)
           && SoundFiles::writeMp3(mp3Path, samples, SoundRate, Mp3Kbps, &m_error);
}

} // namespace mvx::sentra
