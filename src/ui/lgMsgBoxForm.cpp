#include "ui/lgMsgBoxForm.h"

#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"
#include "ui/Twips.h"
#include "ui/WindowSetup.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace mvx {

lgMsgBoxForm::lgMsgBoxForm(QWidget *parent) : SkinnedWindow(QStringLiteral("lgMsgBoxForm"), true, parent)
{
    SetDesignSize(5790, 4575);
    QLabel *title = AddLabel(QStringLiteral("lbTitle"), QStringLiteral("Morvex英语"), 180, 90, 3600, 300);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    AddImage(QStringLiteral("ImgMsg"), 0, QStringLiteral("ImgMsg"), 540, 690, 480, 480);
    QLabel *attention = AddLabel(QStringLiteral("Label1"), QStringLiteral("请注意"), 1140, 780, 3000, 330);
    QFont attentionFont = attention->font();
    attentionFont.setBold(true);
    attentionFont.setPointSizeF(attentionFont.pointSizeF() + 1);
    attention->setFont(attentionFont);
    m_message = AddLabel(QStringLiteral("lbMsg"), QString(), 540, 1368, 4716, 1740);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setTextFormat(Qt::PlainText);
    AddButton(QStringLiteral("btOk"), 1470, 3870, 1125, 330);
    AddButton(QStringLiteral("btCancel"), 3210, 3870, 1125, 330);
}

void lgMsgBoxForm::Form_Load()
{
    m_answer = false;
    auto *icon = findChild<SkinImage *>(QStringLiteral("ImgMsg"));
    if (icon && Skin())
        icon->loadPicture(skin::FindPicture(Skin()->InterfaceDir(), Skin()->CommonDir(), QStringLiteral("ImgMsg")));
}

void lgMsgBoxForm::init(const QString &text, int kind)
{
    m_message->setText(text);
    FitToText();
    if (kind == 1 && Skin()) {
        Skin()->HideButton(QStringLiteral("btCancel"));
        if (SkinImage *ok = Skin()->GetButton(QStringLiteral("btOk"))) {
            const double left = (width() - ok->width()) / 2.0;
            ok->move(int(std::lround(left)), ok->y());
            Skin()->RecountPos(QStringLiteral("btOk"));
        }
    }
}

// The message label takes the height its text needs (one line at least); the buttons and
// the box's bottom edge move with it, and the box is centred again.
void lgMsgBoxForm::FitToText()
{
    const int needed = std::max(m_message->heightForWidth(m_message->width()), m_message->fontMetrics().height());
    const int change = needed - m_message->height();
    if (change == 0)
        return;
    m_message->resize(m_message->width(), needed);
    for (SkinImage *button : findChildren<SkinImage *>(QStringLiteral("btFunction")))
        button->move(button->x(), button->y() + change);
    resize(width(), height() + change);
    if (Skin()) {
        Skin()->RecountPos(QStringLiteral("btOk"));
        Skin()->RecountPos(QStringLiteral("btCancel"));
    }
    CentreWindow(this);
}

void lgMsgBoxForm::btOk_click()
{
    m_answer = true;
    accept();
}

void lgMsgBoxForm::btCancel_click()
{
    m_answer = false;
    reject();
}

bool lgMsgBoxForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        btOk_click();
        return true;
    }
    return false;
}

} // namespace mvx
