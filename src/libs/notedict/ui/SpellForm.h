#pragma once
// The spelling window: whole-sentence dictation over a range of a book's sentences. Each
// sentence plays on arrival (at the speed chosen in the box) and again with the replay button
// or Ctrl+R while the level allows; the learner types it; Enter checks (the typed words
// marked, "right/total"), then shows the English with the faults marked, then the Chinese,
// then goes on. As the closing test it ends with the score. The logic is DictationSession.
#include "notedict/DictationSession.h"

#include "libs/media/MediaPlayer.h"
#include "ui/SkinnedWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mvx {

class SpellForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    // test: the closing test (its title, and the score at the end).
    SpellForm(QWidget *owner, bool test);

    // Reads the range (see DictationSession::Open); false with the reason in *error.
    bool Start(const QString &bookFile, int first, int count, int level, QString *error);
    [[nodiscard]] DictationSession &Session() { return m_session; }
    [[nodiscard]] QLineEdit *Answer() const { return m_answer; }
    [[nodiscard]] QString ResultText() const;   // the check, as plain text
    [[nodiscard]] QString EnglishText() const;  // the English shown after the check
    [[nodiscard]] QString ChineseText() const;
    [[nodiscard]] QString ProgressText() const;
    [[nodiscard]] const MediaPlayer &Media() const { return m_media; }
    [[nodiscard]] int PlayCount() const { return m_playCount; }

    // "只练做错的句子": the run starts again over the range's sentences whose stored result is
    // below their total; when there is none the learner is told and the run goes on as it was.
    void SetOnlyWrong(bool onlyWrong);
    [[nodiscard]] QCheckBox *OnlyWrongBox() const { return m_onlyWrong; }

    Q_INVOKABLE void btReplay_click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void ShowSentence();
    void Refresh();
    void PlayCurrent();
    static double RateOfEntry(int entry);

    bool m_test = false;
    QString m_startBook;
    int m_startFirst = 0;
    int m_startCount = 0;
    QCheckBox *m_onlyWrong = nullptr;
    DictationSession m_session;
    MediaPlayer m_media;
    QString m_soundFile;
    int m_playCount = 0;
    QComboBox *m_speed = nullptr;
    QLabel *m_progress = nullptr;
    QLabel *m_plays = nullptr;
    QPushButton *m_replay = nullptr;
    QLineEdit *m_answer = nullptr;
    QLabel *m_result = nullptr;
    QLabel *m_english = nullptr;
    QLabel *m_chinese = nullptr;
};

} // namespace mvx
