#pragma once
// What the lesson pages may ask of the player: page clicks and keys move between
// sentences and start or stop playing through these operations. The playback logic
// (PlaybackController) implements it. All calls are on the window thread; a call made
// while the player waits for a sound file or the pages (IsBusy) is ignored, so page
// events never re-enter a sentence change.
#include <QString>

namespace mvx {

// Player status codes (PlayStatus).
enum PlayStatusCode : int {
    NoLesson = 0,
    Stopped = 1,
    Playing = 2,
    Repeating = 3,
    AutoRepeating = 11,
    Previewing = 14,
};

class PlayerOperations
{
public:
    virtual ~PlayerOperations() = default;

    [[nodiscard]] virtual int PlayStatus() const = 0;
    [[nodiscard]] virtual bool AutoNext() const = 0;
    [[nodiscard]] virtual int CurSentence() const = 0;   // -1 when none
    [[nodiscard]] virtual int SentenceCount() const = 0;
    [[nodiscard]] virtual int GetSentenceNoInAll(int nNoInLesson) const = 0;
    [[nodiscard]] virtual int BookHandle() const = 0;    // -1 when no book is open
    // True while a sound file or the pages are being loaded; page events should be dropped.
    [[nodiscard]] virtual bool IsBusy() const = 0;

    // Makes sentence n current (highlight, scroll, sound, counter); n outside the lesson
    // does nothing. Does not change CurPos.
    virtual void SetCurSentence(int n) = 0;
    // Puts the play position at ms inside the current sentence; does not start or stop.
    virtual void SetCurrentPos(int ms) = 0;
    virtual void SetStatus(int status) = 0;
    virtual void StopPlay() = 0;

    // The named handlers of the player's buttons. Each does what its button does,
    // whether or not the button is enabled (callers check the status themselves).
    virtual void btPlay_Click() = 0;
    virtual void btStop_Click() = 0;
    virtual void btPause_Click() = 0;
    virtual void btPlaySentence_click() = 0;
    virtual void btRepeatSentence_Click() = 0;
    virtual void btAutoRepeat_Click() = 0;
    virtual void btPrev_Click() = 0;
    virtual void btNext_Click() = 0;
};

} // namespace mvx
