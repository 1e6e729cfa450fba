// PlaybackController, second half: the current sentence, navigation, end checks, the
// three kinds of repeat, moving inside a sentence, waveform clicks and the key table.
#include "core/AppState.h"
#include "core/Helpers.h"
#include "libs/media/MediaPlayerInterface.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "player/playback/PlaybackMath.h"

#include <algorithm>

namespace mvx {

// ---- Current sentence ---------------------------------------------------------------------

void PlaybackController::SetCurSentence(int n)
{
    if (!IsBusy())
        SetCurSentenceNow(n);
}

void PlaybackController::SetCurSentenceNow(int n)
{
    if (n >= m_sentenceCount || n < 0)
        return;
    if (m_status == Previewing)
        EndPreview(); // the preview belongs to the sentence being left
    BusyGuard busy(*this);
    const PageShowState show = m_pages.ShowState();
    const int old = m_curSentence;
    if (old != -1 && m_pages.GetESentence(old))
        m_pages.ShowCurSentence(SentenceText::English, old, false);

    m_curSentence = n;
    bool scrolledTop = false;
    if (m_pages.GetESentence(n)) {
        m_pages.ShowCurSentence(SentenceText::English, n, true);
        ScrollEnglish(n, scrolledTop);
    }

    PrepareSentenceSnd(GetSentenceNoInAll(n));
    if (m_curPos > m_sndLength)
        m_curPos = m_sndLength; // a shorter sentence follows: the old position is past its end
    MoveTapeHead(0);

    if (!show.mixedLayout || show.maskActive || (show.chineseShown && !show.englishShown)) {
        if (old != -1 && m_pages.GetCSentence(old))
            m_pages.ShowCurSentence(SentenceText::Chinese, old, false);
        if (m_pages.GetCSentence(n)) {
            m_pages.ShowCurSentence(SentenceText::Chinese, n, true);
            if (!(show.englishShown && show.chineseShown && show.mixedLayout))
                ScrollByStatus(int(SentenceText::Chinese), n, scrolledTop);
        }
    }

    if (old != -1 && m_pages.GetComment(old))
        m_pages.ShowCurSentence(SentenceText::Comment, old, false);
    if (m_pages.GetComment(n)) {
        m_pages.ShowCurSentence(SentenceText::Comment, n, true);
        if (scrolledTop)
            m_pages.ScrollSentence(SentenceText::Comment, n, true);
        else if (m_pages.ElementDisplayingStatus(SentenceText::Comment, n) != 1)
            m_pages.ScrollSentence(SentenceText::Comment, n, true);
    }

    if (m_hasTitleSentence == 0)
        SetLessonInfo(QStringLiteral("共 %1 句，当前是第 %2 句").arg(m_sentenceCount).arg(m_curSentence + 1));
    else
        SetLessonInfo(QStringLiteral("共 %1 句，当前是第 %2 句").arg(m_sentenceCount - 1).arg(m_curSentence));

    if (!show.englishShown || !show.chineseShown)
        m_pages.RefreshCurrentSentencePages(n);
    ComputeRepeatGap();

    // A sound that could not be opened leaves the player stopped, ready for the learner.
    if (!m_soundOpen && m_status != NoLesson && m_status != Stopped) {
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
        m_inRepeatGap = false;
        SetStatus(Stopped);
    }
}

void PlaybackController::ScrollEnglish(int n, bool &scrolledTop)
{
    const int st = m_pages.ElementDisplayingStatus(SentenceText::English, n);
    if (st == 1)
        return;
    const bool top = st == 0 || st == 3 || (m_status == Playing && m_autoNext);
    m_pages.ScrollSentence(SentenceText::English, n, top);
    scrolledTop = top;
}

void PlaybackController::ScrollByStatus(int textKind, int n, bool scrolledTop)
{
    const auto text = SentenceText(textKind);
    if (scrolledTop) {
        m_pages.ScrollSentence(text, n, true);
        return;
    }
    const int st = m_pages.ElementDisplayingStatus(text, n);
    if (st == 1)
        return;
    const bool top = st == 0 || st == 3 || (m_status == Playing && m_autoNext);
    m_pages.ScrollSentence(text, n, top);
}

void PlaybackController::ComputeRepeatGap()
{
    static const double factors[] = {0, 1, 1.5, 2, 2.5, 3};
    const int setting = App().playback.autoRepeatGapSetting;
    m_repeatGap = setting >= 0 && setting <= 5 ? RoundHalfEven(factors[setting] * m_sndLength) : 0;
}

// ---- Navigation ---------------------------------------------------------------------------

void PlaybackController::GoToSentence(int n)
{
    if (!IsBusy())
        GoToSentenceNow(n);
}

void PlaybackController::GoToSentenceNow(int target)
{
    if (target < 0 || target >= m_sentenceCount)
        return;
    if (m_status == Previewing)
        EndPreview(); // then as from a stopped player
    switch (m_status) {
    case Stopped:
        SetCurSentenceNow(target);
        SetCurrentPosNow(0);
        break;
    case Playing: {
        const int was = m_curSentence;
        const bool autoNext = m_autoNext;
        DoStop();
        SetCurSentenceNow(target);
        SetCurrentPosNow(0);
        if (m_status != Stopped)
            break; // the sentence change itself stopped elsewhere
        if (autoNext)
            DoPlay();
        else if (target == was)
            DoPlaySentence();
        break;
    }
    case Repeating:
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        m_repeatStatus.clear();
        SetStatus(Stopped);
        SetCurSentenceNow(target);
        SetCurrentPosNow(0);
        break;
    case AutoRepeating:
        DoStop();
        SetCurSentenceNow(target);
        SetCurrentPosNow(0);
        if (m_status == Stopped)
            DoAutoRepeat();
        break;
    default:
        break;
    }
}

void PlaybackController::btPrev_Click()
{
    if (IsBusy())
        return;
    const int prev = PrevSentence(m_curSentence);
    if (prev < 0)
        Beep();
    else
        GoToSentenceNow(prev);
}

void PlaybackController::btNext_Click()
{
    if (IsBusy())
        return;
    const int next = NextSentence(m_curSentence);
    if (next < 0)
        Beep();
    else
        GoToSentenceNow(next);
}

void PlaybackController::SetSentenceFilter(QList<int> sentences)
{
    std::sort(sentences.begin(), sentences.end());
    sentences.erase(std::unique(sentences.begin(), sentences.end()), sentences.end());
    sentences.removeIf([this](int n) { return n < m_hasTitleSentence || n >= m_sentenceCount; });
    m_filter = sentences;
    Changed();
}

int PlaybackController::NextSentence(int n) const
{
    if (m_filter.isEmpty())
        return n + 1 < m_sentenceCount ? n + 1 : -1;
    const auto it = std::upper_bound(m_filter.begin(), m_filter.end(), n);
    return it == m_filter.end() ? -1 : *it;
}

int PlaybackController::PrevSentence(int n) const
{
    if (m_filter.isEmpty())
        return n - 1 >= m_hasTitleSentence ? n - 1 : -1;
    const auto it = std::lower_bound(m_filter.begin(), m_filter.end(), n);
    return it == m_filter.begin() ? -1 : *(it - 1);
}

// ---- End checks ---------------------------------------------------------------------------

void PlaybackController::EndCheckPlaying()
{
    if (m_curPos <= m_sndLength - EndMarginMs)
        return;
    SetABRepeatStatus(0);
    m_wave.ShowSegLines(false, false);
    const int next = NextSentence(m_curSentence);
    if (m_autoNext && next < 0) {
        SetStatus(Stopped);
        m_lessonFinished = true;
    } else if (m_autoNext) {
        SetCurSentenceNow(next);
        if (m_status == Playing) {
            ToPlay();
            emit sentenceHeard(GetSentenceNoInAll(m_curSentence), false);
        }
    } else {
        SetStatus(Stopped);
        StopPlay();
        SetCurrentPosNow(0);
        MoveTapeHead(0);
        m_clock.SetTimer(PlayerTimer::Position, false);
    }
}

void PlaybackController::EndCheckRepeating()
{
    if (m_curPos >= m_repeatEnd) {
        SetCurrentPosNow(m_repeatStart);
        emit sentenceHeard(GetSentenceNoInAll(m_curSentence), true);
    }
}

void PlaybackController::EndCheckAutoRepeating()
{
    if (m_inRepeatGap || m_curPos < m_repeatEnd)
        return;
    ++m_autoRepeatCount;
    if (m_autoRepeatCount < App().playback.autoRepeatTimes) {
        SetCurrentPosNow(m_repeatStart);
        ToPlay();
        emit sentenceHeard(GetSentenceNoInAll(m_curSentence), true);
    } else {
        StartRepeatGap();
    }
}

void PlaybackController::StartRepeatGap()
{
    StopPlay();
    m_gapElapsed = 0;
    m_inRepeatGap = true;
    m_readHintVisible = true;
    m_buttons.Enable(QStringLiteral("btPrev"), false);
    m_buttons.Enable(QStringLiteral("btNext"), false);
    EnableWaveWindow(false);
    m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, true);
    Changed();
}

