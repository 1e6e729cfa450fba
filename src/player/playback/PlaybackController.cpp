#include "player/playback/PlaybackController.h"

#include "core/AppState.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/media/MediaPlayerInterface.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackMath.h"
#include "player/playback/SentenceSoundSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace mvx {

PlaybackController::PlaybackController(MediaPlayerInterface &media, PageSide &pages, SentenceSoundSource &sounds,
                                       PlayerClock &clock, QString home, QObject *parent)
    : QObject(parent), m_media(media), m_pages(pages), m_sounds(sounds), m_clock(clock), m_home(std::move(home))
{
    m_clock.SetTimerHandler([this](PlayerTimer t) { OnTimer(t); });
}

PlaybackController::~PlaybackController()
{
    // The process's wait mark must not stay raised by a controller gone while busy.
    for (; m_busy > 0; --m_busy)
        WaitMark::Leave();
    m_clock.SetTimerHandler({});
    for (PlayerTimer t : {PlayerTimer::Position, PlayerTimer::MediaReady, PlayerTimer::AutoRepeatBreak})
        m_clock.SetTimer(t, false);
    CloseDigest();
}

QString PlaybackController::StatusTextOf(int status)
{
    switch (status) {
    case Stopped:
        return QStringLiteral("静止状态");
    case Playing:
        return QStringLiteral("正在播放声音文件（正常播放状态）");
    case Repeating:
        return QStringLiteral("正在自由复读");
    case AutoRepeating:
        return QStringLiteral("正在自动逐句复读");
    case Previewing:
        return QStringLiteral("正在进行声音预览");
    default:
        return QString();
    }
}

QStringList PlaybackController::SpeedEntries()
{
    return {QStringLiteral("慢速播放"), QStringLiteral("原速播放"), QStringLiteral("快速播放"),
            QStringLiteral("极速播放")};
}

void PlaybackController::InitForWindow()
{
    // Each sentence is started by the player itself: a back end that started it on opening
    // would sound a moment of it while the player is stopped.
    m_media.setAutoStart(false);
    App().playback.stopMode = 1; // a stopped repeat stays stopped; not stored
    const int stored = GetUserInt(QString::fromLatin1(Key::Speed), 0);
    cbSpeed_Click(stored == 1 ? 0 : stored == 2 ? 2 : stored == 3 ? 3 : 1);
    m_inRepeatGap = false;
    m_autoRepeatCount = 0;
    m_wave.SetRatio(GetUserInt(QString::fromLatin1(Key::WindowRatio), 2));
    m_wave.CountWindowWidth(true);
    m_paused = false;
    SetStatus(NoLesson);
}

void PlaybackController::CloseForWindow()
{
    if (m_status != Stopped)
        DoStop();
    btCloseFileClick();
    SaveUserInt(QString::fromLatin1(Key::WindowRatio), m_wave.Ratio());
}

// ---- Timers ------------------------------------------------------------------------------

void PlaybackController::OnTimer(PlayerTimer timer)
{
    if (timer == PlayerTimer::MediaReady) {
        timerMediaReady_Timer();
        return;
    }
    if (IsBusy())
        return; // a sentence change is waiting; this tick comes again
    if (timer == PlayerTimer::Position)
        timerPosition_Timer();
    else
        timerAutoRepeatBreak_Timer();
}

void PlaybackController::LeaveBusy()
{
    WaitMark::Leave();
    if (--m_busy > 0)
        return;
    if (!m_heldKeys.empty()) {
        std::weak_ptr<int> alive = m_alive;
        m_clock.Defer([this, alive] {
            if (!alive.expired())
                DeliverHeldKeys();
        });
    }
}

void PlaybackController::DeliverHeldKeys()
{
    // A key whose action starts a new wait holds the keys after it again.
    while (!m_heldKeys.empty() && !IsBusy()) {
        const auto [key, alt] = m_heldKeys.front();
        m_heldKeys.erase(m_heldKeys.begin());
        HandleKey(key, alt);
    }
}

