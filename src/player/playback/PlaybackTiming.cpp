// PlaybackController: the learner's timing nudges of the current sentence, with their keys,
// undo and the new cut that follows each change without leaving the status.
#include "player/playback/PlaybackController.h"
#include "player/playback/SentenceSoundSource.h"

#include <algorithm>

namespace mvx {

bool PlaybackController::NudgeCurrentSentence(bool endEdge, int deltaMs)
{
    if (m_curSentence < 0)
        return false;
    const int noInAll = GetSentenceNoInAll(m_curSentence);
    return ChangeTimes(noInAll, [&] { return m_sounds.NudgeTimes(m_bookHandle, noInAll, endEdge, deltaMs); }, true);
}

bool PlaybackController::RestoreCurrentSentenceTimes()
{
    if (m_curSentence < 0)
        return false;
    const int noInAll = GetSentenceNoInAll(m_curSentence);
    return ChangeTimes(noInAll, [&] { return m_sounds.RestoreTimes(m_bookHandle, noInAll); }, true);
}

bool PlaybackController::UndoNudge()
{
    if (IsBusy() || m_paused)
        return false;
    if (m_timesUndo.empty()) {
        Beep();
        return false;
    }
    // Taken off even when it cannot be put back (a neighbour moved since): it would block
    // every undo before it.
    const TimesBefore last = m_timesUndo.back();
    m_timesUndo.pop_back();
    return ChangeTimes(
        last.noInAll, [&] { return m_sounds.SetHeardTimes(m_bookHandle, last.noInAll, last.startMs, last.endMs); },
        false);
}

bool PlaybackController::ChangeTimes(int noInAll, const std::function<bool()> &change, bool recordUndo)
{
    if (IsBusy() || m_status == NoLesson || m_paused || m_bookHandle == -1)
        return false;
    if (!m_sounds.CanChangeTimes(m_bookHandle)) {
        ShowMessage(QStringLiteral("这本句子库只能读，不能修改：句子的时间没有改变。"));
        return false;
    }
    if (m_status == Previewing)
        EndPreview(); // the preview belongs to the old cut
    const auto before = m_sounds.HeardTimes(m_bookHandle, noInAll);
    if (!before || !change()) {
        Beep();
        return false;
    }
    const auto after = m_sounds.HeardTimes(m_bookHandle, noInAll);
    if (!after || *after == *before) {
        Beep(); // at a limit: nothing moved
        return false;
    }
    if (recordUndo) {
        if (int(m_timesUndo.size()) >= MaxUndoNudges)
            m_timesUndo.erase(m_timesUndo.begin());
        m_timesUndo.push_back({noInAll, before->first, before->second});
    }
    if (m_curSentence >= 0 && noInAll == GetSentenceNoInAll(m_curSentence))
        RecutCurrentSentence(after->first - before->first);
    return true;
}

void PlaybackController::RecutCurrentSentence(int startShiftMs)
{
    BusyGuard busy(*this);
    const bool sounding = m_status == Playing || m_status == Repeating || (m_status == AutoRepeating && !m_inRepeatGap);
    const int oldLength = m_sndLength;
    // A time of the old cut on the new one: the same moment of the lesson's sound.
    const auto moved = [&](int t) { return std::clamp(t - startShiftMs, 0, m_sndLength); };
    const int pos = sounding ? GetPosition() : m_curPos;
    const int windowStart = m_wave.WindowStart();
    StopPlay();
    PrepareSentenceSnd(GetSentenceNoInAll(m_curSentence));
    if (!m_soundOpen) {
        StopPlay();
        m_clock.SetTimer(PlayerTimer::Position, false);
        m_clock.SetTimer(PlayerTimer::AutoRepeatBreak, false);
        m_inRepeatGap = false;
        SetStatus(Stopped);
        return;
    }
    int newPos = moved(pos);
    if (m_status == Repeating) {
        // A repeat of the whole sentence stays whole; a part keeps its stretch of the sound.
        if (m_repeatStart <= 0 && m_repeatEnd >= oldLength) {
            m_repeatStart = 0;
            m_repeatEnd = m_sndLength;
        } else {
            m_repeatStart = moved(m_repeatStart);
            m_repeatEnd = std::max(moved(m_repeatEnd), std::min(m_sndLength, m_repeatStart + MinSegmentMs));
        }
        newPos = std::clamp(newPos, m_repeatStart, m_repeatEnd);
        m_wave.MoveSegLines(m_repeatStart, m_repeatEnd);
        UpdateRepeatStatusText();
    } else if (m_status == AutoRepeating) {
        m_repeatStart = 0;
        m_repeatEnd = m_sndLength;
    } else if (m_abRepeatStatus == 1) {
        m_repeatStart = moved(m_repeatStart);
        m_wave.MoveSegStart(m_repeatStart);
    }
    ComputeRepeatGap();
    m_wave.SetWindowStartPos(std::clamp(windowStart, 0, std::max(0, m_sndLength - m_wave.WindowWidth())));
    SetCurrentPosNow(newPos);
    MoveTapeHead(newPos);
    if (sounding) {
        m_clock.SetTimer(PlayerTimer::Position, true);
        ToPlay();
    }
    emit waveChanged();
    Changed();
}

bool PlaybackController::HandleTimingKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    bool endEdge = false;
    int sign = 0;
    switch (qtKey) {
    case Qt::Key_BracketLeft:
        sign = -1;
        endEdge = shift;
        break;
    case Qt::Key_BracketRight:
        sign = 1;
        endEdge = shift;
        break;
    case Qt::Key_BraceLeft: // Shift+[ on most keyboards
        sign = -1;
        endEdge = true;
        break;
    case Qt::Key_BraceRight:
        sign = 1;
        endEdge = true;
        break;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        if (!IsBusy())
            RestoreCurrentSentenceTimes();
        return true;
    case Qt::Key_Z:
        if (!ctrl)
            return false;
        if (!IsBusy())
            UndoNudge();
        return true;
    default:
        return false;
    }
    if (!IsBusy())
        NudgeCurrentSentence(endEdge, sign * (ctrl ? FineNudgeStepMs : NudgeStepMs));
    return true;
}

} // namespace mvx
