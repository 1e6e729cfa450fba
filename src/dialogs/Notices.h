#pragma once
// CheckNewMessages: asks the notice service for new notices and, when there are any and
// their file can be read, shows the notice window modally. Never reports an error; the
// service is always ended.
class QWidget;

namespace mvx {

void CheckNewMessages(QWidget *parent = nullptr);

} // namespace mvx
