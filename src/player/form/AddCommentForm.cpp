#include "player/form/AddCommentForm.h"

#include "core/AppState.h"
#include "ui/Twips.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace mvx {

AddCommentForm::AddCommentForm(QWidget *parent) : SkinnedWindow(QStringLiteral("AddCommentForm"), true, parent)
{
    setObjectName(QStringLiteral("AddCommentForm"));
    SetDesignSize(7200, 4650);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("编辑当前句的注释"), 240, 90, 5400, 330);
    AddButton(QStringLiteral("btWinClose"), 6750, 75, 330, 330);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("teComment"));
    m_text->setGeometry(TwipsRect(240, 600, 6720, 3150));
    m_text->installEventFilter(this);
    AddButton(QStringLiteral("btDelete"), 240, 3960, 1425, 450);
    AddButton(QStringLiteral("btOk"), 3990, 3960, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 5535, 3960, 1425, 450);
}

void AddCommentForm::Form_Load()
{
    setWindowTitle(QStringLiteral("编辑当前句的注释"));
    if (m_deleteHidden && Skin())
        Skin()->HideButton(QStringLiteral("btDelete"));
    m_text->setFocus();
}

void AddCommentForm::SetComment(const QString &text)
{
    m_text->setPlainText(text);
    m_text->moveCursor(QTextCursor::End);
}

void AddCommentForm::HideDeleteButton()
{
    m_deleteHidden = true;
    if (Skin())
        Skin()->HideButton(QStringLiteral("btDelete"));
}

QString AddCommentForm::Text() const
{
    return m_text->toPlainText().trimmed();
}

void AddCommentForm::btOk_click()
{
    m_choice = Choice::Ok;
    accept();
}

void AddCommentForm::btCancel_click()
{
    m_choice = Choice::Cancelled;
    reject();
}

void AddCommentForm::btDelete_click()
{
    if (m_deleteHidden)
        return;
    m_choice = Choice::Deleted;
    accept();
}

void AddCommentForm::btWinClose_click()
{
    btCancel_click();
}

bool AddCommentForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btCancel_click();
        return true;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers().testFlag(Qt::ControlModifier)) {
        btOk_click();
        return true;
    }
    return false;
}

// The text box takes Enter for a new line; Ctrl+Enter and Esc still reach the dialog.
bool AddCommentForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && event->type() == QEvent::KeyPress && Form_KeyDown(static_cast<QKeyEvent *>(event)))
        return true;
    return SkinnedWindow::eventFilter(watched, event);
}

} // namespace mvx
