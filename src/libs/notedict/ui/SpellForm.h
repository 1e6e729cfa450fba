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

    // The notebook the wrong and missing words go to ("notebook/brxspecial_note").
    void SetNotebook(const QString &noteFile) { m_noteFile = noteFile; }
    // Stores a correction of the current sentence (a checked answer is checked again); the
    // reason it was refused is shown and returned.
    QString CorrectCurrent(const QString &english, const QString &chinese);
    [[nodiscard]] bool Changed() const { return m_changed || m_session.Changed(); }

    Q_INVOKABLE void btReplay_click();
    // "修改句子": the correction dialog for the current sentence.
    Q_INVOKABLE void btEdit_click();
    // "生词入本": the checked sentence's wrong and missing words into the notebook.
    Q_INVOKABLE void btAddWords_click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void ShowSentence();
    void ShowChecked();
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
    QPushButton *m_edit = nullptr;
    QPushButton *m_addWords = nullptr;
    QString m_noteFile;
    bool m_changed = false; // a correction stored in an earlier run of this window
    QLineEdit *m_answer = nullptr;
    QLabel *m_result = nullptr;
    QLabel *m_english = nullptr;
    QLabel *m_chinese = nullptr;
};

} // namespace mvx
