#pragma once
// Fakes for driving the playback logic by a virtual clock: a media back end whose
// position moves with virtual time, a page side that records its calls, and a sentence
// sound source that writes placeholder files of known length.
#include "libs/media/MediaPlayerInterface.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlayerClock.h"
#include "player/playback/SentenceSoundSource.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <deque>
#include <functional>

namespace fakes {

using namespace mvx;

class VirtualClock final : public PlayerClock
{
public:
    void SetTimerHandler(std::function<void(PlayerTimer)> handler) override { m_handler = std::move(handler); }
    void SetTimer(PlayerTimer t, bool on) override
    {
        const int i = int(t);
        if (on && !m_on[i])
            m_next[i] = m_now + m_interval[i];
        m_on[i] = on;
    }
    [[nodiscard]] bool IsTimerOn(PlayerTimer t) const override { return m_on[int(t)]; }
    [[nodiscard]] int IntervalMs(PlayerTimer t) const override { return m_interval[int(t)]; }
    [[nodiscard]] qint64 NowMs() const override { return m_now; }
    // A wait pumps events: learner input queued with Post runs first, else time moves on
    // to the next timer tick.
    void ProcessEvents() override
    {
        ++m_pumps;
        RunDeferred();
        if (!m_posted.empty()) {
            auto f = std::move(m_posted.front());
            m_posted.pop_front();
            f();
            return;
        }
        Step(m_now + 1000);
    }

    // Deferred calls run at the next turn: the next timer step or pump.
    void Defer(std::function<void()> f) override { m_deferred.push_back(std::move(f)); }
    void RunDeferred()
    {
        auto now = std::move(m_deferred);
        m_deferred.clear();
        for (auto &f : now)
            f();
    }
    // The quiz polls its position every 20 ms instead of 10.
    void SetInterval(PlayerTimer t, int ms) { m_interval[int(t)] = ms; }
    // Runs f the next time a wait pumps events.
    void Post(std::function<void()> f) { m_posted.push_back(std::move(f)); }
    // Called on every change of time (the media follows it) and after every tick.
    std::function<void(qint64)> onTime;
    std::function<void()> afterTick;

    // Moves time by ms, firing timers on the way.
    void Advance(qint64 ms)
    {
        const qint64 target = m_now + ms;
        while (Step(target)) {
        }
        SetNow(target);
    }
    // Advances until pred holds or maxMs have passed; returns whether pred holds.
    bool RunUntil(const std::function<bool()> &pred, qint64 maxMs)
    {
        const qint64 end = m_now + maxMs;
        while (!pred()) {
            if (m_now >= end)
                return false;
            if (!Step(end))
                SetNow(end);
        }
        return true;
    }
    [[nodiscard]] int Pumps() const { return m_pumps; }

private:
    // Fires the earliest timer due at or before limit; false when none is.
    bool Step(qint64 limit)
    {
        RunDeferred();
        int best = -1;
        for (int i = 0; i < 3; ++i)
            if (m_on[i] && m_next[i] <= limit && (best < 0 || m_next[i] < m_next[best]))
                best = i;
        if (best < 0) {
            SetNow(std::min(limit, m_now + 10));
            return false;
        }
        SetNow(std::max(m_now, m_next[best]));
        m_next[best] += m_interval[best];
        if (m_handler)
            m_handler(PlayerTimer(best));
        if (afterTick)
            afterTick();
        return true;
    }
    void SetNow(qint64 t)
    {
        if (t < m_now)
            return;
        m_now = t;
        if (onTime)
            onTime(m_now);
    }

    std::function<void(PlayerTimer)> m_handler;
    bool m_on[3] = {false, false, false};
    qint64 m_next[3] = {0, 0, 0};
    int m_interval[3] = {10, 10, 50};
    qint64 m_now = 0;
    int m_pumps = 0;
    std::deque<std::function<void()>> m_posted;
    std::deque<std::function<void()>> m_deferred;
};

class FakeMedia final : public MediaPlayerInterface
{
public:
    explicit FakeMedia(VirtualClock &clock) : m_clock(clock)
    {
        m_clock.onTime = [this](qint64 now) { Update(now); };
    }
    QHash<QString, int> durationMs; // by local path
    QSet<QString> neverOpens;       // local paths that never reach the open state
    int openDelayMs = 20;
    QStringList opened;             // local paths in the order they reached the open state
    QStringList openedMissing;      // paths that had vanished when their open completed
    bool playing = false;
    int starts = 0; // times sound started, by play() or by the automatic start on opening

