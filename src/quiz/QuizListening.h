#pragma once
// The quiz window's listening: the article played once, sentence after sentence, from the
// first playable sentence (1 after a title line, else 0) to the last, then the message
// "文章播放完毕，请做题" and the window is ready to play it again from the top.
//
// Collaborators come in through the constructor and must outlive it: the media back end,
// the sentence sound source, the clock (position timer every 20 ms, media-ready every 10 ms)
// and the program home (blank.wav, alltmpfile/). Positions are whole ms inside the current
// sentence's own sound file. The sentence state (SentenceCount, CurSentence, SndLength,
// CurPos) is this object's own.
//
// Waits for a sound file keep the event loop running; while one runs (IsBusy), or while the
// owner says it waits itself (SetOwnerBusy, the page view), position ticks are dropped and
// the Play / Stop clicks are held back and run, in order, once the wait is over: nothing
// re-enters a wait. A sound that never opens ends its wait after MediaTimeoutMs with a
// message; a book that cannot be opened or has nothing playable says so and leaves Play off.
#include "player/playback/PlayerClock.h"

#include <QString>
#include <functional>
#include <vector>

namespace mvx {

class MediaPlayerInterface;
class SentenceSoundSource;

class QuizListening final
{
public:
    static constexpr int EndMarginMs = 100;      // a sentence counts as finished this close to its end
    static constexpr int LengthTrimMs = 20;      // taken off the file's duration
    static constexpr int MediaTimeoutMs = 5000;

    QuizListening(MediaPlayerInterface &media, SentenceSoundSource &sounds, PlayerClock &clock, QString home);
    ~QuizListening();
    QuizListening(const QuizListening &) = delete;
    QuizListening &operator=(const QuizListening &) = delete;

    // Messages for the learner (the window shows them in a message box).
    void SetMessageHandler(std::function<void(const QString &)> handler) { m_message = std::move(handler); }
    // Called whenever the buttons' state changed.
    void SetChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }
    // True while the owner runs a wait of its own; ticks and clicks wait for it too.
    void SetOwnerBusy(std::function<bool()> probe) { m_ownerBusy = std::move(probe); }

    // Opens the book read-only and prepares the first playable sentence. False, with a
    // message and Play off, when the book cannot be opened or has nothing to play.
    bool OpenLesson(const QString &bookFile, int lessonNo);
    // Stops the timers and the player and closes the book (the window's unload).
    void Close();

    void SetCurSentence(int n);
    [[nodiscard]] int GetSentenceNoInAll(int n) const { return n + m_firstSentenceOffset; }
    void btPlay_Click();
    void btStop_Click();
    // Runs the clicks held back during a wait; the owner calls it after a wait of its own.
    void RunDeferred();

    [[nodiscard]] bool PlayEnabled() const { return m_playEnabled; }
    [[nodiscard]] bool StopEnabled() const { return m_stopEnabled; }
    [[nodiscard]] bool IsBusy() const { return m_busy > 0; }
    [[nodiscard]] bool Playing() const { return m_stopEnabled; }
    [[nodiscard]] int SentenceCount() const { return m_sentenceCount; }
    [[nodiscard]] int CurSentence() const { return m_curSentence; }
    [[nodiscard]] int FirstPlayable() const { return m_firstPlayable; }
    [[nodiscard]] int SndLength() const { return m_sndLength; }
    [[nodiscard]] int CurPos() const { return m_curPos; }
    [[nodiscard]] int BookHandle() const { return m_book; }
    [[nodiscard]] QString SoundBaseName() const { return m_soundBase; }

private:
    class BusyGuard
    {
    public:
        explicit BusyGuard(QuizListening &l) : m_l(l) { ++m_l.m_busy; }
        ~BusyGuard() { --m_l.m_busy; }
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;

    private:
        QuizListening &m_l;
    };

    void OnTimer(PlayerTimer timer);
    void timerPosition_Timer();
    void timerMediaReady_Timer();
    bool PrepareSentenceSnd(int noInAll);
    bool SetFileName(const QString &path, bool reportFailure);
    bool WaitForReady();
    [[nodiscard]] int GetPosition() const;
    void DoPlay();
    void DoStop();
    void FinishArticle();
    [[nodiscard]] bool Waiting() const;
    // Holds a click back while a wait runs; false when it may run now.
    bool Defer(void (QuizListening::*click)());
    void SetButtons(bool play, bool stop);
    void Message(const QString &text);

    MediaPlayerInterface &m_media;
    SentenceSoundSource &m_sounds;
    PlayerClock &m_clock;
    QString m_home;
    std::function<void(const QString &)> m_message;
    std::function<void()> m_changed;
    std::function<bool()> m_ownerBusy;

    int m_book = -1;
    int m_firstSentenceOffset = 0;
    int m_firstPlayable = 0;
    int m_sentenceCount = 0;
    int m_curSentence = -1;
    int m_sndLength = 0;
    int m_curPos = 0;
    QString m_soundBase;
    bool m_ready = false;
    bool m_soundOpen = false;
    bool m_playEnabled = false;
    bool m_stopEnabled = false;
    int m_busy = 0;
    std::vector<void (QuizListening::*)()> m_deferred;
};

} // namespace mvx
