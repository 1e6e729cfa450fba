#pragma once
// "打印文章": which page to print when both are shown side by side. OK closes the dialog and
// calls the calling window's PrintDoc with the chosen tag ("rbEnglish" or "rbChinese").
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

namespace mvx {

class PrintModeForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit PrintModeForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    [[nodiscard]] QString SelectedMode() const { return m_modes.GetSelectedTag(); }
    void SelectMode(const QString &tag) { m_modes.SelectButton(tag); }

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    CRadioGroup m_modes;
    QPointer<QObject> m_caller;
};

} // namespace mvx
