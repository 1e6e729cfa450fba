#include "SpeakForm.h"

#include "SoundShape.h"

#include "notedict/DrillBook.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFile>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace mvx {

SpeakForm::SpeakForm(QWidget *owner)
    : DrillWindow(QStringLiteral("SpeakForm"), owner, QStringLiteral("speaksentence.wav")),
      m_recordingFile(WorkingFiles::AllTmpFile + QStringLiteral("/speakrecording.wav"))
{
    SetDesignSize(9600, 7200);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("口语练习"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 9150, 75, 330, 330);
    m_progress = AddLabel(QStringLiteral("lbProgress"), QString(), 360, 600, 4200, 330);
    QWidget *speed = Sound().MakeSpeedBox(this);
    speed->setGeometry(TwipsRect(7500, 570, 1740, 360));
    m_english = AddLabel(QStringLiteral("lbEnglish"), QString(), 360, 1050, 8880, 780);
    m_english->setWordWrap(true);
    m_english->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_chinese = AddLabel(QStringLiteral("lbChinese"), QString(), 360, 1860, 8880, 600);
    m_chinese->setWordWrap(true);
    m_chinese->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddLabel(QStringLiteral("lbOriginal"), QStringLiteral("原句"), 360, 2520, 1500, 300);
    m_originalShape = new SoundShape(this);
    m_originalShape->setObjectName(QStringLiteral("picOriginal"));
    m_originalShape->setGeometry(TwipsRect(360, 2820, 8880, 1200));
    AddLabel(QStringLiteral("lbRecording"), QStringLiteral("我的录音"), 360, 4110, 1500, 300);
    m_recordingShape = new SoundShape(this);
    m_recordingShape->setObjectName(QStringLiteral("picRecording"));
    m_recordingShape->SetColour(QColor(0xC0, 0x40, 0x20));
    m_recordingShape->setGeometry(TwipsRect(360, 4410, 8880, 1200));
    m_state = AddLabel(QStringLiteral("lbState"), QString(), 360, 5700, 8880, 330);
    const int top = 6300;
    AddPlainButton(QStringLiteral("btPlayOriginal"), QStringLiteral("听原句"), 360, top, 1320, 450);
    m_record = AddPlainButton(QStringLiteral("btRecord"), QStringLiteral("录音"), 1770, top, 1320, 450);
    m_playRecording = AddPlainButton(QStringLiteral("btPlayRecording"), QStringLiteral("听录音"), 3180, top, 1320, 450);
    m_playBoth = AddPlainButton(QStringLiteral("btPlayBoth"), QStringLiteral("对比听"), 4590, top, 1320, 450);
    AddPlainButton(QStringLiteral("btPrev"), QStringLiteral("上一句"), 6000, top, 1050, 450);
    AddPlainButton(QStringLiteral("btNext"), QStringLiteral("下一句"), 7110, top, 1050, 450);
    AddPlainButton(QStringLiteral("btEdit"), QStringLiteral("修改"), 8220, top, 1020, 450);
    // The comparison: when the sentence has played, the recording follows.
    connect(&Sound(), &DrillSound::finished, this, [this] {
        if (m_recordingNext) {
            m_recordingNext = false;
            btPlayRecording_click();
        }
    });
}

bool SpeakForm::Start(const QString &bookFile, int first, int count, QString *error)
{
    m_sentences.clear();
    if (!OpenBook(bookFile, error))
        return false;
    const auto range = CheckDrillRange(*Book(), first, count, false, error);
    if (!range)
        return false;
    for (int no = range->first; no < range->first + range->count; ++no)
        if (const auto s = Book()->sentence(no); s && !sentra::SentenceWords::words(s->english).isEmpty())
            m_sentences.append(no);
    if (m_sentences.isEmpty()) {
        if (error)
            *error = QStringLiteral("这个范围内没有可以练习的句子。");
        return false;
    }
    m_index = 0;
    return true;
}

void SpeakForm::Form_Load()
{
    if (!m_sentences.isEmpty())
        ShowSentence();
}

