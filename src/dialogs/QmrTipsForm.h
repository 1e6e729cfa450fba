#pragma once
// The usage-tips window ("使用要点"): pages through the tips of the set-up's file, opens
// the help page, and carries the show-at-start check box whose every press is stored at
// once ("-1" ticked, "0" not). Set up by InitTipsDialog (TipsDialog.h).
#include "dialogs/TipPager.h"
#include "ui/CCheckboxGroup.h"
#include "ui/SkinnedWindow.h"

class QLabel;

namespace mvx {

class QmrTipsForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    static constexpr auto CheckboxTag = "chkLoadTipsAtStartup";

    explicit QmrTipsForm(QWidget *parent = nullptr);

    [[nodiscard]] const TipPager &Tips() const { return m_tips; }
    [[nodiscard]] QLabel *TipText() const { return m_tipText; }
    [[nodiscard]] QLabel *TotalTips() const { return m_totalTips; }
    [[nodiscard]] bool Ticked() const { return m_checkboxes.IsSelected(QLatin1String(CheckboxTag)); }
    [[nodiscard]] QWidget *CheckboxLabel() const { return m_checkboxes.GetLabel(QLatin1String(CheckboxTag)); }
    [[nodiscard]] QWidget *Checkbox() const;

    void SetTipBottomText(const QString &text);
    void DisplayCurrentTip();
    // A press on the box or on its label: toggles and stores the choice.
    void ImgCheckbox_MouseDown();
    void lbCheckbox_MouseDown();

    Q_INVOKABLE void btPrevTip_Click();
    Q_INVOKABLE void btNextTip_Click();
    Q_INVOKABLE void btDetailHelp_click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    TipPager m_tips;
    CCheckboxGroup m_checkboxes;
    QLabel *m_totalTips = nullptr;
    QLabel *m_tipText = nullptr;
};

} // namespace mvx
