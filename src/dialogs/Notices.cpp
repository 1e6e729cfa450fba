#include "dialogs/Notices.h"

#include "dialogs/AdvForm.h"
#include "libs/comm/CommLib.h"

namespace mvx {

void CheckNewMessages(QWidget *parent)
{
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