void PlaybackController::EndCheckPreviewing()
{
    if (m_curPos < m_previewEnd)
        return;
    EndPreview();
    SetCurrentPosNow(m_previewStart);
    MoveTapeHead(m_previewStart);
}

void PlaybackController::EndPreview()
{
    m_clock.SetTimer(PlayerTimer::Position, false);
    m_wave.SetPictureEnabled(true);
    m_wave.SetScrollEnabled(true);
    m_buttons.EnableMostButtons(true);
    m_media.stop();
    SetStatus(Stopped);
}

void PlaybackController::timerAutoRepeatBreak_Timer()
{
    if (m_status == AutoRepeating && m_inRepeatGap) {
        m_gapElapsed += m_clock.IntervalMs(PlayerTimer::AutoRepeatBreak);
        if (m_gapElapsed < m_repeatGap)
            return;
        EnableWaveWindow(true);
        m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
        m_inRepeatGap = false;
        const int next = NextSentence(m_curSentence);
        if (next < 0) {
            DoStop();
            m_curPos = m_sndLength;
        } else {
            SetCurSentenceNow(next);
            if (m_status == AutoRepeating)
                DoAutoRepeat();
        }
        return;
    }
    m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
    m_gapElapsed = 0;
}

// ---- Repeats ------------------------------------------------------------------------------

