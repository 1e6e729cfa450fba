#include "CustomEvents.h"

namespace mvx {

bool PlayerMessageHook(PlayerMessageTarget &target, const QEvent *event, int *result)
{
    if (!event)
        return false;
    const auto *msg = dynamic_cast<const PrivateMessageEvent *>(event);
    const qintptr w = msg ? msg->wParam() : 0;
    const qintptr l = msg ? msg->lParam() : 0;
    int r = 0;
    switch (int(event->type())) {
    case MsgSaveNewWord:
        r = target.MakeNewwordNote();
        break;
    case MsgNotebookClosed:
        r = target.NotebookFormUnload(w, l);
        break;
    case MsgShowWordSource:
        r = target.ShowWordSrc(w);
        break;
    case MsgSaveWordMean:
        r = target.SaveWordMean();
        break;
    default:
        return false;
    }
    if (result)
        *result = r;
    if (msg)
        msg->setResult(r);
    return true;
}

} // namespace mvx
