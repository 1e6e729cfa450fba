#pragma once
// The shuffled recitation window: the Chinese of a sentence and its English words in a
// shuffled order; the learner clicks them in the sentence's order (a wrong one is refused),
// "提示" places the next one; when the sentence stands complete it is played, and Enter goes
// on. "修改句子" corrects the English and Chinese in the book. The logic is ShuffleSession.
#include "DrillWindow.h"

#include "notedict/ShuffleSession.h"

class QLabel;
class QListWidget;

namespace mvx {

class ShuffleForm final : public DrillWindow
{
    Q_OBJECT

public:
    explicit ShuffleForm(QWidget *owner);

    bool Start(const QString &bookFile, int first, int count, QString *error, quint32 seed = 0);
    [[nodiscard]] ShuffleSession &Session() { return m_session; }
    [[nodiscard]] QListWidget *Pool() const { return m_pool; }
    [[nodiscard]] QString AnswerText() const;
    [[nodiscard]] QString FeedbackText() const;
    [[nodiscard]] QString ChineseText() const;

    // Clicks pool word i (as the learner would).
    void PickWord(int poolIndex);

    Q_INVOKABLE void btHint_click();
    Q_INVOKABLE void btReplay_click();
    Q_INVOKABLE void btNext_click();
    Q_INVOKABLE void btEdit_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    bool Form_KeyDown(QKeyEvent *event) override;
    void SentenceCorrected(int noInAll, const QString &english, const QString &chinese) override;

private:
    void ShowSentence();
    void ShowWords();
    void Completed();

    ShuffleSession m_session;
    QLabel *m_progress = nullptr;
    QLabel *m_chinese = nullptr;
    QLabel *m_answer = nullptr;
    QLabel *m_feedback = nullptr;
    QListWidget *m_pool = nullptr;
};

} // namespace mvx
