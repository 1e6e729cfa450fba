#include "AddLessonForm.h"

#include "core/AppState.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableWidget>

namespace mvx {

namespace {

AddLessonForm::FileChooser &fileChooser()
{
    static AddLessonForm::FileChooser chooser = [](QWidget *parent, const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    };
    return chooser;
}

const auto kTitleLine = QStringLiteral("ckTitleLine");
const auto kRegroup = QStringLiteral("ckRegroup");
constexpr int kPreviewRows = 20;

QString formatTime(qint64 ms)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 100);
}

} // namespace

void AddLessonForm::SetFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

AddLessonForm::AddLessonForm(const QString &indexPath, QWidget *parent)
    : SkinnedWindow(QStringLiteral("AddLessonForm"), true, parent), m_job(LessonImport(indexPath)),
      m_checkboxes(App().skinRoot)
{
    setObjectName(QStringLiteral("AddLessonForm"));
    SetDesignSize(9600, 8160);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("添加课文"), 240, 90, 5000, 330);
    AddButton(QStringLiteral("btWinClose"), 9150, 75, 330, 330);
    m_sound = addFileRow(QStringLiteral("txtSound"), QStringLiteral("声音文件"), QStringLiteral("btChooseSound"), 660);
    m_text = addFileRow(QStringLiteral("txtText"), QStringLiteral("课文文本"), QStringLiteral("btChooseText"), 1110);
    AddLabel(QStringLiteral("lbKind"), QStringLiteral("文本类型"), 360, 1620, 1500, 330);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("cboKind"));
    m_kind->addItems({QStringLiteral("LRC 歌词（带时间）"), QStringLiteral("字幕（SRT 或 WebVTT）"),
                      QStringLiteral("纯文本（每行一句，按停顿分句）")});
    m_kind->setGeometry(TwipsRect(1920, 1560, 3600, 390));
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { updateRegroup(); });
    m_translation = addFileRow(QStringLiteral("txtTranslation"), QStringLiteral("中文翻译（可选）"),
                               QStringLiteral("btChooseTranslation"), 2010);
    m_comments = addFileRow(QStringLiteral("txtComments"), QStringLiteral("注释（可选）"),
                            QStringLiteral("btChooseComments"), 2460);
    AddImage(QStringLiteral("ImgCheckbox"), 0, kTitleLine, 1920, 2985, 195, 195);
    AddSkinLabel(QStringLiteral("lbCheckbox"), 0, kTitleLine, QStringLiteral("第一句是课文标题"), 2190, 2925, 2400, 330);
    AddImage(QStringLiteral("ImgCheckbox"), 1, kRegroup, 4800, 2985, 195, 195);
    AddSkinLabel(QStringLiteral("lbCheckbox"), 1, kRegroup, QStringLiteral("字幕按句子重新分组"), 5070, 2925, 3000, 330);
    AddLabel(QStringLiteral("lbCategory"), QStringLiteral("类别"), 360, 3420, 1500, 330);
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("cboCategory"));
    m_category->setEditable(true);
    m_category->setGeometry(TwipsRect(1920, 3360, 5700, 390));
    m_category->setToolTip(QStringLiteral("选一个已有的类别，或输入新的“上级/下级”"));
    AddLabel(QStringLiteral("lbLessonTitle"), QStringLiteral("标题"), 360, 3870, 1500, 330);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("txtTitle"));
    m_title->setGeometry(TwipsRect(1920, 3810, 5700, 390));
    m_preview = new QTableWidget(0, 5, this);
    m_preview->setObjectName(QStringLiteral("tblPreview"));
    m_preview->setHorizontalHeaderLabels({QStringLiteral("句"), QStringLiteral("开始"), QStringLiteral("结束"),
                                          QStringLiteral("英文"), QStringLiteral("中文")});
    m_preview->verticalHeader()->hide();
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->setWordWrap(false);
    m_preview->setGeometry(TwipsRect(360, 4320, 8880, 2580));
    m_preview->setColumnWidth(0, 32);
    m_preview->setColumnWidth(1, 58);
    m_preview->setColumnWidth(2, 58);
    m_preview->setColumnWidth(3, 230);
    m_preview->horizontalHeader()->setStretchLastSection(true);
    m_status = AddLabel(QStringLiteral("lbStatus"), QStringLiteral("选好文件后可以先预览，再导入。"), 360, 6990, 8880, 330);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("barProgress"));
    m_progress->setRange(0, 100);
    m_progress->setGeometry(TwipsRect(360, 7530, 4200, 300));
    m_progress->hide();
    AddButton(QStringLiteral("btPreview"), 4740, 7440, 1425, 450);
    AddButton(QStringLiteral("btImport"), 6240, 7440, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 7740, 7440, 1425, 450);
    connect(&m_job, &LessonImportJob::progress, m_progress, &QProgressBar::setValue);
    connect(&m_job, &LessonImportJob::finished, this, &AddLessonForm::jobFinished);
}

