#include "dialogs/QmrTipsForm.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "dialogs/TipsDialog.h"
#include "libs/comm/CommLib.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/SkinPalette.h"

#include <QKeyEvent>
#include <QLabel>

namespace mvx {

QmrTipsForm::QmrTipsForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("QmrTipsForm"), true, parent), m_checkboxes(App().skinRoot)
{
    setObjectName(QStringLiteral("QmrTipsForm"));
    SetDesignSize(6600, 4560);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("Morvex英语"), 240, 90, 1800, 330);
    // The window's name in the title band, beside the product name, in the band's text colour.
    QLabel *caption = AddLabel(QStringLiteral("lbCaption"), QStringLiteral("使用要点"), 2100, 90, 3000, 330);
    QPalette band = caption->palette();
    band.setColor(QPalette::WindowText, skin::palette::TitleText);
    caption->setPalette(band);
    AddButton(QStringLiteral("btWinClose"), 6150, 75, 330, 330);
    m_totalTips = AddLabel(QStringLiteral("lbTotalTips"), QString(), 360, 660, 5880, 330);
    m_tipText = AddLabel(QStringLiteral("lblTipText"), QString(), 360, 1110, 5880, 1950);
    m_tipText->setWordWrap(true);
    m_tipText->setTextFormat(Qt::PlainText); // a tip is text, never markup to load
    m_tipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_tipText->setStyleSheet(QStringLiteral("font-size:11pt;"));
    AddImage(QStringLiteral("ImgCheckbox"), 0, QLatin1String(CheckboxTag), 360, 3255, 195, 195);
    AddSkinLabel(QStringLiteral("lbCheckbox"), 0, QLatin1String(CheckboxTag), QString(), 660, 3210, 4500, 330);
    AddButton(QStringLiteral("btPrevTip"), 360, 3870, 1425, 450);
    AddButton(QStringLiteral("btNextTip"), 1860, 3870, 1425, 450);
    AddButton(QStringLiteral("btDetailHelp"), 3360, 3870, 1425, 450);
    AddButton(QStringLiteral("btOk"), 4860, 3870, 1425, 450);
}

QWidget *QmrTipsForm::Checkbox() const
{
    return m_checkboxes.GetButton(QLatin1String(CheckboxTag));
}

void QmrTipsForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    const TipsSetup &setup = CurrentTipsSetup();
    m_checkboxes.InitInterface(FormName());
    m_checkboxes.AddCheckboxes(this);
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this, &QmrTipsForm::ImgCheckbox_MouseDown);
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, &QmrTipsForm::lbCheckbox_MouseDown);
    SetTipBottomText(setup.bottomText);
    if (setup.showDetailHelp)
        Skin()->ShowButton(QStringLiteral("btDetailHelp"));
    else
        Skin()->HideButton(QStringLiteral("btDetailHelp"));
    if (TipsChoice() != 0)
        m_checkboxes.SelectButton(QLatin1String(CheckboxTag), true);
    const QString path = setup.tipsFile.isEmpty() ? QString() : App().appPath + QLatin1Char('/') + setup.tipsFile;
    if (!m_tips.LoadTips(path) || m_tips.Count() == 0) {
        // With nothing to page through, neither direction has anywhere to go.
        Skin()->EnableButton(QStringLiteral("btNextTip"), false);
        Skin()->EnableButton(QStringLiteral("btPrevTip"), false);
    }
    DisplayCurrentTip();
    m_totalTips->setText(m_tips.Heading());
}

void QmrTipsForm::SetTipBottomText(const QString &text)
{
    const QString tag = QLatin1String(CheckboxTag);
    if (text.isEmpty()) {
        m_checkboxes.HideButton(tag);
        return;
    }
    if (auto *label = qobject_cast<QLabel *>(m_checkboxes.GetLabel(tag)))
        label->setText(text);
}

void QmrTipsForm::DisplayCurrentTip()
{
    if (m_tips.Count() > 0)
        m_tipText->setText(m_tips.CurrentTip());
}

void QmrTipsForm::ImgCheckbox_MouseDown()
{
    const TipsSetup &setup = CurrentTipsSetup();
    const bool ticked = m_checkboxes.ChangeSelection(QLatin1String(CheckboxTag));
    SaveAppSetting(setup.application, setup.section, setup.key, ticked ? QStringLiteral("-1") : QStringLiteral("0"));
}

void QmrTipsForm::lbCheckbox_MouseDown()
{
    ImgCheckbox_MouseDown();
}

void QmrTipsForm::btPrevTip_Click()
{
    m_tips.DoPrevTip();
    DisplayCurrentTip();
}

void QmrTipsForm::btNextTip_Click()
{
    m_tips.DoNextTip();
    DisplayCurrentTip();
}

void QmrTipsForm::btDetailHelp_click()
{
    vcHtmlHelp(CurrentTipsSetup().helpTopic);
}

void QmrTipsForm::btOk_click()
{
    accept();
}

void QmrTipsForm::btWinClose_click()
{
    btOk_click();
}

bool QmrTipsForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btOk_click();
        return true;
    }
    return false;
}

} // namespace mvx
