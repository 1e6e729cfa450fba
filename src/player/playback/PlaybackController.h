#pragma once
// The lesson player's playback logic: the status machine (PlayStatus, SetStatus and its
// effects on buttons, labels and the waveform window), opening and closing a lesson,
// making each sentence's sound and digest, the position, media-ready and gap timers,
// play / pause / stop / speed, sentence navigation, sentence, A-B and automatic repeat,
// moving inside a sentence, the waveform's clicks and scroll bar, and the key table.
//
// Collaborators come in through the constructor and must outlive it: the media back
// end, the page side, the sentence sound source and the clock. Positions are whole ms
// inside the current sentence's sound. Waits for the media and the pages keep the event
// loop running; while one runs (IsBusy) every learner input and every timer tick except
// the media-ready one is ignored, so nothing re-enters a sentence change. A sound that
// never opens ends its wait after MediaTimeoutMs with a message; the player stays usable.
// The widget shows the state read back here and repaints on the signals.
#include "core/WaitMark.h"
#include "player/playback/ButtonPanel.h"
#include "player/playback/PlayerClock.h"
#include "player/playback/PlayerOperations.h"
#include "player/playback/WaveWindow.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace mvx {

class MediaPlayerInterface;
class PageSide;
class SentenceSoundSource;

class PlaybackController final : public QObject, public PlayerOperations
{
    Q_OBJECT
public:
    static constexpr int EndMarginMs = 150;
    static constexpr int MinSegmentMs = 100;
    static constexpr int SeekStepMs = 1000;
    static constexpr int MediaTimeoutMs = 5000;

    // home: the program folder holding blank.wav and alltmpfile/.
    PlaybackController(MediaPlayerInterface &media, PageSide &pages, SentenceSoundSource &sounds,
                       PlayerClock &clock, QString home, QObject *parent = nullptr);
    ~PlaybackController() override;

    // Window load: auto start on, StopMode 1, the stored speed and zoom, status 0.
    void InitForWindow();
    // Window unload: closes the lesson (stopping first) and stores the zoom.
    void CloseForWindow();

    // ---- Lesson and media -------------------------------------------------------------
    // Opens a lesson, or reopens the open one with "" / -1. Ends in status 1 at the start
    // sentence, or in status 0 with a message when the lesson cannot be loaded.
    void OpenLesson(const QString &szBookFileName, int nLessonNo, bool bRegenerateHtml);
    void btCloseFileClick();
    // Speed box: entries "慢速播放", "原速播放", "快速播放", "极速播放" (codes 1, 0, 2, 3).
    void cbSpeed_Click(int entry);
    void SetSpeed(int speedCode);
    [[nodiscard]] int SpeedEntry() const { return m_speedEntry; }
    [[nodiscard]] double Rate() const { return m_rate; }
    static QStringList SpeedEntries();

    // ---- PlayerOperations -------------------------------------------------------------
    [[nodiscard]] int PlayStatus() const override { return m_status; }
    [[nodiscard]] bool AutoNext() const override { return m_autoNext; }
    [[nodiscard]] int CurSentence() const override { return m_curSentence; }
    [[nodiscard]] int SentenceCount() const override { return m_sentenceCount; }
    [[nodiscard]] int GetSentenceNoInAll(int nNoInLesson) const override { return nNoInLesson + m_lessonFirstSentence; }
    [[nodiscard]] int BookHandle() const override { return m_bookHandle; }
    [[nodiscard]] bool IsBusy() const override { return m_busy > 0; }
    void EnterBusy() override
    {
        ++m_busy;
        WaitMark::Enter();
    }
    void LeaveBusy() override;
    void SetCurSentence(int n) override;
    void GoToSentence(int n) override;
    void SetCurrentPos(int ms) override;
    void SetStatus(int status) override;
    void StopPlay() override;
    void btPlay_Click() override;
    void btStop_Click() override;
    void btPause_Click() override;
    void btPlaySentence_click() override;
    void btRepeatSentence_Click() override;
    void btAutoRepeat_Click() override;
    void btPrev_Click() override;
    void btNext_Click() override;

