#pragma once
// The skinned message box. Kind 1 shows only OK, centred; any other kind shows OK
// and Cancel at their design places. OK (click or Enter) answers true; Cancel, and
// any other way the box closes (window manager, Alt+F4), answer false. Escape does
// nothing. The answer is reset to false whenever a box loads, so a box never returns
// the previous box's answer. Open it through ShowMessageBox (MessageBox.h).
#include "ui/SkinnedWindow.h"

class QLabel;

namespace mvx {

class lgMsgBoxForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    lgMsgBoxForm();

    // Call after Load(): the message and the kind.
    void init(const QString &text, int kind);

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();

    // The program-wide answer of the last box: true after OK.
    [[nodiscard]] static bool Result();
    [[nodiscard]] QLabel *MessageLabel() const { return m_message; }

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    QLabel *m_message;
};

} // namespace mvx
