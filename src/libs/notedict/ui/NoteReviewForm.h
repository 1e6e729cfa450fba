#pragma once
// The review window of the word notebook: the due words one at a time, each spoken when it
// appears (and by R); Space or "显示答案" reveals the meaning, phonetic and source sentence,
// then 1-4 (or the buttons, each showing its interval) grade it. The logic is
// NoteReviewModel; the clock can be set for tests.
#include "notedict/NoteReviewModel.h"
#include "WordSpeaker.h"

#include "ui/SkinnedWindow.h"

#include <functional>

class QLabel;
class QPushButton;

namespace mvx {

class NoteReviewForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    explicit NoteReviewForm(QWidget *owner);

    [[nodiscard]] NoteReviewModel &model() { return m_model; }
    // Loads the due words (see NoteReviewModel::load) and shows the first.
    int loadNotebook(const QString &noteFile, const QString &libFile, const QString &rangeText);
    // The time answers are given at (the real clock unless set).
    static void SetClock(Clock clock);
    // Words spoken so far (the last first), for the tests.
    [[nodiscard]] QStringList spoken() const { return m_spoken; }

    Q_INVOKABLE void btShowAnswer_click();
    Q_INVOKABLE void btPlay_click();
    Q_INVOKABLE void btAgain_click();
    Q_INVOKABLE void btHard_click();
    Q_INVOKABLE void btGood_click();
    Q_INVOKABLE void btEasy_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void grade(ReviewSchedule::Grade grade);
    void showWord(bool speak);
    [[nodiscard]] static QDateTime now();

    NoteReviewModel m_model;
    WordSpeaker m_speaker;
    QStringList m_spoken;
    QLabel *m_word = nullptr;
    QLabel *m_phonetic = nullptr;
    QLabel *m_meaning = nullptr;
    QLabel *m_example = nullptr;
    QLabel *m_remaining = nullptr;
    QPushButton *m_show = nullptr;
    QList<QPushButton *> m_grades;
};

} // namespace mvx
