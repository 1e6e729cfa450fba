#pragma once
// CheckNewMessages: asks the notice service for new notices and, when there are any and
// their file can be read, shows the notice window modally. Never reports an error; the
// service is always ended. While a wait runs or another modal window is up it returns at
// once and looks again 500 ms later.
class QWidget;

namespace mvx {

void CheckNewMessages(QWidget *parent = nullptr);

} // namespace mvx