AddLessonForm::~AddLessonForm() = default;

QLineEdit *AddLessonForm::addFileRow(const QString &name, const QString &label, const QString &button, int top)
{
    AddLabel(QStringLiteral("lb") + name.mid(3), label, 360, top + 60, 1500, 330);
    auto *edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(TwipsRect(1920, top, 5700, 390));
    AddButton(button, 7740, top, 1425, 390);
    return edit;
}

void AddLessonForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    m_checkboxes.InitInterface(FormName());
    m_checkboxes.AddCheckboxes(this);
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this,
                [this](SkinImage *b) { m_checkboxes.ChangeSelection(b->property("tag").toString()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) {
            const QString tag = l->property("tag").toString();
            if (tag != kRegroup || m_kind->currentIndex() == int(LessonTextKind::Subtitles))
                m_checkboxes.ChangeSelection(tag);
        });
    m_category->clear();
    m_category->addItems(m_job.import().categories());
    updateRegroup();
}

LessonChoices AddLessonForm::Choices() const
{
    LessonChoices c;
    c.sound = m_sound->text().trimmed();
    c.text = m_text->text().trimmed();
    c.kind = LessonTextKind(m_kind->currentIndex());
    c.translation = m_translation->text().trimmed();
    c.comments = m_comments->text().trimmed();
    c.titleLine = m_checkboxes.IsSelected(kTitleLine);
    c.regroup = c.kind == LessonTextKind::Subtitles && m_checkboxes.IsSelected(kRegroup);
    c.category = m_category->currentText().trimmed();
    c.title = m_title->text().trimmed();
    return c;
}

void AddLessonForm::SetChoices(const LessonChoices &c)
{
    soundChosen(c.sound);
    m_text->setText(c.text);
    m_kind->setCurrentIndex(int(c.kind));
    m_translation->setText(c.translation);
    m_comments->setText(c.comments);
    m_checkboxes.SelectButton(kTitleLine, c.titleLine);
    m_checkboxes.SelectButton(kRegroup, c.regroup);
    m_category->setCurrentText(c.category);
    if (!c.title.isEmpty())
        m_title->setText(c.title);
    updateRegroup();
}

QString AddLessonForm::StatusText() const
{
    return m_status->text();
}

void AddLessonForm::soundChosen(const QString &path)
{
    m_sound->setText(path);
    // A title the learner typed stays; the one we proposed follows the sound.
    if (m_title->text().trimmed().isEmpty() || m_title->text() == m_proposedTitle) {
        m_proposedTitle = LessonImport::proposeTitle(path);
        m_title->setText(m_proposedTitle);
    }
}

void AddLessonForm::textChosen(const QString &path)
{
    m_text->setText(path);
    m_kind->setCurrentIndex(int(LessonImport::kindOf(path)));
}

void AddLessonForm::updateRegroup()
{
    const bool subtitles = m_kind->currentIndex() == int(LessonTextKind::Subtitles);
    if (!subtitles)
        m_checkboxes.SelectButton(kRegroup, false);
    m_checkboxes.EnableButton(kRegroup, subtitles && !m_job.isRunning());
}

void AddLessonForm::btChooseSound_click()
{
    const QString path = fileChooser()(this, QStringLiteral("选择声音文件"),
                                       QStringLiteral("声音文件 (*.mp3 *.wav *.flac *.ogg *.oga);;所有文件 (*)"));
    if (!path.isEmpty())
        soundChosen(path);
}

