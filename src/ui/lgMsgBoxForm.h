#pragma once
// The skinned message box. Kind 1 shows only OK, centred; any other kind shows OK
// and Cancel at their design places below the text. OK (click or Enter) answers true;
// Cancel, and any other way the box closes (window manager, Alt+F4), answer false.
// Escape does nothing. Each box keeps its own answer, so a box opened while another is
// up never changes the other's. The box keeps its design width and is as tall as its
// text needs (at least one line). Open it through ShowMessageBox (MessageBox.h).
#include "ui/SkinnedWindow.h"

class QLabel;

namespace mvx {

class lgMsgBoxForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit lgMsgBoxForm(QWidget *parent = nullptr);

    // Call after Load(): the message and the kind.
    void init(const QString &text, int kind);

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();

    // This box's answer: true after OK.
    [[nodiscard]] bool Answer() const { return m_answer; }
    [[nodiscard]] QLabel *MessageLabel() const { return m_message; }

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void FitToText();

    QLabel *m_message;
    bool m_answer = false;
};

} // namespace mvx