void PlaybackController::timerMediaReady_Timer()
{
    if (m_media.openState() != MediaPlayerInterface::MediaOpen)
        return;
    m_media.stop(); // cancels the automatic start
    m_mediaReady = true;
    m_clock.SetTimer(PlayerTimer::MediaReady, false);
}

void PlaybackController::timerPosition_Timer()
{
    m_curPos = GetPosition();
    if (m_curPos > m_sndLength)
        m_curPos = m_sndLength;
    if (m_status != Previewing) {
        MoveTapeHead(m_curPos);
        IndicateTime(m_curPos);
    }
    switch (m_status) {
    case Playing:
        EndCheckPlaying();
        break;
    case Repeating:
        EndCheckRepeating();
        break;
    case AutoRepeating:
        EndCheckAutoRepeating();
        break;
    case Previewing:
        EndCheckPreviewing();
        break;
    default:
        // The last few ms after the lesson's end have run out: nothing plays any more.
        if (m_curPos >= m_sndLength || m_status == NoLesson)
            m_clock.SetTimer(PlayerTimer::Position, false);
        break;
    }
}

// ---- Status ------------------------------------------------------------------------------

void PlaybackController::SetStatus(int status)
{
    m_status = status;
    if (status == Stopped || status == Playing || status == AutoRepeating || status == Previewing)
        m_abRepeatStatus = 0;
    ApplyStatusEffects(status);
    if (status == NoLesson || status == Stopped || status == Playing || status == Repeating
        || status == AutoRepeating || status == Previewing)
        IndicateStatus(StatusTextOf(status));
    if (status == Repeating)
        UpdateRepeatStatusText();
    if (App().playback.viewWave == 0) {
        if (status == Playing)
            m_wavePictureVisible = false;
        else if (status == NoLesson || status == Stopped || status == Repeating || status == AutoRepeating)
            m_wavePictureVisible = true;
    } else {
        m_wavePictureVisible = true;
    }
    Changed();
    emit waveChanged();
}

