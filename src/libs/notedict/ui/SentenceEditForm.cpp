#include "SentenceEditForm.h"

#include "ui/Twips.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace mvx {

SentenceEditForm::SentenceEditForm(QWidget *owner, const QString &english, const QString &chinese)
    : SkinnedWindow(QStringLiteral("SentenceEditForm"), true, owner)
{
    setObjectName(QStringLiteral("SentenceEditForm"));
    SetDesignSize(7200, 4200);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("修改句子"), 240, 90, 4000, 330);
    AddButton(QStringLiteral("btWinClose"), 6750, 75, 330, 330);
    AddLabel(QStringLiteral("lbEnglish"), QStringLiteral("英文"), 360, 600, 1500, 300);
    m_english = new QPlainTextEdit(english, this);
    m_english->setObjectName(QStringLiteral("txtEnglish"));
    m_english->setTabChangesFocus(true);
    m_english->setGeometry(TwipsRect(360, 930, 6480, 1110));
    AddLabel(QStringLiteral("lbChinese"), QStringLiteral("中文"), 360, 2130, 1500, 300);
    m_chinese = new QPlainTextEdit(chinese, this);
    m_chinese->setObjectName(QStringLiteral("txtChinese"));
    m_chinese->setTabChangesFocus(true);
    m_chinese->setGeometry(TwipsRect(360, 2460, 6480, 810));
    AddButton(QStringLiteral("btOk"), 3840, 3480, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 5415, 3480, 1425, 450);
}

// A line break typed into a box is a space in the stored text.
QString SentenceEditForm::English() const
{
    return m_english->toPlainText().simplified();
}

QString SentenceEditForm::Chinese() const
{
    return m_chinese->toPlainText().simplified();
}

void SentenceEditForm::btOk_click() { accept(); }
void SentenceEditForm::btCancel_click() { reject(); }
void SentenceEditForm::btWinClose_click() { reject(); }

bool SentenceEditForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}

} // namespace mvx
