#pragma once
// The word-sound management window ("声音管理"): where word sounds come from, the copy
// command, the synthesised voice and the start-up reminder. OK stores the voice and the
// reminder; Cancel and the close button leave everything as it was.
#include "WordSoundManager.h"
#include "ui/CCheckboxGroup.h"
#include "ui/SkinnedWindow.h"

class QComboBox;
class QLabel;

namespace mvx {

class ManageSoundForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit ManageSoundForm(QWidget *parent = nullptr);

    [[nodiscard]] QString StatusText() const;
    [[nodiscard]] QComboBox *VoiceList() const { return m_voices; }
    [[nodiscard]] bool NoCopyHintTicked() const { return m_checkboxes.IsSelected(QStringLiteral("ckNoCopyHint")); }
    void SetNoCopyHint(bool ticked) { m_checkboxes.SelectButton(QStringLiteral("ckNoCopyHint"), ticked); }

    Q_INVOKABLE void btCopyWord_click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    WordSoundManager m_manager;
    CCheckboxGroup m_checkboxes;
    QLabel *m_status = nullptr;
    QComboBox *m_voices = nullptr;
};

} // namespace mvx