void PlaybackController::ApplyStatusEffects(int status)
{
    ButtonPanel &b = m_buttons;
    const bool mask = m_pages.ShowState().maskActive;
    auto enable = [&b](const char *name, bool on) { b.Enable(QLatin1String(name), on); };
    switch (status) {
    case NoLesson:
        enable("btPrev", false);
        enable("btNext", false);
        enable("btPlaySentence", false);
        b.EnableButtonGroup1(false);
        b.EnableGroupSilence(false);
        enable("btABRepeatA", false);
        enable("btABRepeatB", false);
        enable("btRepeatSentence", false);
        enable("btStop", false);
        enable("btPause", false);
        enable("btDigest", false);
        EnableWaveWindow(false);
        m_wave.ShowSegLines(false, false);
        m_wave.ClearRule();
        m_wave.SetScrollMaximumZero();
        m_wave.SetScrollAllowed(false);
        m_readHintVisible = false;
        m_lessonFinished = false;
        m_wave.SetWindowStartPos(0);
        m_wave.ClearRule();
        m_curPos = 0;
        m_wave.ResetTapeHead();
        IndicateTime(-1);
        break;
    case Stopped:
        enable("btPrev", true);
        enable("btNext", true);
        if (!mask) {
            enable("btPlaySentence", true);
            b.EnableButtonGroup1(true);
            b.EnableGroupSilence(true);
        } else {
            enable("btStopThinking", true);
        }
        enable("btAutoRepeat", m_sentenceCount >= 1 && !mask);
        enable("btABRepeatA", false);
        enable("btABRepeatB", false);
        enable("btRepeatSentence", true);
        enable("btStop", false);
        enable("btPause", false);
        enable("btDigest", true);
        EnableWaveWindow(true);
        m_wave.ShowSegLines(false, false);
        m_wave.SetWindowStartPos(m_wave.WindowStart()); // labels shown, marks redrawn
        m_wave.SetScrollAllowed(true);
        m_readHintVisible = false;
        IndicateTime(m_curPos);
        m_paused = false;
        break;
    case Playing:
        enable("btPrev", true);
        enable("btNext", true);
        enable("btPlaySentence", false);
        b.EnableButtonGroup1(false);
        b.EnableGroupSilence(false);
        enable("btABRepeatA", true);
        enable("btABRepeatB", false);
        enable("btRepeatSentence", false);
        enable("btStop", true);
        enable("btPause", true);
        enable("btDigest", false);
        EnableWaveWindow(true);
        m_wave.ShowSegLines(false, false);
        m_wave.SetScrollAllowed(false);
        m_readHintVisible = false;
        m_lessonFinished = false;
        break;
    case Repeating:
    case AutoRepeating:
        enable("btPrev", true);
        enable("btNext", true);
        enable("btPlaySentence", false);
        b.EnableButtonGroup1(false);
        b.EnableGroupSilence(false);
        enable("btABRepeatA", false);
        enable("btABRepeatB", false);
        enable("btRepeatSentence", false);
        enable("btStop", true);
        enable("btPause", true);
        enable("btDigest", status == Repeating);
        m_wave.SetScrollAllowed(false);
        m_lessonFinished = false;
        if (status == Repeating) {
            EnableWaveWindow(true);
            m_wave.ShowSegLines(true, true);
            m_readHintVisible = false;
        }
        break;
    case Previewing:
        enable("btPrev", false);
        enable("btNext", false);
        enable("btPlaySentence", false);
        b.EnableButtonGroup1(false);
        enable("btABRepeatA", false);
        enable("btABRepeatB", false);
        enable("btRepeatSentence", false);
        enable("btDigest", false);
        b.EnableMostButtons(false);
        m_wave.SetScrollEnabled(false);
        m_wave.SetPictureEnabled(false);
        m_readHintVisible = false;
        m_lessonFinished = false;
        break;
    default:
        break;
    }
}

void PlaybackController::IndicateStatus(const QString &text)
{
    if (m_statusText == text)
        return;
    m_statusText = text;
    Changed();
}

void PlaybackController::IndicateTime(int ms)
{
    const QString text = ms < 0 ? QString() : QStringLiteral("当前位置 ") + FormatPlayTime(ms);
    if (text == m_timeText)
        return;
    m_timeText = text;
    Changed();
}

void PlaybackController::SetLessonInfo(const QString &text)
{
    if (m_lessonInfo == text)
        return;
    m_lessonInfo = text;
    Changed();
}

void PlaybackController::MoveTapeHead(int ms)
{
    if (m_status == NoLesson) {
        m_wave.ResetTapeHead();
        emit tapeHeadMoved();
        return;
    }
    const int start = m_wave.WindowStart();
    if (m_wave.MoveTapeHead(ms)) {
        if (m_wave.WindowStart() != start)
            emit waveChanged();
        else
            emit tapeHeadMoved();
    }
}

void PlaybackController::EnableWaveWindow(bool enabled)
{
    m_wave.SetPictureEnabled(true);
    if (m_wave.SetEnabled(enabled))
        emit waveChanged();
}

void PlaybackController::ShowMessage(const QString &text)
{
    BusyGuard busy(*this); // a modal message box pumps events
    emit message(text);
}

void PlaybackController::Beep()
{
    emit beep();
}

// ---- Media --------------------------------------------------------------------------------

int PlaybackController::GetFileLength() const
{
    return std::max(0, RoundHalfEven(m_media.duration() * 1000.0) - 20);
}

int PlaybackController::GetPosition() const
{
    return RoundHalfEven(m_media.currentPosition() * 1000.0);
}

void PlaybackController::SetCurrentPos(int ms)
{
    if (!IsBusy())
        SetCurrentPosNow(ms);
}