    // ---- Inside a sentence, A-B -------------------------------------------------------
    void btABRepeatA_click();
    void btABRepeatB_Click();
    void ToSentenceHead();
    void Backward(int nDistance);
    void Forward(int nDistance);

    // ---- Waveform view ----------------------------------------------------------------
    void SetWavePictureWidth(int px); // on resize: window width recomputed, ruler kept
    void WaveMouseDown(int x, bool leftButton, bool ctrl);
    void WaveDoubleClick();
    void hsWave_Scroll(int value);
    void hsWave_Change(int value);

    // ---- Timing nudges ----------------------------------------------------------------
    // Moves the current sentence's heard start (endEdge false) or end by deltaMs in the book,
    // cuts its sound again at once, redraws the waveform and goes on in the same status (a
    // repeat goes on with the new bounds, the position stays on the same sound). A read-only
    // book is reported and nothing changes; a nudge stopped by a limit beeps. Each change can
    // be undone (UndoNudge) while the lesson is open.
    static constexpr int NudgeStepMs = 50;
    static constexpr int FineNudgeStepMs = 10;
    static constexpr int MaxUndoNudges = 200;
    bool NudgeCurrentSentence(bool endEdge, int deltaMs);
    // Puts the current sentence back to the maker's times ("恢复原始时间").
    bool RestoreCurrentSentenceTimes();
    // Undoes the last timing change of this lesson, on whichever sentence it was.
    bool UndoNudge();
    [[nodiscard]] int UndoableNudges() const { return int(m_timesUndo.size()); }
    // The timing keys: [ and ] move the start 50 ms earlier / later, Shift+[ and Shift+] the
    // end, with Ctrl 10 ms; \ puts the maker's times back; Ctrl+Z undoes. Returns true when
    // the key is one of them, whether or not it did anything.
    bool HandleTimingKey(int qtKey, Qt::KeyboardModifiers modifiers);

    // ---- Hard sentences only -----------------------------------------------------------
    // The sentences (numbers in the lesson) that next / previous, playing on and automatic
    // repeat go through, in lesson order; empty: all of them. Cleared with another lesson.
    void SetSentenceFilter(QList<int> sentences);
    [[nodiscard]] const QList<int> &SentenceFilter() const { return m_filter; }
    // The sentence after / before n that navigation goes to, or -1 when there is none.
    [[nodiscard]] int NextSentence(int n) const;
    [[nodiscard]] int PrevSentence(int n) const;

    // ---- Keys -------------------------------------------------------------------------
    // The window's key table (Qt key codes). Returns true when the key belongs to the
    // player, whether or not it did anything. A key that arrives while the player waits is
    // held and acted on once, after the wait.
    bool HandleKey(int qtKey, bool alt);
    // Whether the window keeps a key from the focused page: H, Alt+H and J, and the four
    // function keys the pages would act on a second time. Every other key reaches the page too.
    [[nodiscard]] static bool ConsumesKey(int qtKey, bool alt);
    // Runs the "_click" handler of a button by name when the button is enabled; buttons
    // of features that live elsewhere are reported by featureRequested. Returns false for
    // an unknown name or a disabled button.
    bool ClickButton(const QString &name);
    [[nodiscard]] bool MyIsButtonEnabled(const QString &name) const { return m_buttons.IsEnabled(name); }
    // A library window (spelling, speaking, shuffled sentences, browsing) works on the book
    // file: CloseBookForDrill stops any playing and closes the book in both holders, pages
    // kept. ReopenBookAfterDrill takes a new book name from the window (when one came back)
    // and opens the book read-write again for the same pages and current sentence; when it
    // cannot, the learner is told and the lesson is closed (status 0). False then.
    void CloseBookForDrill();
    bool ReopenBookAfterDrill(const QString &returnedBookFile);
    // Enables or disables a button from outside the status table (the recall's switch).
    void EnableButton(const QString &name, bool enabled)
    {
        m_buttons.Enable(name, enabled);
        Changed();
    }

