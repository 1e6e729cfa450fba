#include "dialogs/SaveSegForm.h"

#include "core/AppState.h"
#include "core/StartUp.h"
#include "core/UserSettings.h"
#include "libs/comm/CommLib.h"
#include "player/excerpt/Excerpts.h"
#include "ui/CallByName.h"
#include "ui/DialogKeys.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/Twips.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace mvx {

namespace {

const QString kReviewer = QStringLiteral("Reviewer");
const QString kSentra = QStringLiteral("Sentra");

} // namespace

SaveSegForm::SaveSegForm(QWidget *parent) : SkinnedWindow(QStringLiteral("SaveSegForm"), true, parent), m_options(App().skinRoot)
{
    setObjectName(QStringLiteral("SaveSegForm"));
    SetDesignSize(6300, 3900);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("摘录句子"), 240, 90, 4200, 330);
    AddButton(QStringLiteral("btWinClose"), 5850, 75, 330, 330);
    QLabel *heading = AddLabel(QStringLiteral("Label2"), QStringLiteral("摘录句子"), 600, 630, 3600, 330);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    const QString tags[] = {kReviewer, kSentra};
    const QString captions[] = {QStringLiteral("摘录到软件自带“听力复习机”"), QStringLiteral("摘录到《Sentra》软件")};
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgOpMode"), i, tags[i], 600, 1110 + i * 420, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpMode"), i, tags[i], captions[i], 930, 1080 + i * 420, 4800, 300);
    }
    m_label1 = AddLabel(QStringLiteral("Label1"), QStringLiteral("请给要摘录的这部分内容起个名字："), 600, 2040, 5100, 300);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("teFileName"));
    m_name->setGeometry(TwipsRect(600, 2400, 5100, 360));
    AddButton(QStringLiteral("btOk"), 2700, 3180, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 4290, 3180, 1425, 450);
}

void SaveSegForm::Form_Load()
{
    setWindowTitle(QStringLiteral("摘录句子"));
    m_options.AddRadioButtons(this, QStringLiteral("ImgOpMode"));
    m_options.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpMode")))
        connect(image, &SkinImage::mousePressed, this,
                [this](SkinImage *img, Qt::MouseButton) { ImgOpMode_MouseDown(img->property("index").toInt()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpMode")))
        connect(label, &SkinLabel::mousePressed, this,
                [this](SkinLabel *l, Qt::MouseButton) { lbOpMode_MouseDown(l->index()); });
    m_choice = Choice::None;
    if (GetUserSetting(QString::fromLatin1(Key::SaveSegDest), kReviewer) != kSentra) {
        m_options.SelectButton(kReviewer);
        ShowNameBox(true);
        m_name->selectAll();
    } else {
        // Kept as stored even when the memoriser has gone since: OK then offers its introduction.
        m_options.SelectButton(kSentra);
        ShowNameBox(false);
    }
}

void SaveSegForm::SetFileName(const QString &name)
{
    m_name->setText(name);
    if (SelectedDest() != kSentra)
        m_name->selectAll();
}

bool SaveSegForm::NameBoxVisible() const
{
    return !m_name->isHidden();
}

void SaveSegForm::ShowNameBox(bool shown)
{
    m_name->setVisible(shown);
    m_label1->setVisible(shown);
    if (shown)
        m_name->setFocus();
}

bool SaveSegForm::SentraInstalled()
{
    const QString path = GetSentraInstallPath();
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void SaveSegForm::OfferIntroduction()
{
    const QString text = QStringList{QStringLiteral("Morvex英语软件的独到之处在于不同软件之间能够互相结合互动,以达到最佳学习效果"),
                                     QStringLiteral("本功能将句子摘录到我公司的《Sentra》软件中，以便重点学习"),
                                     QStringLiteral("您现在没有安装《Sentra》，所以无法使用本功能"),
                                     QStringLiteral("要看看《Sentra》的介绍吗？")}
                             .join(QStringLiteral("\n\n"));
    if (ShowMessageBox(text, 0))
        vcHtmlHelp(QStringLiteral("mvxbrxspecial.chm::htmlsrc/sentra.htm"));
}

void SaveSegForm::ChooseDest(const QString &tag)
{
    if (tag == kSentra) {
        if (!SentraInstalled()) {
            OfferIntroduction();
            return;
        }
        m_options.SelectButton(kSentra);
        ShowNameBox(false);
    } else {
        m_options.SelectButton(kReviewer);
        ShowNameBox(true);
    }
}

void SaveSegForm::ImgOpMode_MouseDown(int index)
{
    ChooseDest(index == 1 ? kSentra : kReviewer);
}

void SaveSegForm::lbOpMode_MouseDown(int index)
{
    ImgOpMode_MouseDown(index);
}

void SaveSegForm::btOk_click()
{
    const QString name = m_name->text().trimmed();
    const bool sentra = SelectedDest() == kSentra;
    if (!sentra && name.isEmpty()) {
        ShowMessageBox(QStringLiteral("您还没有给摘录段起名字"), 1);
        m_name->setFocus();
        return;
    }
    if (!sentra && !excerpt::Excerpts::IsValidName(name)) {
        ShowMessageBox(excerpt::Excerpts::BadNameMessage(), 1);
        m_name->setFocus();
        return;
    }
    m_chosenName = name;
    m_choice = !sentra ? Choice::Reviewer : SentraInstalled() ? Choice::Sentra : Choice::Introduction;
    accept();
}

void SaveSegForm::RunChoice()
{
    const Choice choice = std::exchange(m_choice, Choice::None);
    switch (choice) {
    case Choice::None:
        return;
    case Choice::Introduction:
        OfferIntroduction();
        return;
    case Choice::Sentra:
        SaveUserSetting(QString::fromLatin1(Key::SaveSegDest), kSentra);
        CallMethodByName(m_caller, QStringLiteral("DigestToSentra"));
        return;
    case Choice::Reviewer:
        SaveUserSetting(QString::fromLatin1(Key::SaveSegDest), kReviewer);
        CallMethodByName(m_caller, QStringLiteral("DigestSeg"), m_chosenName);
        return;
    }
}

void SaveSegForm::btCancel_click()
{
    m_choice = Choice::None;
    reject();
}

void SaveSegForm::btWinClose_click()
{
    btCancel_click();
}

bool SaveSegForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btOk_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
