#pragma once
// The dictionary pop-up shown beside a looked-up word: the word, its phonetic, a
// pronunciation button, the meanings, the meaning stored for this sentence, and the
// buttons that save the word to the notebook (2259) and store the meaning for the
// sentence (2263). The logic is DictPopupModel; this window only shows it.
#include "notedict/DictPopupModel.h"
#include "WordSpeaker.h"

#include "ui/SkinnedWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace mvx {

class DictPopupForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    DictPopupForm(QWidget *owner, int dictHandle, const QString &word, const QString &storedMeaning);

    [[nodiscard]] DictPopupModel &model() { return m_model; }
    // Shows the window beside the word's screen rectangle (pixels), on screen.
    void popUpBeside(const QRect &wordRect);
    // Shows another word in the same window.
    void showWord(const QString &word, const QString &storedMeaning);

    Q_INVOKABLE void btSpeak_click();
    Q_INVOKABLE void btSaveWord_click();
    Q_INVOKABLE void btSaveMean_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void refresh();

    DictPopupModel m_model;
    WordSpeaker m_speaker;
    QLabel *m_title = nullptr;
    QLabel *m_phonetic = nullptr;
    QLabel *m_meanings = nullptr;
    QLabel *m_info = nullptr;
    QLabel *m_stored = nullptr;
    QLineEdit *m_meaningEdit = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace mvx