void PlaybackController::btRepeatSentence_Click()
{
    if (!IsBusy())
        DoRepeatSentence();
}

void PlaybackController::DoRepeatSentence()
{
    if (m_status == Playing)
        StopPlay();
    m_repeatStart = 0;
    m_repeatEnd = m_sndLength;
    SetStatus(Repeating);
    PlaySegment(m_repeatStart, m_repeatEnd);
}

void PlaybackController::StopRepeat()
{
    m_repeatStatus.clear();
    StopPlay();
    m_clock.SetTimer(PlayerTimer::Position, false);
    SetCurrentPosNow(m_curPos);
    SetStatus(Stopped);
}

void PlaybackController::PlaySegment(int nStartPos, int nEndPos)
{
    if (nStartPos >= nEndPos) {
        m_repeatStart = std::max(0, m_repeatEnd - MinSegmentMs);
        nStartPos = std::max(0, nEndPos - MinSegmentMs);
    }
    m_wave.MoveSegLines(nStartPos, nEndPos);
    if (m_status == Repeating)
        UpdateRepeatStatusText();
    m_media.setCurrentPosition(nStartPos / 1000.0);
    m_clock.SetTimer(PlayerTimer::Position, true);
    ToPlay();
    emit tapeHeadMoved();
    emit sentenceHeard(GetSentenceNoInAll(m_curSentence), true);
}