void AddLessonForm::btChooseText_click()
{
    const QString path = fileChooser()(
        this, QStringLiteral("选择课文文本"),
        QStringLiteral("课文文本 (*.lrc *.srt *.vtt *.txt);;LRC (*.lrc);;字幕 (*.srt *.vtt);;纯文本 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        textChosen(path);
}

void AddLessonForm::btChooseTranslation_click()
{
    const QString path = fileChooser()(this, QStringLiteral("选择中文翻译（每句一行）"),
                                       QStringLiteral("文本 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        m_translation->setText(path);
}

void AddLessonForm::btChooseComments_click()
{
    const QString path = fileChooser()(this, QStringLiteral("选择注释（每句一行）"),
                                       QStringLiteral("文本 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        m_comments->setText(path);
}

void AddLessonForm::btPreview_click()
{
    startJob(LessonImportJob::Step::Preview);
}

void AddLessonForm::btImport_click()
{
    startJob(LessonImportJob::Step::Import);
}

void AddLessonForm::startJob(LessonImportJob::Step step)
{
    if (m_job.isRunning())
        return;
    const LessonChoices choices = Choices();
    if (const QString missing = m_job.import().missing(choices); !missing.isEmpty()) {
        m_status->setText(missing);
        ShowMessageBox(missing, 1);
        return;
    }
    m_progress->setValue(0);
    m_status->setText(step == LessonImportJob::Step::Preview ? QStringLiteral("正在读取……")
                                                             : QStringLiteral("正在导入……"));
    m_job.start(step, choices);
    setBusy(true);
}

void AddLessonForm::setBusy(bool busy)
{
    m_progress->setVisible(busy);
    for (QWidget *w : std::initializer_list<QWidget *>{m_sound, m_text, m_kind, m_translation, m_comments,
                                                       m_category, m_title})
        w->setEnabled(!busy);
    if (CInterface *skin = Skin()) {
        for (const char *tag : {"btChooseSound", "btChooseText", "btChooseTranslation", "btChooseComments",
                                "btPreview", "btImport"})
            skin->EnableButton(QString::fromLatin1(tag), !busy);
    }
    m_checkboxes.EnableButton(kTitleLine, !busy);
    updateRegroup();
}

void AddLessonForm::jobFinished()
{
    setBusy(false);
    const bool imported = m_job.step() == LessonImportJob::Step::Import && !m_job.error().isError();
    if (m_closeWhenDone && !imported) {
        reject();
        return;
    }
    if (m_job.cancelled()) {
        m_status->setText(BookMaker::CancelledMessage);
        return;
    }
    if (m_job.error().isError()) {
        const QString message = m_job.error().toString();
        m_status->setText(message);
        ShowMessageBox(message, 1);
        return;
    }
    showPreview();
    if (m_job.step() == LessonImportJob::Step::Preview)
        return;
    const QString key = m_job.articleKey();
    m_status->setText(QStringLiteral("已导入：%1 句").arg(m_job.result().sentenceCount));
    if (m_imported)
        m_imported(key);
    accept();
}

void AddLessonForm::showPreview()
{
    const LessonPlan &plan = m_job.plan();
    const QList<PreviewRow> rows = LessonImport::previewRows(plan, kPreviewRows);
    m_preview->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const PreviewRow &row = rows[r];
        // Numbered from 1 as the player counts them; a title line is sentence 0.
        const int shown = row.number + (plan.lesson.sentences.first().isTitle ? 0 : 1);
        const QStringList cells{row.isTitle ? QStringLiteral("题") : QString::number(shown),
                                formatTime(row.startMs), formatTime(row.endMs), row.english, row.chinese};
        for (int c = 0; c < cells.size(); ++c)
            m_preview->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    QString status = QStringLiteral("共 %1 句，时长 %2").arg(plan.lesson.sentences.size()).arg(formatTime(plan.durationMs));
    if (plan.skippedCues > 0)
        status += QStringLiteral("；跳过了 %1 条没有台词的字幕").arg(plan.skippedCues);
    if (rows.size() < plan.lesson.sentences.size())
        status += QStringLiteral("；下面是前 %1 句").arg(rows.size());
    m_status->setText(status);
}

void AddLessonForm::btCancel_click()
{
    if (m_job.isRunning()) {
        m_job.cancel();
        return;
    }
    reject();
}

void AddLessonForm::btWinClose_click()
{
    // Leaving stops a running job and closes when it has stopped (a write that has begun
    // finishes, and its article is still shown in the tree).
    if (m_job.isRunning()) {
        m_closeWhenDone = true;
        m_job.cancel();
        return;
    }
    reject();
}

bool AddLessonForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btCancel_click();
        return true;
    }
    return false;
}

} // namespace mvx
