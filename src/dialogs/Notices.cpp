#include "dialogs/Notices.h"

#include "dialogs/AdvForm.h"
#include "core/WaitMark.h"
#include "libs/comm/CommLib.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace mvx {

void CheckNewMessages(QWidget *parent)
{
    // Never inside a page or sound wait, nor over another modal window: look again 500 ms
    // later. Nothing waits at start-up, so there the check runs at once.
    if (WaitMark::Running() || QApplication::activeModalWidget()) {
        QTimer::singleShot(500, qApp, [owner = QPointer<QWidget>(parent), hadOwner = parent != nullptr] {
            if (!hadOwner || owner)
                CheckNewMessages(owner);
        });
        return;
    }
    if (vcInitQmrAdv() != 0) {
        QString buffer;
        const int newMessageCount = vcIfNewMsgExist(buffer);
        if (newMessageCount > 0) {
            const QString messagesFile = buffer.left(vcMystrlen(buffer));
            AdvForm form(messagesFile, newMessageCount, parent);
            form.Load();
            if (form.NoticeLoaded())
                form.exec();
        }
    }
    vcEndQmrAdv();
}

} // namespace mvx
