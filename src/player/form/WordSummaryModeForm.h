#pragma once
// The word-summary choice: link the lesson's key words ("Keywords"), its new words
// ("Newwords"), or both, from the current sentence on. OK with neither ticked is refused;
// otherwise the dialog closes and calls the calling window's WordSummary(keywords, newwords).
#include "ui/CCheckboxGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

namespace mvx {

class WordSummaryModeForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit WordSummaryModeForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    [[nodiscard]] bool IsTicked(const QString &tag) const { return m_boxes.IsSelected(tag); }
    void SetTicked(const QString &tag, bool ticked) { m_boxes.SelectButton(tag, ticked); }
    static const QString &NeitherMessage();

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    CCheckboxGroup m_boxes;
    QPointer<QObject> m_caller;
};

} // namespace mvx
