#include "ui/CInterface.h"

#include "core/AppState.h"
#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"

#include <QWidget>

namespace mvx {

namespace {
const QString kButtonArray = QStringLiteral("btFunction");
const QString kWinMax = QStringLiteral("btWinMax");
const QString kWinNormal = QStringLiteral("btWinNormal");
} // namespace

CInterface::CInterface() : CInterface(App().skinRoot) {}

CInterface::CInterface(const QString &skinRoot)
    : m_skinRoot(skinRoot), m_commonDir(skin::CommonFolder(skinRoot))
{
}

QString CInterface::FindPicture(const QString &baseName) const
{
    return skin::FindPicture(m_interfaceDir, m_commonDir, baseName);
}

bool CInterface::Show(SkinImage *button, const QString &baseName) const
{
    const QString path = FindPicture(baseName);
    return !path.isEmpty() && button->loadPicture(path);
}

int CInterface::ButtonIndex(const SkinImage *button) const
{
    if (!button)
        return -1;
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i] == button)
            return i;
    }
    return -1;
}

void CInterface::InitInterface(QWidget *window, const QString &folderName)
{
    m_owner = window;
    m_interfaceDir = skin::WindowFolder(m_skinRoot, folderName);
    m_buttons.clear();
    m_rest.clear();
    m_current = nullptr;
    if (!window)
        return;

    SkinImage *winMax = nullptr;
    SkinImage *winNormal = nullptr;
    const QString checkbox = skin::ResolveFixedPicture(m_commonDir + QStringLiteral("checkbox.gif"));
    for (SkinImage *control : window->findChildren<SkinImage *>()) {
        if (control->objectName() == kButtonArray) {
            m_rest.append(control->pos());
            m_buttons.append(control);
            Show(control, control->tag());
            // The restore button always sits on the maximise button, whichever comes first.
            if (control->tag() == kWinMax) {
                winMax = control;
                if (winNormal)
                    winNormal->move(winMax->pos());
            } else if (control->tag() == kWinNormal) {
                winNormal = control;
                if (winMax)
                    winNormal->move(winMax->pos());
            }
        } else if (control->objectName() == QStringLiteral("ImgCheckbox")) {
            if (!checkbox.isEmpty())
                control->loadPicture(checkbox);
        }
    }
}

void CInterface::ButtonEnter(SkinImage *button)
{
    if (!button || button == m_current)
        return;
    if (m_current)
        ClearCurButton();
    m_current = button;
    Show(button, button->tag() + QStringLiteral("-a"));
}

void CInterface::ClearCurButton()
{
    if (!m_current)
        return;
    SkinImage *button = m_current;
    Show(button, button->isEnabled() ? button->tag() : button->tag() + QStringLiteral("-d"));
    m_current = nullptr;
}

void CInterface::Shift(SkinImage *button, int dx, int dy)
{
    // Only buttons with a recorded rest position move, so a release can always undo it.
    if (ButtonIndex(button) >= 0)
        button->move(button->pos() + QPoint(dx, dy));
}

void CInterface::ButtonDown(SkinImage *button)
{
    if (!button)
        return;
    if (!Show(button, button->tag() + QStringLiteral("-p")))
        Shift(button, 1, 1);
}

void CInterface::VerticalButtonDown(SkinImage *button)
{
    if (!button)
        return;
    if (!Show(button, button->tag() + QStringLiteral("-p")))
        Shift(button, 0, 1);
}

void CInterface::ButtonUp(SkinImage *button)
{
    if (!button)
        return;
    const bool hasPressed = !FindPicture(button->tag() + QStringLiteral("-p")).isEmpty();
    Show(button, button->tag());
    if (!hasPressed) {
        const int i = ButtonIndex(button);
        if (i >= 0)
            button->move(m_rest[i]);
    }
}

void CInterface::DisableButton(SkinImage *button)
{
    if (button)
        Show(button, button->tag() + QStringLiteral("-d"));
}

void CInterface::EnableButton(const QString &tag, bool enabled)
{
    SkinImage *button = GetButton(tag);
    if (!button)
        return;
    button->setEnabled(enabled);
    Show(button, enabled ? tag : tag + QStringLiteral("-d"));
}

void CInterface::RecountPos(const QString &tag)
{
    SkinImage *button = GetButton(tag);
    const int i = ButtonIndex(button);
    if (i >= 0)
        m_rest[i] = button->pos();
}

SkinImage *CInterface::GetButton(const QString &tag) const
{
    if (!m_owner)
        return nullptr;
    for (SkinImage *control : m_owner->findChildren<SkinImage *>(kButtonArray)) {
        if (control->tag() == tag)
            return control;
    }
    return nullptr;
}

void CInterface::HideButton(const QString &tag)
{
    if (SkinImage *button = GetButton(tag))
        button->setVisible(false);
}

void CInterface::ShowButton(const QString &tag)
{
    if (SkinImage *button = GetButton(tag))
        button->setVisible(true);
}

void CInterface::OverlapButton(const QString &tag1, const QString &tag2)
{
    SkinImage *target = GetButton(tag1);
    SkinImage *moved = GetButton(tag2);
    if (!target || !moved)
        return;
    moved->move(target->pos());
    RecountPos(tag2);
}

QPoint CInterface::RestPosition(const QString &tag) const
{
    const int i = ButtonIndex(GetButton(tag));
    return i >= 0 ? m_rest[i] : QPoint(-1, -1);
}

} // namespace mvx
