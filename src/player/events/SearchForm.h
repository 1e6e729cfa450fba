#pragma once
// The in-page search dialog: the text to find, the page (原文 / 译文, hidden in the mixed
// layout) and whole-word matching. Search (or Enter) calls the calling window's
// SearchWord(mode, text, wholeWord) and stays open, so each search finds the next occurrence;
// Esc, cancel and close end it.
#include "ui/CCheckboxGroup.h"
#include "ui/CRadioGroup.h"
#include "ui/SkinnedWindow.h"

#include <QPointer>

class QLineEdit;

namespace mvx {

class SearchForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit SearchForm(QWidget *parent = nullptr);

    void SetCallingForm(QObject *form) { m_caller = form; }
    void HideSearchMode();
    [[nodiscard]] QLineEdit *TextBox() const { return m_teSearch; }
    [[nodiscard]] QString SelectedMode() const { return m_modes.GetSelectedTag(); }
    void SelectMode(const QString &tag) { m_modes.SelectButton(tag); }
    [[nodiscard]] bool WholeWord() const { return m_boxes.IsSelected(QStringLiteral("WholeWord")); }
    void SetWholeWord(bool on) { m_boxes.SelectButton(QStringLiteral("WholeWord"), on); }
    // The answer of the last search (false before any).
    [[nodiscard]] bool LastFound() const { return m_lastFound; }

    Q_INVOKABLE void btSearch_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    CRadioGroup m_modes;
    CCheckboxGroup m_boxes;
    QPointer<QObject> m_caller;
    QLineEdit *m_teSearch = nullptr;
    bool m_lastFound = false;
};

} // namespace mvx
