#pragma once
// What the lesson pages may ask of the player: page clicks and keys move between
// sentences and start or stop playing through these operations. The playback logic
// (PlaybackController) implements it. All calls are on the window thread; a call made
// while the player waits for a sound file or the pages (IsBusy) is ignored, so page
// events never re-enter a sentence change. The text side runs its own waits for the pages
// inside a BusyScope, so the player's timers and input wait for them too.
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
    // True while a sound file or the pages are being loaded, or a BusyScope is open: page
    // events and keys are held until it ends.
    [[nodiscard]] virtual bool IsBusy() const = 0;
    // Marks a wait of the caller's (a page query) as the player's own; calls nest.
    virtual void EnterBusy() = 0;
    virtual void LeaveBusy() = 0;

    class BusyScope
    {
    public:
        explicit BusyScope(PlayerOperations *player) : m_player(player)
        {
            if (m_player)
                m_player->EnterBusy();
        }
        ~BusyScope()
        {
            if (m_player)
                m_player->LeaveBusy();
        }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        PlayerOperations *m_player;
    };

    // Makes sentence n current (highlight, scroll, sound, counter); n outside the lesson
    // does nothing. Does not change CurPos.
    virtual void SetCurSentence(int n) = 0;
    // Goes to sentence n as a click on it or the previous / next buttons do, by status:
    // stopped, it becomes current at its start; playing on, play goes on from it; playing one
    // sentence, a click on that same sentence plays it again, another only moves; a repeat
    // stops there; automatic repeat goes on from it; a preview ends first.
    virtual void GoToSentence(int n) = 0;
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
