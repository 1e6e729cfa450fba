#pragma once

#include <QKeyEvent>

namespace mvx {

// The keys of a skinned option dialog: Enter confirms, Escape cancels; any other key is left
// to the window (false).
template <typename Confirm, typename Cancel>
bool ConfirmOrCancelByKey(const QKeyEvent *event, Confirm confirm, Cancel cancel)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        confirm();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    return false;
}

} // namespace mvx