void SpeakForm::Form_Unload()
{
    StopRecording();
    DrillWindow::Form_Unload();
    QFile::remove(m_recordingFile);
}

void SpeakForm::ShowSentence()
{
    StopRecording();
    m_recordingNext = false;
    m_hasRecording = false;
    QFile::remove(m_recordingFile);
    m_recordingShape->SetSamples({});
    const auto s = Book()->sentence(CurrentNoInAll());
    m_english->setText(s ? s->english : QString());
    m_chinese->setText(s ? s->chinese : QString());
    std::vector<qint16> samples;
    if (Book()->cutSentence(CurrentNoInAll(), samples))
        m_originalShape->SetSamples(samples);
    btPlayOriginal_click();
    Refresh();
}

void SpeakForm::Refresh()
{
    m_progress->setText(QStringLiteral("第 %1/%2 句").arg(m_index + 1).arg(Count()));
    m_record->setText(m_recorder.isRecording() ? QStringLiteral("停止录音") : QStringLiteral("录音"));
    m_playRecording->setEnabled(m_hasRecording && !m_recorder.isRecording());
    m_playBoth->setEnabled(m_hasRecording && !m_recorder.isRecording());
    m_state->setText(m_recorder.isRecording() ? QStringLiteral("正在录音……读完后按“停止录音”")
                     : m_hasRecording         ? QStringLiteral("可以听录音，或与原句对比")
                                              : QStringLiteral("听完原句后按“录音”，跟读这一句"));
}

void SpeakForm::btPlayOriginal_click()
{
    if (m_recorder.isRecording() || CurrentNoInAll() < 0)
        return;
    if (Sound().PlaySentence(*Book(), CurrentNoInAll()))
        m_lastPlayed = QStringLiteral("original");
}

void SpeakForm::btRecord_click()
{
    if (m_recorder.isRecording()) {
        StopRecording();
    } else {
        m_recordingNext = false;
        Sound().Stop();
        if (!m_recorder.start())
            ShowMessageBox(m_recorder.errorText(), 1);
    }
    Refresh();
}

void SpeakForm::StopRecording()
{
    if (!m_recorder.isRecording())
        return;
    m_recorder.stop();
    QDir().mkpath(WorkingFiles::AllTmpFile);
    m_hasRecording = m_recorder.writeWav(m_recordingFile);
    m_recordingShape->SetSamples(m_recorder.samples());
}

void SpeakForm::btPlayRecording_click()
{
    if (m_hasRecording && !m_recorder.isRecording() && Sound().PlayFile(m_recordingFile))
        m_lastPlayed = QStringLiteral("recording");
}

void SpeakForm::btPlayBoth_click()
{
    if (!m_hasRecording || m_recorder.isRecording())
        return;
    btPlayOriginal_click();
    m_recordingNext = true;
}

void SpeakForm::btPrev_click()
{
    if (m_index > 0) {
        --m_index;
        ShowSentence();
    }
}

void SpeakForm::btNext_click()
{
    if (m_index + 1 < Count()) {
        ++m_index;
        ShowSentence();
    }
}

void SpeakForm::btEdit_click()
{
    StopRecording();
    EditSentence(CurrentNoInAll());
    Refresh();
}

void SpeakForm::SentenceCorrected(int noInAll, const QString &english, const QString &chinese)
{
    if (noInAll != CurrentNoInAll())
        return;
    m_english->setText(english);
    m_chinese->setText(chinese);
}

void SpeakForm::btWinClose_click()
{
    reject();
}

QString SpeakForm::EnglishText() const { return m_english->text(); }
QString SpeakForm::ProgressText() const { return m_progress->text(); }

bool SpeakForm::Form_KeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Space:
        btRecord_click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        btPlayOriginal_click();
        return true;
    case Qt::Key_PageDown:
        btNext_click();
        return true;
    case Qt::Key_PageUp:
        btPrev_click();
        return true;
    default:
        return false;
    }
}

} // namespace mvx
