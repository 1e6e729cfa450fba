#pragma once
// The comment dialog of the player: "编辑当前句的注释" with a multi-line text box. OK (or
// Ctrl+Enter) keeps the text, Delete empties the comment, Cancel, Esc and the close button
// leave it as it was. Choice() and Text() tell the caller what to store.
#include "ui/SkinnedWindow.h"

class QPlainTextEdit;

namespace mvx {

class AddCommentForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    enum class Choice { Cancelled, Ok, Deleted };

    explicit AddCommentForm(QWidget *parent = nullptr);

    void SetComment(const QString &text);
    void HideDeleteButton();
    [[nodiscard]] Choice ChoiceMade() const { return m_choice; }
    // The text box's text with leading and trailing blanks removed.
    [[nodiscard]] QString Text() const;
    [[nodiscard]] QPlainTextEdit *TextBox() const { return m_text; }

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btDelete_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_text = nullptr;
    Choice m_choice = Choice::Cancelled;
    bool m_deleteHidden = false;
};

} // namespace mvx
