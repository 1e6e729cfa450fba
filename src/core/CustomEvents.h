#pragma once
// Private messages from the notebook-and-dictionary library's windows to their owner,
// as custom QEvent types with the old message numbers.
#include <QEvent>
#include <QPointer>

namespace mvx {

enum PrivateMessage : int {
    MsgSaveNewWord = 2259,    // make a notebook entry of the looked-up word
    MsgNotebookClosed = 2260, // the modeless notebook closed: wParam, lParam = its position
    MsgShowWordSource = 2261, // wParam = source sentence number of a notebook word
    MsgUnhandled2262 = 2262,  // not handled; passes on like any other event
    MsgSaveWordMean = 2263,   // store the shown meaning for this sentence
};

class PrivateMessageEvent final : public QEvent
{
public:
    PrivateMessageEvent(int message, qintptr wParam = 0, qintptr lParam = 0)
        : QEvent(QEvent::Type(message)), m_wParam(wParam), m_lParam(lParam)
    {
    }
    [[nodiscard]] int message() const { return int(type()); }
    [[nodiscard]] qintptr wParam() const { return m_wParam; }
    [[nodiscard]] qintptr lParam() const { return m_lParam; }
    // What the receiver answered; NoAnswer when nobody handled the message.
    static constexpr int NoAnswer = -1000;
    [[nodiscard]] int result() const { return m_result; }
    void setResult(int result) const { m_result = result; }

private:
    qintptr m_wParam;
    qintptr m_lParam;
    mutable int m_result = NoAnswer;
};

// The player operations the private messages reach.
class PlayerMessageTarget
{
public:
    virtual ~PlayerMessageTarget() = default;
    virtual int MakeNewwordNote() = 0;
    virtual int NotebookFormUnload(qintptr wParam, qintptr lParam) = 0;
    virtual int ShowWordSrc(qintptr wParam) = 0;
    virtual int SaveWordMean() = 0;
};

// Routes 2259, 2260, 2261 and 2263 to the target; returns true when handled (result set,
// also on the event for its sender).
// Anything else (2262 included) is not handled and passes on.
bool PlayerMessageHook(PlayerMessageTarget &target, const QEvent *event, int *result = nullptr);

} // namespace mvx
