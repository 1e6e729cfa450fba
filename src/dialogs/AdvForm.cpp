#include "dialogs/AdvForm.h"

#include "core/AppState.h"
#include "libs/comm/CommLib.h"
#include "ui/SkinLabel.h"
#include "ui/SkinPalette.h"

#include <QKeyEvent>
#include <QLabel>
#include <QUrl>

namespace mvx {

AdvForm::AdvForm(const QString &file, int newCount, QWidget *parent)
    : SkinnedWindow(QStringLiteral("advForm"), true, parent), m_file(file), m_newCount(newCount)
{
    setObjectName(QStringLiteral("AdvForm"));
    SetDesignSize(6600, 4200);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("Morvex英语"), 240, 90, 1800, 330);
    // The window's name in the title band, beside the product name, in the band's text colour.
    QLabel *caption = AddLabel(QStringLiteral("lbCaption"), QStringLiteral("最新消息"), 2100, 90, 3000, 330);
    QPalette band = caption->palette();
    band.setColor(QPalette::WindowText, skin::palette::TitleText);
    caption->setPalette(band);
    AddButton(QStringLiteral("btWinClose"), 6150, 75, 330, 330);
    m_heading = AddLabel(QStringLiteral("lbNewMsg"), QString(), 360, 660, 5880, 330);
    m_text = AddLabel(QStringLiteral("lblTipText"), QString(), 360, 1110, 5880, 1350);
    m_text->setTextFormat(Qt::PlainText); // a notice is text, never markup to load
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_toLink = AddLabel(QStringLiteral("lbToLink"), QStringLiteral("欲知详情，请点击下面的链接："), 360, 2580, 5880, 330);
    m_link = AddSkinLabel(QStringLiteral("lbLink"), 0, QStringLiteral("lbLink"), QString(), 360, 2940, 5880, 330);
    m_link->setTextFormat(Qt::PlainText);
    connect(static_cast<SkinLabel *>(m_link), &SkinLabel::clicked, this, &AdvForm::lbLink_Click);
    AddButton(QStringLiteral("btPrevTip"), 1860, 3540, 1425, 450);
    AddButton(QStringLiteral("btNextTip"), 3360, 3540, 1425, 450);
    AddButton(QStringLiteral("btOk"), 4860, 3540, 1425, 450);
}

void AdvForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    m_loaded = m_pager.LoadTips(m_file, m_newCount);
    DisplayCurrentTip();
}

void AdvForm::DisplayCurrentTip()
{
    if (m_pager.Total() == 0)
        return;
    m_heading->setText(m_pager.Heading());
    m_text->setText(m_pager.Text());
    m_toLink->setVisible(m_pager.HasLink());
    m_link->setText(m_pager.Link());
    // A link the program will not open is plain text.
    const bool opens = LinkOpens();
    m_link->setCursor(opens ? Qt::PointingHandCursor : Qt::ArrowCursor);
    m_link->setStyleSheet(opens ? QStringLiteral("color:#2F5D8A; text-decoration:underline;") : QString());
}

bool AdvForm::LinkOpens() const
{
    const QUrl url(m_pager.Link().trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void AdvForm::lbLink_Click()
{
    if (!m_link->text().isEmpty() && LinkOpens())
        vcHttpPage(m_link->text().trimmed());
}

void AdvForm::btPrevTip_Click()
{
    m_pager.DoPrevTip();
    DisplayCurrentTip();
}

void AdvForm::btNextTip_Click()
{
    m_pager.DoNextTip();
    DisplayCurrentTip();
}

void AdvForm::btOk_click()
{
    accept();
}

void AdvForm::btWinClose_click()
{
    btOk_click();
}

void AdvForm::Form_Unload()
{
    if (m_loaded && m_pager.ShownSerial() >= 0)
        vcSetMaxViewedMsg(m_pager.ShownSerial());
}

bool AdvForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btOk_click();
        return true;
    }
    return false;
}

} // namespace mvx
