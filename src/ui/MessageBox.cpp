#include "ui/MessageBox.h"

#include "ui/lgMsgBoxForm.h"

namespace mvx {

namespace {
MessageBoxHandler &Handler()
{
    static MessageBoxHandler handler;
    return handler;
}
} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}

int ShowMessageBox(const QString &text, int kind)
{
    if (Handler())
        return Handler()(text, kind) ? -1 : 0;
    lgMsgBoxForm box;
    box.Load();
    box.init(text, kind);
    box.exec();
    return lgMsgBoxForm::Result() ? -1 : 0;
}

} // namespace mvx