    // ---- State read by the view and the tests ----------------------------------------
    [[nodiscard]] const ButtonPanel &Buttons() const { return m_buttons; }
    [[nodiscard]] const WaveWindow &Wave() const { return m_wave; }
    [[nodiscard]] int CurPos() const { return m_curPos; }
    [[nodiscard]] int SndLength() const { return m_sndLength; }
    [[nodiscard]] int RepeatStart() const { return m_repeatStart; }
    [[nodiscard]] int RepeatEnd() const { return m_repeatEnd; }
    [[nodiscard]] int PreviewStart() const { return m_previewStart; }
    [[nodiscard]] int PreviewEnd() const { return m_previewEnd; }
    [[nodiscard]] int ABRepeatStatus() const { return m_abRepeatStatus; }
    [[nodiscard]] int AutoRepeatCount() const { return m_autoRepeatCount; }
    [[nodiscard]] bool InRepeatGap() const { return m_inRepeatGap; }
    [[nodiscard]] int GapElapsed() const { return m_gapElapsed; }
    [[nodiscard]] int RepeatGap() const { return m_repeatGap; }
    [[nodiscard]] bool LessonFinished() const { return m_lessonFinished; }
    [[nodiscard]] bool Paused() const { return m_paused; }
    [[nodiscard]] int HasTitleSentence() const { return m_hasTitleSentence; }
    [[nodiscard]] int LessonFirstSentence() const { return m_lessonFirstSentence; }
    [[nodiscard]] QString BookFile() const { return m_bookFile; }
    [[nodiscard]] int LessonNo() const { return m_lessonNo; }
    [[nodiscard]] QString SentenceSndFile() const { return m_sentenceSndFile; }
    [[nodiscard]] int DigestHandle() const { return m_digestHandle; }
    [[nodiscard]] bool DigestReady() const { return m_digestReady; }
    [[nodiscard]] bool MediaReady() const { return m_mediaReady; }
    [[nodiscard]] QString StatusText() const { return m_statusText; }         // lbInfo(2)
    [[nodiscard]] QString TimeText() const { return m_timeText; }             // lbInfo(0)
    [[nodiscard]] QString LessonInfoText() const { return m_lessonInfo; }     // lbCurSentenceNo
    [[nodiscard]] QString RepeatStatusText() const { return m_repeatStatus; } // lbRepeatStatus
    [[nodiscard]] bool ReadHintVisible() const { return m_readHintVisible; }  // lbReadHint "请跟读......"
    [[nodiscard]] bool WavePictureVisible() const { return m_wavePictureVisible; }

    static QString StatusTextOf(int status);

signals:
    void viewChanged();   // buttons or labels changed
    void waveChanged();   // the waveform window must be repainted (scroll, zoom, sentence)
    void tapeHeadMoved(); // only the tape head or segment lines moved
    void beep();
    void message(const QString &text);
    void featureRequested(const QString &name);
    // A sentence (number in all) was played as part of the lesson (repeated false) or began a
    // round of a sentence, A-B or automatic repeat (repeated true): for the listening history.
    void sentenceHeard(int noInAll, bool repeated);

private:
    // Marks a wait (or a modal message) during which input and timer ticks are ignored.
    class BusyGuard
    {
    public:
        explicit BusyGuard(PlaybackController &c) : m_c(c) { m_c.EnterBusy(); }
        ~BusyGuard() { m_c.LeaveBusy(); }
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;

    private:
        PlaybackController &m_c;
    };
    void OnTimer(PlayerTimer timer);
    void DeliverHeldKeys();
    void timerPosition_Timer();
    void timerMediaReady_Timer();
    void timerAutoRepeatBreak_Timer();

