#pragma once
// The recitation choice: the masked recall of the whole article ("rbThink") or the shuffled
// sentences ("rbShuffle"). OK stores the choice as ReciteMode, closes the dialog, then calls
// the calling window's ToRecite(tag).
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

namespace mvx {

class ReciteModeForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit ReciteModeForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    [[nodiscard]] QString SelectedMode() const { return m_options.GetSelectedTag(); }
    void SelectMode(const QString &mode);

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    CRadioGroup m_options;
    QPointer<QObject> m_caller;
};

} // namespace mvx