void PlaybackController::UpdateRepeatStatusText()
{
    m_repeatStatus = QStringLiteral("复读起点 ") + FormatPlayTime(m_repeatStart) + QStringLiteral(" 长度 ")
                     + FormatPlayTime(m_repeatEnd - m_repeatStart) + QStringLiteral("  终点")
                     + FormatPlayTime(m_repeatEnd);
    Changed();
}

void PlaybackController::SetABRepeatStatus(int nStatus)
{
    m_abRepeatStatus = nStatus;
    const bool playing = m_status == Playing;
    m_buttons.Enable(QStringLiteral("btABRepeatA"), playing && nStatus != 2);
    m_buttons.Enable(QStringLiteral("btABRepeatB"), playing && nStatus == 1);
    Changed();
}

void PlaybackController::btABRepeatA_click()
{
    if (IsBusy() || m_abRepeatStatus == 2)
        return;
    if (m_status == Stopped) {
        if (m_lessonFinished)
            RestartLessonFromTop();
        m_repeatStart = m_curPos;
        m_wave.MoveSegStart(m_repeatStart);
        NormallyPlayFile(m_autoNext);
        SetStatus(Playing);
        m_wave.ShowSegLines(true, false);
        SetABRepeatStatus(1);
    } else if (m_status == Playing) {
        m_repeatStart = m_curPos;
        m_wave.MoveSegStart(m_repeatStart);
        m_wave.ShowSegLines(true, false);
        if (m_abRepeatStatus == 0)
            SetABRepeatStatus(1);
    }
    emit tapeHeadMoved();
}

void PlaybackController::btABRepeatB_Click()
{
    if (IsBusy() || m_abRepeatStatus != 1)
        return;
    StopPlay();
    m_repeatEnd = m_curPos;
    SetStatus(Repeating);
    SetABRepeatStatus(2);
    PlaySegment(m_repeatStart, m_repeatEnd);
}

void PlaybackController::btAutoRepeat_Click()
{
    if (!IsBusy())
        DoAutoRepeat();
}

void PlaybackController::DoAutoRepeat()
{
    m_autoRepeatCount = 0;
    m_repeatStart = 0;
    m_repeatEnd = m_sndLength;
    SetStatus(AutoRepeating);
    m_inRepeatGap = false;
    m_readHintVisible = false;
    PlaySegment(0, m_sndLength);
}

// ---- Moving inside the sentence -----------------------------------------------------------

void PlaybackController::ToSentenceHead()
{
    if (!IsBusy())
        ToSentenceHeadNow();
}

void PlaybackController::ToSentenceHeadNow()
{
    if (m_status == Stopped || m_status == Playing || m_status == AutoRepeating)
        SetCurrentPosNow(0);
    else if (m_status == Repeating)
        SetCurrentPosNow(m_repeatStart);
    else
        return;
    MoveTapeHead(m_curPos);
}

void PlaybackController::Backward(int nDistance)
{
    if (IsBusy())
        return;
    int pos = m_curPos - nDistance;
    if (m_status == Stopped || m_status == Playing || m_status == AutoRepeating)
        pos = std::max(pos, 0);
    else if (m_status == Repeating)
        pos = std::max(pos, m_repeatStart);
    else
        return;
    SetCurrentPosNow(pos);
    MoveTapeHead(pos);
}

void PlaybackController::Forward(int nDistance)
{
    if (IsBusy())
        return;
    const int pos = m_curPos + nDistance;
    if (m_status == Stopped || m_status == Playing || m_status == AutoRepeating) {
        if (pos > m_sndLength - nDistance)
            return;
    } else if (m_status == Repeating) {
        if (pos > m_repeatEnd)
            return;
    } else {
        return;
    }
    SetCurrentPosNow(pos);
    MoveTapeHead(pos);
}

// ---- Waveform view ------------------------------------------------------------------------

void PlaybackController::SetWavePictureWidth(int px)
{
    m_wave.SetPictureWidth(px);
    m_wave.CountWindowWidth(false);
    emit waveChanged();
}