    void setURL(const QString &url) override
    {
        m_url = url;
        m_path = url.isEmpty() ? QString() : QUrl(url).toLocalFile();
        m_state = url.isEmpty() ? 0 : 9;
        m_openAt = m_clock.NowMs() + openDelayMs;
        m_pos = 0;
        playing = false;
    }
    [[nodiscard]] QString URL() const override { return m_url; }
    [[nodiscard]] int openState() const override { return m_state; }
    void play() override
    {
        playing = m_state == MediaOpen;
        starts += playing ? 1 : 0;
    }
    void stop() override
    {
        playing = false;
        m_pos = 0;
    }
    void pause() override { playing = false; }
    [[nodiscard]] double currentPosition() const override { return m_pos / 1000.0; }
    void setCurrentPosition(double seconds) override { m_pos = std::clamp(seconds * 1000.0, 0.0, double(Duration())); }
    [[nodiscard]] double duration() const override { return m_state == MediaOpen ? Duration() / 1000.0 : 0; }
    void setRate(double rate) override { m_rate = rate; }
    void setAutoStart(bool on) override { m_autoStart = on; }
    [[nodiscard]] QString errorText() const override { return m_state == 9 ? QStringLiteral("never opens") : QString(); }
    [[nodiscard]] double rate() const { return m_rate; }
    [[nodiscard]] QString path() const { return m_path; }
    [[nodiscard]] double positionMs() const { return m_pos; }

private:
    [[nodiscard]] int Duration() const { return durationMs.value(m_path, 0); }
    void Update(qint64 now)
    {
        if (m_state == 9 && now >= m_openAt && !neverOpens.contains(m_path)) {
            m_state = MediaOpen;
            opened << m_path;
            if (!QFileInfo::exists(m_path))
                openedMissing << m_path;
            playing = m_autoStart;
            starts += playing ? 1 : 0;
            m_last = now;
        }
        if (playing)
            m_pos = std::min(m_pos + (now - m_last) * m_rate, double(Duration()));
        m_last = now;
    }

    VirtualClock &m_clock;
    QString m_url;
    QString m_path;
    int m_state = 0;
    qint64 m_openAt = 0;
    qint64 m_last = 0;
    double m_pos = 0;
    double m_rate = 1.0;
    bool m_autoStart = false;
};

class FakeSounds final : public SentenceSoundSource
{
public:
    FakeSounds(FakeMedia &media, VirtualClock &clock) : m_media(media), m_clock(clock) {}
    QHash<int, int> lengthByNoInAll; // media duration (ms) by sentence number in the book
    QSet<int> unopenable;            // sentences whose sound file the media never opens
    int defaultLength = 3000;
    QList<int> made;                 // noInAll of every sound made, in order
    QList<qint64> madeAt;            // virtual time of each
    QStringList files;
    int digestsOpen = 0;
    int nextDigest = 1;

    bool MakeSentenceSound(int, int noInAll, const QString &basePath) override
    {
        made << noInAll;
        madeAt << m_clock.NowMs();
        const QString wav = basePath + QStringLiteral(".wav");
        QFile f(wav);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write("RIFF");
        files << wav;
        m_media.durationMs.insert(wav, lengthByNoInAll.value(noInAll, defaultLength));
        if (unopenable.contains(noInAll))
            m_media.neverOpens.insert(wav);
        return true;
    }
    int MakeAndOpenDigest(const QString &, const QString &) override
    {
        ++digestsOpen;
        return nextDigest++;
    }
    void CloseDigest(int) override { --digestsOpen; }

    // Heard times by sentence (start, end); a nudge moves one edge without limits and sets the
    // sentence's sound length to the new span. Off unless timesWritable.
    bool timesWritable = false;
    QHash<int, std::pair<int, int>> heard;
    bool CanChangeTimes(int) override { return timesWritable; }
    std::optional<std::pair<int, int>> HeardTimes(int, int noInAll) override
    {
        return heard.value(noInAll, {0, lengthByNoInAll.value(noInAll, defaultLength)});
    }
    bool NudgeTimes(int book, int noInAll, bool endEdge, int deltaMs) override
    {
        auto t = *HeardTimes(book, noInAll);
        (endEdge ? t.second : t.first) += deltaMs;
        return SetHeardTimes(book, noInAll, t.first, t.second);
    }
    bool SetHeardTimes(int, int noInAll, int startMs, int endMs) override
    {
        heard.insert(noInAll, {startMs, endMs});
        lengthByNoInAll.insert(noInAll, endMs - startMs);
        return timesWritable;
    }

private:
    FakeMedia &m_media;
    VirtualClock &m_clock;
};

class FakePages final : public PageSide
{
public:
    int loadResult = 1;
    LessonPagesResult result{7, 5, 1, 100};
    PageShowState show;
    QHash<int, int> displayStatus; // English element status by sentence, default 1
    QSet<int> currentE, currentC, currentComment;
    QStringList scrolls; // "E3 top", "C3 bottom", ...
    QStringList loads;
    int closes = 0;
    int refreshes = 0;

    int LoadLessonPages(const QString &book, int lesson, bool regenerate, LessonPagesResult &r) override
    {
        loads << QStringLiteral("%1|%2|%3").arg(book).arg(lesson).arg(regenerate);
        if (loadResult != 1)
            return loadResult;
        r = result;
        return 1;
    }
    void ApplyDisplayOptions() override {}
    void CloseLessonPages() override { ++closes; }
    [[nodiscard]] PageShowState ShowState() const override { return show; }
    [[nodiscard]] bool HasSentenceElement(SentenceText, int n) const override { return n >= 0 && n < result.sentenceCount; }
    [[nodiscard]] int ElementDisplayingStatus(SentenceText, int n) override { return displayStatus.value(n, 1); }
    void ShowCurSentence(SentenceText text, int n, bool current) override
    {
        QSet<int> &set = text == SentenceText::English ? currentE : text == SentenceText::Chinese ? currentC : currentComment;
        if (current)
            set.insert(n);
        else
            set.remove(n);
    }
    void ScrollSentence(SentenceText text, int n, bool alignTop) override
    {
        const char *k = text == SentenceText::English ? "E" : text == SentenceText::Chinese ? "C" : "Z";
        scrolls << QStringLiteral("%1%2 %3").arg(QLatin1String(k)).arg(n).arg(alignTop ? "top" : "bottom");
    }
    void RefreshCurrentSentencePages(int) override { ++refreshes; }
};

} // namespace fakes
