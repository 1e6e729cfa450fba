#pragma once
// The word-sound copy window start-up shows when no word-sound library was found: what
// the library is for, where things stand, a copy command and Continue. Continue (also the
// close button, Esc and Enter) registers a library that can be found now, then closes.
#include "WordSoundManager.h"
#include "ui/SkinnedWindow.h"

class QLabel;

namespace mvx {

class CopyWordSndForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit CopyWordSndForm(QWidget *parent = nullptr);

    [[nodiscard]] QString StatusText() const;

    Q_INVOKABLE void btCopyWord_click();
    Q_INVOKABLE void btContinue_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    WordSoundManager m_manager;
    QLabel *m_status = nullptr;
};

} // namespace mvx