void PlaybackController::WaveMouseDown(int x, bool leftButton, bool ctrl)
{
    if (IsBusy() || m_status == NoLesson || !m_wave.PictureEnabled())
        return;
    const int t = m_wave.TimeAt(x);
    if (t >= m_sndLength) {
        Beep();
        return;
    }
    if (!leftButton && m_status == AutoRepeating) {
        ShowMessage(QStringLiteral("逐句复读时不能只复读句子某一部分"));
        return;
    }
    if (m_status != Repeating)
        MoveTapeHead(t);
    switch (m_status) {
    case Stopped:
        if (leftButton) {
            SetCurrentPosNow(t);
        } else {
            m_repeatStart = std::min(m_curPos, t);
            m_repeatEnd = std::max(m_curPos, t);
            SetCurrentPosNow(m_repeatStart);
            SetStatus(Repeating);
            PlaySegment(m_repeatStart, m_repeatEnd);
        }
        break;
    case Playing:
        if (leftButton) {
            SetCurrentPosNow(t);
            NormallyPlayFile(m_autoNext);
        } else {
            const int p = GetPosition();
            m_repeatStart = std::min(p, t);
            m_repeatEnd = std::max(p, t);
            SetStatus(Repeating);
            StopPlay();
            PlaySegment(m_repeatStart, m_repeatEnd);
        }
        break;
    case Repeating:
        if (leftButton && !ctrl) {
            SetCurrentPosNow(t);
        } else if (leftButton) {
            if (t < m_repeatEnd) {
                SetCurrentPosNow(t);
                m_repeatStart = t;
                StopPlay();
                PlaySegment(m_repeatStart, m_repeatEnd);
            } else {
                Beep();
            }
        } else if (ctrl && t > m_repeatStart) {
            SetCurrentPosNow(m_repeatStart);
            m_repeatEnd = t;
            StopPlay();
            PlaySegment(m_repeatStart, m_repeatEnd);
        } else {
            Beep();
        }
        break;
    case AutoRepeating:
        if (leftButton)
            SetCurrentPosNow(t);
        break;
    default:
        break;
    }
}

void PlaybackController::WaveDoubleClick()
{
    if (!IsBusy() && m_status == Stopped)
        Preview(m_curPos);
}

void PlaybackController::Preview(int nPos)
{
    const int len = App().playback.previewLen;
    if (len == 0)
        return;
    int end = nPos + len * 1000;
    if (end > m_sndLength)
        end = m_sndLength - 2;
    if (end >= nPos) {
        SetStatus(Previewing);
        PlayPreviewSegment(nPos, end);
    }
}

void PlaybackController::PlayPreviewSegment(int nStartPos, int nEndPos)
{
    m_previewStart = nStartPos;
    m_previewEnd = nEndPos;
    m_media.setCurrentPosition(nStartPos / 1000.0);
    m_clock.SetTimer(PlayerTimer::Position, true);
    ToPlay();
}

void PlaybackController::hsWave_Scroll(int value)
{
    if (IsBusy())
        return;
    m_wave.SetWindowStartPos(value * 1000);
    emit waveChanged();
}

void PlaybackController::hsWave_Change(int value)
{
    if (IsBusy())
        return;
    m_wave.SetWindowStartPos(value * 1000);
    // The head stays where it is on the screen; the sound position follows it.
    const int t = std::clamp(m_wave.TimeAt(m_wave.TapeHeadX()), 0, m_sndLength);
    SetCurrentPosNow(t);
    m_wave.MoveTapeHead(t);
    emit waveChanged();
}

// ---- Keys and buttons ---------------------------------------------------------------------

