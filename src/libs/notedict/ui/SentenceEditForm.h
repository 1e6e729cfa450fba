#pragma once
// The drill windows' correction of a sentence: its English and Chinese in two boxes; OK
// keeps the texts (the caller stores them in the book), Cancel and close drop them.
#include "ui/SkinnedWindow.h"

class QPlainTextEdit;

namespace mvx {

class SentenceEditForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    SentenceEditForm(QWidget *owner, const QString &english, const QString &chinese);

    [[nodiscard]] QString English() const;
    [[nodiscard]] QString Chinese() const;
    [[nodiscard]] QPlainTextEdit *EnglishBox() const { return m_english; }
    [[nodiscard]] QPlainTextEdit *ChineseBox() const { return m_chinese; }

    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    QPlainTextEdit *m_english = nullptr;
    QPlainTextEdit *m_chinese = nullptr;
};

} // namespace mvx
