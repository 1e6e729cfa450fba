#include "dialogs/ExportLessonForm.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "player/excerpt/ExcerptKeys.h"
#include "player/excerpt/Padding.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace mvx {

namespace {

const QString kMp3Lrc = QStringLiteral("Mp3Lrc");
const QString kCards = QStringLiteral("Cards");
const QString kRange = QStringLiteral("Range");
const QString kMarked = QStringLiteral("Marked");

QSpinBox *MakeSpin(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setGeometry(geometry);
    return spin;
}

} // namespace

ExportLessonForm::ExportLessonForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("ExportLessonForm"), true, parent), m_kind(App().skinRoot), m_range(App().skinRoot)
{
    setObjectName(QStringLiteral("ExportLessonForm"));
    SetDesignSize(7200, 6000);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("导出课文"), 240, 90, 5400, 330);
    AddButton(QStringLiteral("btWinClose"), 6750, 75, 330, 330);
    const QString kinds[] = {kMp3Lrc, kCards};
    const QString kindCaptions[] = {QStringLiteral("整课 MP3 + LRC"), QStringLiteral("句子卡片")};
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgOpMode"), i, kinds[i], 480, 690 + i * 420, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpMode"), i, kinds[i], kindCaptions[i], 810, 660 + i * 420, 5400, 300);
    }
    // Card choices, indented under "句子卡片".
    AddImage(QStringLiteral("ImgOpRange"), 0, kRange, 900, 1590, 240, 240);
    AddSkinLabel(QStringLiteral("lbOpRange"), 0, kRange, QStringLiteral("从第"), 1230, 1560, 450, 300);
    m_first = MakeSpin(this, QStringLiteral("sbFirst"), TwipsRect(1710, 1530, 900, 360));
    QLabel *to = AddLabel(QStringLiteral("lbTo"), QStringLiteral("句到第"), 2700, 1560, 750, 300);
    m_last = MakeSpin(this, QStringLiteral("sbLast"), TwipsRect(3480, 1530, 900, 360));
    QLabel *end = AddLabel(QStringLiteral("lbSentence"), QStringLiteral("句"), 4470, 1560, 450, 300);
    AddImage(QStringLiteral("ImgOpRange"), 1, kMarked, 900, 2040, 240, 240);
    AddSkinLabel(QStringLiteral("lbOpRange"), 1, kMarked, QStringLiteral("标记的句子"), 1230, 2010, 3000, 300);
    QLabel *padLabel = AddLabel(QStringLiteral("lbPad"), QStringLiteral("每句前后最多留出静音（毫秒）："), 900, 2520, 3900, 300);
    m_pad = MakeSpin(this, QStringLiteral("sbPad"), TwipsRect(4830, 2490, 1200, 360));
    m_pad->setRange(0, excerpt::MaxPadMs);
    m_pad->setSingleStep(10);
    m_cardControls = {m_first, to, m_last, end, padLabel, m_pad};
    AddLabel(QStringLiteral("lbFolder"), QStringLiteral("保存到文件夹："), 480, 3210, 5400, 300);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("teFolder"));
    m_folder->setGeometry(TwipsRect(480, 3570, 4650, 360));
    AddButton(QStringLiteral("btBrowse"), 5280, 3525, 1425, 450);
    AddButton(QStringLiteral("btOk"), 3690, 5160, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 5280, 5160, 1425, 450);
}

QString ExportLessonForm::DefaultExportFolder()
{
    return QDir::home().filePath(QStringLiteral("Music"));
}

QString ExportLessonForm::DefaultCardsFolder()
{
    return QDir::home().filePath(QStringLiteral("句子卡片"));
}

QString ExportLessonForm::StoredFolder(bool cards) const
{
    return cards ? GetUserSetting(QString::fromLatin1(Key::CardsFolder), DefaultCardsFolder())
                 : GetUserSetting(QString::fromLatin1(Key::ExportFolder), DefaultExportFolder());
}

void ExportLessonForm::Form_Load()
{
    setWindowTitle(QStringLiteral("导出课文"));
    m_kind.AddRadioButtons(this, QStringLiteral("ImgOpMode"));
    m_kind.InitInterface(FormName());
    m_range.AddRadioButtons(this, QStringLiteral("ImgOpRange"));
    m_range.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpMode")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) { SelectKind(img->property("tag").toString()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpMode")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectKind(l->tag()); });
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpRange")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) { SelectRange(img->property("tag").toString()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpRange")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectRange(l->tag()); });
    m_pad->setValue(excerpt::PadMsSetting());
    m_range.SelectButton(kRange);
    SelectKind(kMp3Lrc);
}

void ExportLessonForm::SetSentences(int lowest, int highest, int current)
{
    for (QSpinBox *spin : {m_first, m_last}) {
        spin->setRange(lowest, std::max(lowest, highest));
        spin->setValue(current);
    }
}

void ExportLessonForm::SelectKind(const QString &tag)
{
    // The folder box shows the chosen kind's own folder.
    const QString kind = tag == kCards ? kCards : kMp3Lrc;
    m_kind.SelectButton(kind);
    m_shownKind = kind;
    m_folder->setText(StoredFolder(kind == kCards));
    ShowCardControls();
}

void ExportLessonForm::SelectRange(const QString &tag)
{
    m_range.SelectButton(tag == kMarked ? kMarked : kRange);
    ShowCardControls();
}

void ExportLessonForm::SetFolder(const QString &folder)
{
    m_folder->setText(folder);
}

void ExportLessonForm::ShowCardControls()
{
    const bool cards = m_kind.GetSelectedTag() == kCards;
    const bool range = m_range.GetSelectedTag() == kRange;
    for (QWidget *w : m_cardControls)
        w->setEnabled(cards);
    m_first->setEnabled(cards && range);
    m_last->setEnabled(cards && range);
    m_range.EnableButton(kRange, cards);
    m_range.EnableButton(kMarked, cards);
}

ExportLessonForm::Choice ExportLessonForm::Chosen() const
{
    Choice c;
    c.cards = m_kind.GetSelectedTag() == kCards;
    c.marked = m_range.GetSelectedTag() == kMarked;
    c.first = m_first->value();
    c.last = m_last->value();
    c.folder = m_folder->text().trimmed();
    c.padMs = m_pad->value();
    return c;
}

void ExportLessonForm::btBrowse_click()
{
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("选择文件夹"), m_folder->text());
    if (!chosen.isEmpty())
        m_folder->setText(chosen);
}

void ExportLessonForm::btOk_click()
{
    const Choice c = Chosen();
    if (c.folder.isEmpty()) {
        ShowMessageBox(QStringLiteral("请选择保存的文件夹"), 1);
        return;
    }
    if (c.cards && !c.marked && c.first > c.last) {
        ShowMessageBox(QStringLiteral("起始句不能在结束句之后"), 1);
        return;
    }
    SaveUserSetting(QString::fromLatin1(c.cards ? Key::CardsFolder : Key::ExportFolder), c.folder);
    if (c.cards)
        SaveUserInt(QString::fromLatin1(Key::ExcerptPadMs), c.padMs);
    m_accepted = true;
    accept();
}

void ExportLessonForm::btCancel_click()
{
    m_accepted = false;
    reject();
}

void ExportLessonForm::btWinClose_click()
{
    btCancel_click();
}

bool ExportLessonForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btCancel_click();
        return true;
    }
    return false;
}

} // namespace mvx
