#include "player/events/SearchForm.h"

#include "core/AppState.h"
#include "ui/DialogKeys.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>

namespace mvx {

namespace {
const char *const kSearchModes[] = {"English", "Chinese"};
const char *const kModeCaptions[] = {"查找原文", "查找译文"};
} // namespace

SearchForm::SearchForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("SearchForm"), true, parent), m_modes(App().skinRoot), m_boxes(App().skinRoot)
{
    setObjectName(QStringLiteral("SearchForm"));
    SetDesignSize(5700, 3300);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("查找文字"), 240, 90, 3600, 330);
    AddButton(QStringLiteral("btWinClose"), 5250, 75, 330, 330);
    AddLabel(QStringLiteral("lbSearch"), QStringLiteral("要查的文字："), 360, 690, 1500, 330);
    m_teSearch = new QLineEdit(this);
    m_teSearch->setObjectName(QStringLiteral("teSearch"));
    m_teSearch->setGeometry(TwipsRect(1860, 630, 3480, 390));
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgOpMode"), i, QString::fromLatin1(kSearchModes[i]), 360 + i * 1800, 1320, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpMode"), i, QString::fromLatin1(kSearchModes[i]), QString::fromUtf8(kModeCaptions[i]),
                     690 + i * 1800, 1290, 1300, 300);
    }
    AddImage(QStringLiteral("ImgCheckbox"), 0, QStringLiteral("WholeWord"), 360, 1860, 195, 195);
    AddSkinLabel(QStringLiteral("lbCheckbox"), 0, QStringLiteral("WholeWord"), QStringLiteral("整词匹配"), 690, 1800,
                 1800, 330);
    AddButton(QStringLiteral("btSearch"), 2310, 2580, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 3915, 2580, 1425, 450);
}

void SearchForm::Form_Load()
{
    m_modes.AddRadioButtons(this, QStringLiteral("ImgOpMode"));
    m_modes.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpMode")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) { m_modes.SelectButtonByImg(img); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpMode")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectMode(l->property("tag").toString()); });
    m_modes.SelectButton(QStringLiteral("English"));
    m_boxes.InitInterface(FormName());
    m_boxes.AddCheckboxes(this);
    const auto toggle = [this] { m_boxes.ChangeSelection(QStringLiteral("WholeWord")); };
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this, toggle);
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, toggle);
    m_teSearch->setFocus();
}

void SearchForm::HideSearchMode()
{
    for (QWidget *w : findChildren<QWidget *>(QStringLiteral("ImgOpMode")))
        w->hide();
    for (QWidget *w : findChildren<QWidget *>(QStringLiteral("lbOpMode")))
        w->hide();
}

void SearchForm::btSearch_click()
{
    const QString text = m_teSearch->text().trimmed();
    if (text.isEmpty()) {
        ShowMessageBox(QStringLiteral("您还没有输入要查的文字"), 1);
        return;
    }
    bool found = false;
    if (m_caller)
        QMetaObject::invokeMethod(m_caller, "SearchWord", Q_RETURN_ARG(bool, found), Q_ARG(QString, SelectedMode()),
                                  Q_ARG(QString, text), Q_ARG(bool, WholeWord()));
    m_lastFound = found;
}

void SearchForm::btCancel_click()
{
    reject();
}

void SearchForm::btWinClose_click()
{
    reject();
}

bool SearchForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btSearch_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