    // Bodies of the operations, called from inside the player without the busy check.
    void SetCurSentenceNow(int n);
    void SetCurrentPosNow(int ms);
    void ToSentenceHeadNow();
    void DoPlay();
    void DoStop();
    void DoAutoRepeat();
    void DoRepeatSentence();
    void DoPlaySentence();
    void GoToSentenceNow(int target);
    void EndPreview();
    void StopRepeat();
    void PlaySegment(int nStartPos, int nEndPos);
    void NormallyPlayFile(bool bAutoNext);
    void SetABRepeatStatus(int nStatus);
    void RestartLessonFromTop();
    void Preview(int nPos);
    void PlayPreviewSegment(int nStartPos, int nEndPos);
    void EndCheckPlaying();
    void EndCheckRepeating();
    void EndCheckAutoRepeating();
    void EndCheckPreviewing();
    void StartRepeatGap();

    bool PrepareSentenceSnd(int nSentenceNoInAll);
    // Runs one timing change of sentence noInAll and, when it is the current one, cuts it
    // again (RecutCurrentSentence); records the times before it for undo when asked.
    bool ChangeTimes(int noInAll, const std::function<bool()> &change, bool recordUndo);
    void RecutCurrentSentence(int startShiftMs);
    bool SetFileName(const QString &fileName, bool reportFailure);
    bool WaitForReady();
    void ToCloseFileForPlayer();
    void CloseDigest();
    [[nodiscard]] int GetFileLength() const;
    [[nodiscard]] int GetPosition() const;
    void ToPlay();
    void ToPause();
    void ToContinue();
    void ApplyStatusEffects(int status);
    void ScrollEnglish(int n, bool &scrolledTop);
    void ScrollByStatus(int textKind, int n, bool scrolledTop);
    void UpdateRepeatStatusText();
    void ComputeRepeatGap();

    void IndicateStatus(const QString &text);
    void IndicateTime(int ms);
    void SetLessonInfo(const QString &text);
    void MoveTapeHead(int ms);
    void EnableWaveWindow(bool enabled);
    void ShowMessage(const QString &text);
    void Beep();
    void Changed() { emit viewChanged(); }

    MediaPlayerInterface &m_media;
    PageSide &m_pages;
    SentenceSoundSource &m_sounds;
    PlayerClock &m_clock;
    QString m_home;

    ButtonPanel m_buttons;
    WaveWindow m_wave;

    int m_status = NoLesson;
    int m_curPos = 0;
    int m_sndLength = 0;
    int m_repeatStart = 0;
    int m_repeatEnd = 0;
    int m_previewStart = 0;
    int m_previewEnd = 0;
    bool m_digestReady = false;
    int m_digestHandle = 0;
    int m_sentenceCount = 0;
    int m_curSentence = -1;
    int m_hasTitleSentence = 0;
    int m_lessonFirstSentence = 0;
    int m_bookHandle = -1;
    QString m_bookFile;
    int m_lessonNo = -1;
    QString m_sentenceSndFile;
    bool m_mediaReady = false;
    bool m_soundOpen = false; // the current sentence's sound reached the open state
    bool m_paused = false;
    QString m_savedStatusText;
    bool m_lessonFinished = false;
    bool m_autoNext = false;
    int m_abRepeatStatus = 0;
    int m_autoRepeatCount = 0;
    bool m_inRepeatGap = false;
    int m_gapElapsed = 0;
    int m_repeatGap = 0;
    int m_speedEntry = 1;
    double m_rate = 1.0;
    int m_busy = 0;
    static constexpr int MaxHeldKeys = 32;
    std::vector<std::pair<int, bool>> m_heldKeys; // keys that came during a wait
    struct TimesBefore
    {
        int noInAll;
        int startMs;
        int endMs;
    };
    std::vector<TimesBefore> m_timesUndo; // the heard times before each change, newest last
    QList<int> m_filter;                  // hard sentences only (empty: all)
    std::shared_ptr<int> m_alive = std::make_shared<int>(0); // for deferred calls

    QString m_statusText;
    QString m_timeText;
    QString m_lessonInfo;
    QString m_repeatStatus;
    bool m_readHintVisible = false;
    bool m_wavePictureVisible = true;
};

} // namespace mvx
