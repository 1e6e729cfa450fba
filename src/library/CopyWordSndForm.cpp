#include "CopyWordSndForm.h"

#include "WordSoundCopyCommand.h"
#include "core/AppState.h"

#include <QKeyEvent>
#include <QLabel>

namespace mvx {

CopyWordSndForm::CopyWordSndForm(QWidget *parent) : SkinnedWindow(QStringLiteral("CopyWordSndForm"), true, parent)
{
    setObjectName(QStringLiteral("CopyWordSndForm"));
    SetDesignSize(6900, 3600);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("单词真人发音"), 240, 90, 4500, 330);
    AddButton(QStringLiteral("btWinClose"), 6450, 75, 330, 330);
    QLabel *first = AddLabel(QStringLiteral("lbInfo"),
                             QStringLiteral("    您需要在运行本软件前放入光盘 Disc B（或插上存有单词声音的U盘）,或将单词声音(约370M)拷贝到硬盘，"
                                            "才能在即点即查单词的时候，听到单词真人发音。"),
                             360, 690, 6180, 900);
    first->setWordWrap(true);
    QLabel *second = AddLabel(QStringLiteral("lbInfo2"),
                              QStringLiteral("   在主界面(\"欢迎使用\"界面)上点“声音管理”按钮也能进行声音拷贝"), 360, 1650,
                              6180, 600);
    second->setWordWrap(true);
    m_status = AddLabel(QStringLiteral("lbStatus"), QString(), 360, 2340, 6180, 330);
    AddButton(QStringLiteral("btCopyWord"), 3390, 2880, 1425, 450);
    AddButton(QStringLiteral("btContinue"), 4980, 2880, 1425, 450);
}

QString CopyWordSndForm::StatusText() const
{
    return m_status->text();
}

void CopyWordSndForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    m_status->setText(m_manager.openCopyForm());
}

void CopyWordSndForm::btCopyWord_click()
{
    if (RunWordSoundCopy(this))
        accept();
}

void CopyWordSndForm::btContinue_click()
{
    m_manager.continueCopyForm();
    accept();
}

void CopyWordSndForm::btWinClose_click()
{
    btContinue_click();
}

bool CopyWordSndForm::Form_KeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        btContinue_click();
        return true;
    default:
        return false;
    }
}

} // namespace mvx
