#pragma once
// The speaking drill: each sentence of a range is played, the learner records their own
// reading (SDL2 capture), hears it, or hears both one after the other; the waveforms of the
// sentence and of the recording are drawn one above the other. "修改句子" corrects the
// sentence's English and Chinese in the book.
#include "DrillWindow.h"

#include "libs/media/SoundRecorder.h"

#include <QVector>

class QLabel;
class QPushButton;

namespace mvx {

class SoundShape;

class SpeakForm final : public DrillWindow
{
    Q_OBJECT

public:
    explicit SpeakForm(QWidget *owner);

    // Sentences first .. first + count - 1 that have words; false with *error (see
    // CheckDrillRange), also when none has words.
    bool Start(const QString &bookFile, int first, int count, QString *error);
    [[nodiscard]] int Count() const { return int(m_sentences.size()); }
    [[nodiscard]] int Index() const { return m_index; }
    [[nodiscard]] int CurrentNoInAll() const { return m_sentences.value(m_index, -1); }
    [[nodiscard]] QString EnglishText() const;
    [[nodiscard]] QString ProgressText() const;
    [[nodiscard]] const SoundRecorder &Recorder() const { return m_recorder; }
    [[nodiscard]] SoundShape *OriginalShape() const { return m_originalShape; }
    [[nodiscard]] SoundShape *RecordingShape() const { return m_recordingShape; }
    [[nodiscard]] QString RecordingFile() const { return m_recordingFile; }
    // What was played last: "original" or "recording" (the comparison plays both in turn).
    [[nodiscard]] QString LastPlayed() const { return m_lastPlayed; }

    Q_INVOKABLE void btPlayOriginal_click();
    Q_INVOKABLE void btRecord_click();
    Q_INVOKABLE void btPlayRecording_click();
    Q_INVOKABLE void btPlayBoth_click();
    Q_INVOKABLE void btPrev_click();
    Q_INVOKABLE void btNext_click();
    Q_INVOKABLE void btEdit_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;
    void SentenceCorrected(int noInAll, const QString &english, const QString &chinese) override;

private:
    void ShowSentence();
    void StopRecording();
    void Refresh();

    QVector<int> m_sentences;
    int m_index = 0;
    SoundRecorder m_recorder;
    QString m_recordingFile;
    bool m_hasRecording = false;
    bool m_recordingNext = false; // the comparison: the recording follows the sentence
    QString m_lastPlayed;
    QLabel *m_progress = nullptr;
    QLabel *m_english = nullptr;
    QLabel *m_chinese = nullptr;
    QLabel *m_state = nullptr;
    QPushButton *m_record = nullptr;
    QPushButton *m_playRecording = nullptr;
    QPushButton *m_playBoth = nullptr;
    SoundShape *m_originalShape = nullptr;
    SoundShape *m_recordingShape = nullptr;
};

} // namespace mvx