void PlaybackController::SetCurrentPosNow(int ms)
{
    m_curPos = ms;
    IndicateTime(ms);
    m_media.setCurrentPosition(ms / 1000.0);
}

void PlaybackController::ToPlay()
{
    m_media.play();
}

void PlaybackController::StopPlay()
{
    m_media.stop();
}

void PlaybackController::ToPause()
{
    m_media.pause();
}

void PlaybackController::ToContinue()
{
    m_media.play();
}

void PlaybackController::NormallyPlayFile(bool bAutoNext)
{
    m_autoNext = bAutoNext;
    ToPlay();
    m_clock.SetTimer(PlayerTimer::Position, true);
}

bool PlaybackController::SetFileName(const QString &fileName, bool reportFailure)
{
    m_media.stop();
    m_mediaReady = false;
    if (!QFileInfo::exists(fileName)) {
        m_media.setURL(QString()); // lets go of the previous file
        if (reportFailure)
            ShowMessage(QStringLiteral("找不到这一句的声音文件：%1").arg(fileName));
        return false;
    }
    m_media.setURL(QUrl::fromLocalFile(fileName).toString());
    if (WaitForReady())
        return true;
    m_media.setURL(QString());
    if (reportFailure) {
        const QString why = m_media.errorText();
        ShowMessage(QStringLiteral("声音文件打不开：%1%2").arg(fileName, why.isEmpty() ? QString() : QStringLiteral("\n") + why));
    }
    return false;
}

bool PlaybackController::WaitForReady()
{
    BusyGuard busy(*this);
    m_mediaReady = false;
    m_clock.SetTimer(PlayerTimer::MediaReady, true);
    const qint64 start = m_clock.NowMs();
    while (!m_mediaReady) {
        if (m_clock.NowMs() - start >= MediaTimeoutMs) {
            m_clock.SetTimer(PlayerTimer::MediaReady, false);
            return false;
        }
        m_clock.ProcessEvents();
        // The open may have completed among the events just handled: no need to wait for
        // the next tick of the ready timer.
        if (!m_mediaReady && m_media.openState() == MediaPlayerInterface::MediaOpen)
            timerMediaReady_Timer();
    }
    return true;
}

void PlaybackController::CloseDigest()
{
    if (m_digestHandle > 0)
        m_sounds.CloseDigest(m_digestHandle);
    m_digestHandle = 0;
    m_digestReady = false;
}

bool PlaybackController::PrepareSentenceSnd(int nSentenceNoInAll)
{
    BusyGuard busy(*this);
    CloseDigest();
    const QString blank = m_home + QLatin1Char('/') + WorkingFiles::BlankWav;
    SetFileName(blank, false); // the back end lets go of the previous sentence's file
    if (!m_sentenceSndFile.isEmpty()) {
        QFile::remove(m_sentenceSndFile + QStringLiteral(".mp3"));
        QFile::remove(m_sentenceSndFile + QStringLiteral(".wav"));
    }
    m_sentenceSndFile = WorkingFiles::NewRandomSoundBase(m_home);
    QDir().mkpath(m_home + QLatin1Char('/') + WorkingFiles::AllTmpFile);
    const QString wave = m_sentenceSndFile + QStringLiteral(".wav");
    m_sounds.MakeSentenceSound(m_bookHandle, nSentenceNoInAll, m_sentenceSndFile);
    m_soundOpen = SetFileName(wave, true);
    if (m_soundOpen) {
        m_digestHandle = m_sounds.MakeAndOpenDigest(wave, m_home + QLatin1Char('/') + WorkingFiles::TmpDigest);
        m_digestReady = m_digestHandle > 0;
    }
    m_sndLength = m_soundOpen ? GetFileLength() : 0;
    m_wave.SetSndLength(m_sndLength);
    m_wave.FitZoom();
    emit waveChanged();
    return m_soundOpen;
}

