#pragma once
// The learning-step dialog: first listening with a quiz, full study in the player, or the
// closing spelling test. OK stores the step as DefaultLearnStep, closes the dialog, then
// calls the calling window's LearnArticle(step).
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

class QLabel;

namespace mvx {

class LearnStepsForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit LearnStepsForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    [[nodiscard]] QString SelectedStep() const { return m_options.GetSelectedTag(); }
    [[nodiscard]] QString InfoText() const;
    void SelectStep(const QString &step);
    // Explanation shown for each step.
    [[nodiscard]] static QString InfoFor(const QString &step);

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    CRadioGroup m_options;
    QPointer<QObject> m_caller;
    QLabel *m_info = nullptr;
};

} // namespace mvx
