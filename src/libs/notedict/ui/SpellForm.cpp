#include "SpellForm.h"

#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "notedict/NoteDictLib.h"
#include "SentenceEditForm.h"
#include "libs/sentra/SentraBook.h"
#include "ui/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QUrl>

namespace mvx {

namespace {

QLabel *RichLabel(QLabel *label)
{
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QString PlainOf(const QLabel *label)
{
    QTextDocument doc;
    doc.setHtml(label->text());
    return doc.toPlainText();
}

} // namespace

SpellForm::SpellForm(QWidget *owner, bool test)
    : SkinnedWindow(QStringLiteral("SpellForm"), true, owner), m_test(test)
{
    setObjectName(QStringLiteral("SpellForm"));
    SetDesignSize(9000, 6000);
    AddLabel(QStringLiteral("lbTitle"), test ? QStringLiteral("过关测验") : QStringLiteral("拼写练习"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 8550, 75, 330, 330);
    m_progress = AddLabel(QStringLiteral("lbProgress"), QString(), 360, 600, 4200, 330);
    m_speed = new QComboBox(this);
    m_speed->setObjectName(QStringLiteral("cbSpeed"));
    // The player's four speeds, in its order; the stored code maps as the player maps it.
    m_speed->addItems({QStringLiteral("慢速播放"), QStringLiteral("原速播放"), QStringLiteral("快速播放"),
                       QStringLiteral("极速播放")});
    m_speed->setGeometry(4700 / 15, 570 / 15, 1500 / 15, 360 / 15);
    // A plain button: the skins have no picture for it.
    m_replay = new QPushButton(QStringLiteral("重听"), this);
    m_replay->setObjectName(QStringLiteral("btReplay"));
    m_replay->setToolTip(QStringLiteral("再听一遍（Ctrl+R）"));
    m_replay->setFocusPolicy(Qt::NoFocus);
    m_replay->setGeometry(6400 / 15, 570 / 15, 1000 / 15, 360 / 15);
    connect(m_replay, &QPushButton::clicked, this, &SpellForm::btReplay_click);
    m_plays = AddLabel(QStringLiteral("lbPlays"), QString(), 7500, 600, 1400, 330);
    m_answer = new QLineEdit(this);
    m_answer->setObjectName(QStringLiteral("edAnswer"));
    m_answer->setGeometry(360 / 15, 1080 / 15, 8280 / 15, 420 / 15);
    m_answer->setPlaceholderText(QStringLiteral("听完后输入整句英文，按回车检查（Ctrl+R 重听）"));
    m_result = RichLabel(AddLabel(QStringLiteral("lbResult"), QString(), 360, 1650, 8280, 1200));
    m_english = RichLabel(AddLabel(QStringLiteral("lbEnglish"), QString(), 360, 2950, 8280, 1200));
    m_chinese = RichLabel(AddLabel(QStringLiteral("lbChinese"), QString(), 360, 4250, 8280, 900));
    m_onlyWrong = new QCheckBox(QStringLiteral("只练做错的句子"), this);
    m_onlyWrong->setObjectName(QStringLiteral("ckOnlyWrong"));
    m_onlyWrong->setGeometry(360 / 15, 5400 / 15, 3000 / 15, 360 / 15);
    m_onlyWrong->setVisible(!test);
    m_onlyWrong->setFocusPolicy(Qt::NoFocus);
    const auto plainButton = [this](const QString &tag, const QString &text, int left, const char *tip) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(tag);
        button->setToolTip(QString::fromUtf8(tip));
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(left / 15, 5370 / 15, 1300 / 15, 420 / 15);
        connect(button, &QPushButton::clicked, this, [this, tag] { DispatchClick(tag); });
        return button;
    };
    m_edit = plainButton(QStringLiteral("btEdit"), QStringLiteral("修改句子"), 3500, "改正这一句的英文或中文");
    m_addWords = plainButton(QStringLiteral("btAddWords"), QStringLiteral("生词入本"), 4900, "把听错和漏听的单词存入单词笔记本");
    AddButton(QStringLiteral("btOk"), 7200, 5350, 1425, 450);
    m_soundFile = WorkingFiles::AllTmpFile + QStringLiteral("/spellsentence.wav");
}

bool SpellForm::Start(const QString &bookFile, int first, int count, int level, QString *error)
{
    m_startBook = bookFile;
    m_startFirst = first;
    m_startCount = count;
    return m_session.Open(bookFile, first, count, level, error);
}

void SpellForm::SetOnlyWrong(bool onlyWrong)
{
    QString error;
    m_changed = Changed();
    if (!m_session.Open(m_startBook, m_startFirst, m_startCount, m_session.Level(), &error, onlyWrong)) {
        ShowMessageBox(error, 1);
        const QSignalBlocker block(m_onlyWrong);
        m_onlyWrong->setChecked(!onlyWrong);
        m_session.Open(m_startBook, m_startFirst, m_startCount, m_session.Level(), nullptr, !onlyWrong);
    }
    ShowSentence();
    m_answer->setFocus();
}

void SpellForm::Form_Load()
{
    const int stored = GetUserInt(QString::fromLatin1(Key::Speed), 0);
    m_speed->setCurrentIndex(stored == 1 ? 0 : stored == 2 ? 2 : stored == 3 ? 3 : 1);
    connect(m_onlyWrong, &QCheckBox::toggled, this, &SpellForm::SetOnlyWrong);
    connect(m_speed, &QComboBox::currentIndexChanged, this, [this](int entry) {
        m_media.setRate(RateOfEntry(entry));
        m_answer->setFocus();
    });
    m_media.setAutoStart(true);
    m_media.setRate(RateOfEntry(m_speed->currentIndex()));
    if (m_session.Count() > 0)
        ShowSentence();
    m_answer->setFocus();
}

void SpellForm::Form_Unload()
{
    m_media.stop();
    QFile::remove(m_soundFile);
}

double SpellForm::RateOfEntry(int entry)
{
    static const double rates[] = {0.8, 1.0, 1.2, 1.4};
    return entry >= 0 && entry < 4 ? rates[entry] : 1.0;
}

void SpellForm::ShowSentence()
{
    m_answer->clear();
    m_answer->setReadOnly(false);
    m_result->clear();
    m_english->clear();
    m_chinese->clear();
    QDir().mkpath(WorkingFiles::AllTmpFile);
    sentra::SentraBook *book = m_session.Book();
    if (book && book->writeSentenceWav(m_session.Current().noInAll, m_soundFile))
        PlayCurrent();
    Refresh();
}

void SpellForm::PlayCurrent()
{
    if (!m_session.NotePlayed())
        return;
    ++m_playCount;
    m_media.stop();
    m_media.setURL(QDir(m_soundFile).absolutePath());
}

void SpellForm::Refresh()
{
    const int left = m_session.PlaysLeft();
    const DictationSession::Sentence &s = m_session.Current();
    QString progress = QStringLiteral("第 %1/%2 句").arg(m_session.Index() + 1).arg(m_session.Count());
    if (s.wordsTotal >= 0 && m_session.CurrentStep() == DictationSession::Typing)
        progress += QStringLiteral("（上次 %1/%2，%3）").arg(s.wordsRight).arg(s.wordsTotal).arg(s.at.toString(QStringLiteral("yyyy-MM-dd")));
    m_progress->setText(progress);
    m_plays->setText(left < 0 ? QString() : QStringLiteral("还可听 %1 次").arg(left));
    m_replay->setEnabled(left != 0 && m_session.CurrentStep() != DictationSession::Finished);
    m_addWords->setEnabled(!m_session.MissedWords().isEmpty() && !m_noteFile.isEmpty());
}

void SpellForm::ShowChecked()
{
    const DictationSession::Step step = m_session.CurrentStep();
    if (step == DictationSession::Typing || step == DictationSession::Finished)
        return;
    m_result->setText(m_session.CheckedHtml());
    if (step != DictationSession::Checked)
        m_english->setText(QStringLiteral("显示英文：") + m_session.MarkedEnglishHtml());
    if (step == DictationSession::ChineseShown)
        m_chinese->setText(QStringLiteral("显示中文：") + m_session.Current().chinese.toHtmlEscaped());
}

QString SpellForm::CorrectCurrent(const QString &english, const QString &chinese)
{
    const QString refused = m_session.Correct(english, chinese);
    if (!refused.isEmpty())
        ShowMessageBox(refused, 1);
    const QString notice = m_session.TakeNotice();
    if (!notice.isEmpty())
        ShowMessageBox(notice, 1);
    ShowChecked();
    Refresh();
    return refused;
}

void SpellForm::btEdit_click()
{
    if (m_session.Count() == 0 || m_session.CurrentStep() == DictationSession::Finished)
        return;
    const DictationSession::Sentence &s = m_session.Current();
    SentenceEditForm form(this, s.english, s.chinese);
    form.Load();
    if (form.exec() == QDialog::Accepted)
        CorrectCurrent(form.English(), form.Chinese());
    m_answer->setFocus();
}

void SpellForm::btAddWords_click()
{
    const QStringList words = m_session.MissedWords();
    if (words.isEmpty() || m_noteFile.isEmpty())
        return;
    QDir().mkpath(QFileInfo(m_noteFile).absolutePath());
    const int stored = m_session.AddMissedWordsToNotebook(m_noteFile, NoteDict().dictHandle);
    ShowMessageBox(stored < 0 ? QStringLiteral("单词笔记本无法写入。")
                              : QStringLiteral("已存入单词笔记本：%1").arg(words.join(QStringLiteral("、"))),
                   1);
    m_answer->setFocus();
}

void SpellForm::btReplay_click()
{
    PlayCurrent();
    Refresh();
    m_answer->setFocus();
}

void SpellForm::btOk_click()
{
    QString error;
    if (!m_session.Enter(m_answer->text(), &error)) {
        ShowMessageBox(error, 1);
        return;
    }
    switch (m_session.CurrentStep()) {
    case DictationSession::Checked: {
        m_answer->setReadOnly(true);
        m_result->setText(m_session.CheckedHtml());
        const QString notice = m_session.TakeNotice();
        if (!notice.isEmpty())
            ShowMessageBox(notice, 1);
        break;
    }
    case DictationSession::EnglishShown:
        m_english->setText(QStringLiteral("显示英文：") + m_session.MarkedEnglishHtml());
        break;
    case DictationSession::ChineseShown:
        m_chinese->setText(QStringLiteral("显示中文：") + m_session.Current().chinese.toHtmlEscaped());
        break;
    case DictationSession::Typing:
        ShowSentence();
        break;
    case DictationSession::Finished: {
        m_media.stop();
        const int total = m_session.ScoreTotal();
        const QString score = QStringLiteral("共 %1 句，听写正确 %2/%3 个单词（%4%）")
                                  .arg(m_session.CheckedCount())
                                  .arg(m_session.ScoreRight())
                                  .arg(total)
                                  .arg(total ? m_session.ScoreRight() * 100 / total : 0);
        if (m_test)
            ShowMessageBox(QStringLiteral("测验完成：") + score, 1);
        accept();
        return;
    }
    }
    Refresh();
}

void SpellForm::btWinClose_click()
{
    reject();
}

bool SpellForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btOk_click();
        return true;
    }
    if (event->key() == Qt::Key_R && event->modifiers().testFlag(Qt::ControlModifier)) {
        btReplay_click();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        btWinClose_click();
        return true;
    }
    return false;
}

QString SpellForm::ResultText() const { return PlainOf(m_result); }
QString SpellForm::EnglishText() const { return PlainOf(m_english); }
QString SpellForm::ChineseText() const { return PlainOf(m_chinese); }
QString SpellForm::ProgressText() const { return m_progress->text(); }

} // namespace mvx