void PlaybackController::ToCloseFileForPlayer()
{
    m_media.stop();
    BusyGuard busy(*this);
    SetFileName(m_home + QLatin1Char('/') + WorkingFiles::BlankWav, false);
}

// ---- Lesson -------------------------------------------------------------------------------

void PlaybackController::OpenLesson(const QString &szBookFileName, int nLessonNo, bool bRegenerateHtml)
{
    if (IsBusy())
        return;
    BusyGuard busy(*this);
    const bool reopen = szBookFileName.isEmpty() || nLessonNo == -1;
    int start = m_curSentence;
    if (reopen && m_bookFile.isEmpty())
        return; // nothing to reopen
    // Whatever played stops before the pages are replaced; a preview gives back the
    // controls it took.
    if (m_status == Previewing)
        EndPreview();
    if (m_status != NoLesson && m_status != Stopped) {
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
        m_inRepeatGap = false;
        m_paused = false;
    }
    if (!reopen) {
        m_bookFile = szBookFileName;
        m_lessonNo = nLessonNo;
        m_timesUndo.clear(); // undo reaches back only within one open lesson
        m_filter.clear();
    }
    m_lessonFinished = false;
    SetABRepeatStatus(0);
    LessonPagesResult pages;
    const int loaded = m_pages.LoadLessonPages(m_bookFile, m_lessonNo, bRegenerateHtml, pages);
    if (loaded != 1 || pages.sentenceCount <= 0) {
        CloseDigest();
        m_sentenceCount = 0;
        m_curSentence = -1;
        m_bookHandle = loaded == 1 ? pages.bookHandle : -1;
        m_pages.CloseLessonPages();
        m_bookHandle = -1;
        SetLessonInfo(QString());
        SetStatus(NoLesson);
        ShowMessage(loaded != 1 ? QStringLiteral("无法载入课文：%1（第 %2 课）").arg(m_bookFile).arg(m_lessonNo)
                                : QStringLiteral("这一课没有句子：%1（第 %2 课）").arg(m_bookFile).arg(m_lessonNo));
        return;
    }
    m_bookHandle = pages.bookHandle;
    m_sentenceCount = pages.sentenceCount;
    m_hasTitleSentence = pages.hasTitleSentence ? 1 : 0;
    m_lessonFirstSentence = pages.lessonFirstSentence;
    m_curSentence = -1; // the pages were analysed afresh
    if (!reopen || start < 0 || start >= m_sentenceCount)
        start = m_hasTitleSentence < m_sentenceCount ? m_hasTitleSentence : 0;
    m_pages.ApplyDisplayOptions();
    m_curPos = 0;
    SetCurSentenceNow(start);
    SetStatus(Stopped);
    m_wave.SetWindowStartPos(0);
    MoveTapeHead(0);
    emit waveChanged();
}

void PlaybackController::CloseBookForDrill()
{
    if (m_status != NoLesson && m_status != Stopped)
        DoStop();
    m_pages.CloseBook();
    m_bookHandle = -1;
}

bool PlaybackController::ReopenBookAfterDrill(const QString &returnedBookFile)
{
    if (!returnedBookFile.isEmpty())
        m_bookFile = returnedBookFile;
    m_bookHandle = m_pages.ReopenBook(m_bookFile);
    if (m_bookHandle != -1)
        return true;
    ShowMessage(QStringLiteral("无法重新打开句子库文件：%1").arg(m_bookFile));
    btCloseFileClick();
    return false;
}

void PlaybackController::btCloseFileClick()
{
    CloseDigest();
    DoStop();
    SetStatus(NoLesson);
    m_pages.CloseLessonPages();
    m_bookHandle = -1;
    ToCloseFileForPlayer();
    if (!m_sentenceSndFile.isEmpty()) {
        QFile::remove(m_sentenceSndFile + QStringLiteral(".mp3"));
        QFile::remove(m_sentenceSndFile + QStringLiteral(".wav"));
        m_sentenceSndFile.clear();
    }
    m_sentenceCount = 0;
    m_curSentence = -1;
    m_timesUndo.clear();
    m_filter.clear();
    SetLessonInfo(QString());
}