bool PlaybackController::ClickButton(const QString &name)
{
    if (IsBusy() || !m_buttons.IsEnabled(name))
        return false;
    const QString n = name.toLower();
    if (n == QLatin1String("btplay"))
        DoPlay();
    else if (n == QLatin1String("btrepeatsentence"))
        DoRepeatSentence();
    else if (n == QLatin1String("btautorepeat"))
        DoAutoRepeat();
    else if (n == QLatin1String("btplaysentence"))
        DoPlaySentence();
    else if (n == QLatin1String("btabrepeata"))
        btABRepeatA_click();
    else if (n == QLatin1String("btabrepeatb"))
        btABRepeatB_Click();
    else if (n == QLatin1String("btpause"))
        btPause_Click();
    else if (n == QLatin1String("btstop"))
        DoStop();
    else if (n == QLatin1String("btprev"))
        btPrev_Click();
    else if (n == QLatin1String("btnext"))
        btNext_Click();
    else if (ButtonPanel::PlayerButtons().contains(name, Qt::CaseInsensitive))
        emit featureRequested(name);
    else
        return false;
    return true;
}

bool PlaybackController::ConsumesKey(int qtKey, bool)
{
    switch (qtKey) {
    case Qt::Key_H:
    case Qt::Key_J:
    case Qt::Key_F3:
    case Qt::Key_F5:
    case Qt::Key_F11:
    case Qt::Key_F12:
        return true;
    default:
        return false;
    }
}

bool PlaybackController::HandleKey(int qtKey, bool alt)
{
    if (IsBusy()) {
        // Nothing may start while a sentence changes: the key is acted on after it.
        if (int(m_heldKeys.size()) < MaxHeldKeys)
            m_heldKeys.emplace_back(qtKey, alt);
        return true;
    }
    const PageShowState show = m_pages.ShowState();
    switch (qtKey) {
    case Qt::Key_G:
        ClickButton(QStringLiteral("btPlay"));
        return true;
    case Qt::Key_D:
    case Qt::Key_Pause:
        ClickButton(QStringLiteral("btPause"));
        return true;
    case Qt::Key_S:
        ClickButton(alt ? QStringLiteral("btSpell") : QStringLiteral("btStop"));
        return true;
    case Qt::Key_H:
        if (alt)
            emit featureRequested(QStringLiteral("ShowAllMarkedSentences"));
        else
            ClickButton(QStringLiteral("btPrev"));
        return true;
    case Qt::Key_J:
        ClickButton(QStringLiteral("btNext"));
        return true;
    case Qt::Key_F:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ClickButton(QStringLiteral("btPlaySentence"));
        return true;
    case Qt::Key_R:
        ClickButton(QStringLiteral("btRepeatSentence"));
        return true;
    case Qt::Key_A:
        ClickButton(alt ? QStringLiteral("btSpeak") : QStringLiteral("btABRepeatA"));
        return true;
    case Qt::Key_W:
        ClickButton(QStringLiteral("btSpeak"));
        return true;
    case Qt::Key_B:
        ClickButton(QStringLiteral("btABRepeatB"));
        return true;
    case Qt::Key_Home:
        ToSentenceHeadNow();
        return true;
    case Qt::Key_K:
        Backward(SeekStepMs);
        return true;
    case Qt::Key_L:
        Forward(SeekStepMs);
        return true;
    case Qt::Key_M:
        ClickButton(QStringLiteral("btMarkSentence"));
        return true;
    case Qt::Key_F9:
        ClickButton(QStringLiteral("btDigest"));
        return true;
    case Qt::Key_E:
        if (alt && show.chineseShown && (!show.mixedLayout || !show.englishShown))
            emit featureRequested(QStringLiteral("HilightCurCSentence"));
        return alt;
    case Qt::Key_Q:
        if (show.maskActive)
            emit featureRequested(QStringLiteral("RevealNextWord"));
        return true;
    case Qt::Key_C:
    case Qt::Key_F5:
        emit featureRequested(QStringLiteral("ShowCurESentence"));
        return true;
    case Qt::Key_X:
    case Qt::Key_F3:
        emit featureRequested(QStringLiteral("ShowCurCSentence"));
        return true;
    case Qt::Key_F11:
        if (!show.englishShown)
            emit featureRequested(QStringLiteral("ToggleAutoShowEnglish"));
        return true;
    case Qt::Key_F12:
        if (!show.chineseShown)
            emit featureRequested(QStringLiteral("ToggleAutoShowChinese"));
        return true;
    default:
        return false;
    }
}

} // namespace mvx
