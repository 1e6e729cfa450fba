#include "ui/lgMsgBoxForm.h"

#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <cmath>

namespace mvx {

namespace {
bool g_result = false;
} // namespace

lgMsgBoxForm::lgMsgBoxForm() : SkinnedWindow(QStringLiteral("lgMsgBoxForm"), true)
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
    g_result = false;
    auto *icon = findChild<SkinImage *>(QStringLiteral("ImgMsg"));
    if (icon && Skin())
        icon->loadPicture(skin::FindPicture(Skin()->InterfaceDir(), Skin()->CommonDir(), QStringLiteral("ImgMsg")));
}

void lgMsgBoxForm::init(const QString &text, int kind)
{
    m_message->setText(text);
    // A message longer than the label grows the box downwards instead of being cut.
    const int needed = m_message->heightForWidth(m_message->width());
    const int extra = needed - m_message->height();
    if (extra > 0) {
        m_message->resize(m_message->width(), needed);
        for (SkinImage *button : findChildren<SkinImage *>(QStringLiteral("btFunction")))
            button->move(button->x(), button->y() + extra);
        resize(width(), height() + extra);
        if (Skin()) {
            Skin()->RecountPos(QStringLiteral("btOk"));
            Skin()->RecountPos(QStringLiteral("btCancel"));
        }
    }
    if (kind == 1 && Skin()) {
        Skin()->HideButton(QStringLiteral("btCancel"));
        if (SkinImage *ok = Skin()->GetButton(QStringLiteral("btOk"))) {
            const double left = (width() - ok->width()) / 2.0;
            ok->move(int(std::lround(left)), ok->y());
            Skin()->RecountPos(QStringLiteral("btOk"));
        }
    }
}

void lgMsgBoxForm::btOk_click()
{
    g_result = true;
    accept();
}

void lgMsgBoxForm::btCancel_click()
{
    g_result = false;
    reject();
}

bool lgMsgBoxForm::Result()
{
    return g_result;
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