// ---- Play, pause, stop, speed ------------------------------------------------------------

void PlaybackController::btPlay_Click()
{
    if (!IsBusy())
        DoPlay();
}

void PlaybackController::RestartLessonFromTop()
{
    m_curPos = 0;
    SetCurSentenceNow(m_hasTitleSentence);
    SetCurrentPosNow(0);
}

void PlaybackController::DoPlay()
{
    if (m_lessonFinished) {
        RestartLessonFromTop();
        m_wave.SetWindowStartPos(0);
        emit waveChanged();
    }
    m_lessonFinished = false;
    SetStatus(Playing);
    m_autoNext = true;
    NormallyPlayFile(true);
    emit sentenceHeard(GetSentenceNoInAll(m_curSentence), false);
}

void PlaybackController::btPlaySentence_click()
{
    if (!IsBusy())
        DoPlaySentence();
}

void PlaybackController::DoPlaySentence()
{
    if (m_status != Stopped)
        return;
    SetStatus(Playing);
    ToSentenceHeadNow();
    NormallyPlayFile(false);
    emit sentenceHeard(GetSentenceNoInAll(m_curSentence), false);
}

void PlaybackController::btPause_Click()
{
    if (IsBusy())
        return;
    if (m_status == AutoRepeating && m_inRepeatGap) {
        if (!m_paused) {
            m_buttons.Enable(QStringLiteral("btPrev"), false);
            m_buttons.Enable(QStringLiteral("btNext"), false);
            m_buttons.Enable(QStringLiteral("btStop"), false);
            m_paused = true;
            m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
        } else {
            m_paused = false;
            m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, true);
            m_buttons.Enable(QStringLiteral("btStop"), true);
        }
        Changed();
        return;
    }
    if (!m_paused) {
        EnableWaveWindow(false);
        m_buttons.Enable(QStringLiteral("btPrev"), false);
        m_buttons.Enable(QStringLiteral("btNext"), false);
        m_paused = true;
        m_savedStatusText = m_statusText;
        IndicateStatus(QStringLiteral("已暂停，只能再按暂停按钮继续"));
        m_buttons.DisableAllButtons();
        ToPause();
    } else {
        EnableWaveWindow(true);
        ToContinue();
        m_buttons.Enable(QStringLiteral("btPrev"), true);
        m_buttons.Enable(QStringLiteral("btNext"), true);
        m_paused = false;
        IndicateStatus(m_savedStatusText);
        m_buttons.RestoreAllButtons();
    }
    Changed();
}

void PlaybackController::btStop_Click()
{
    if (!IsBusy())
        DoStop();
}

void PlaybackController::DoStop()
{
    m_lessonFinished = false;
    m_paused = false;
    switch (m_status) {
    case Playing:
        SetStatus(Stopped);
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        break;
    case Repeating:
        StopRepeat();
        break;
    case AutoRepeating:
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        SetStatus(Stopped);
        SetCurrentPosNow(m_curPos); // the sound stays where the display says
        break;
    default:
        break;
    }
}

void PlaybackController::cbSpeed_Click(int entry)
{
    static const int codes[] = {1, 0, 2, 3};
    if (entry < 0 || entry > 3)
        return;
    m_speedEntry = entry;
    SetSpeed(codes[entry]);
    SaveUserInt(QString::fromLatin1(Key::Speed), codes[entry]);
}

void PlaybackController::SetSpeed(int speedCode)
{
    static const double rates[] = {1.0, 0.8, 1.2, 1.4};
    if (speedCode < 0 || speedCode > 3)
        return;
    m_rate = rates[speedCode];
    m_media.setRate(m_rate);
}

} // namespace mvx
