#include "ui/CCheckboxGroup.h"

#include "core/AppState.h"
#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"

#include <QWidget>

namespace mvx {

CCheckboxGroup::CCheckboxGroup() : CCheckboxGroup(App().skinRoot) {}

CCheckboxGroup::CCheckboxGroup(const QString &skinRoot)
    : m_skinRoot(skinRoot), m_commonDir(skin::CommonFolder(skinRoot))
{
}

void CCheckboxGroup::InitInterface(const QString &folderName)
{
    m_windowDir = skin::WindowFolder(m_skinRoot, folderName);
}

void CCheckboxGroup::AddCheckboxes(QWidget *window)
{
    if (!window)
        return;
    m_window = window;
    for (SkinImage *box : window->findChildren<SkinImage *>(QStringLiteral("ImgCheckbox"))) {
        m_boxes.append(box);
        m_checked.append(false);
    }
}

int CCheckboxGroup::FindTag(const QString &tag) const
{
    for (int i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i] && m_boxes[i]->tag() == tag)
            return i;
    }
    return -1;
}

void CCheckboxGroup::ShowState(int i)
{
    SkinImage *box = m_boxes[i];
    if (!box)
        return;
    const bool checked = m_checked[i];
    QString path;
    if (!m_windowDir.isEmpty())
        path = skin::ResolveFixedPicture(m_windowDir + box->tag() + (checked ? QStringLiteral("-s.bmp") : QStringLiteral(".bmp")));
    if (path.isEmpty())
        path = skin::ResolveFixedPicture(m_commonDir + (checked ? QStringLiteral("checkbox-s.gif") : QStringLiteral("checkbox.gif")));
    if (!path.isEmpty())
        box->loadPicture(path);
}

void CCheckboxGroup::SelectButton(const QString &tag, bool checked)
{
    if (m_boxes.isEmpty())
        return;
    const int found = FindTag(tag);
    const int i = found >= 0 ? found : 0;
    m_checked[i] = checked;
    ShowState(i);
}

bool CCheckboxGroup::ChangeSelection(const QString &tag)
{
    const int i = FindTag(tag);
    if (i < 0)
        return false;
    m_checked[i] = !m_checked[i];
    ShowState(i);
    return m_checked[i];
}

bool CCheckboxGroup::IsSelected(const QString &tag) const
{
    const int i = FindTag(tag);
    return i >= 0 && m_checked[i];
}

QWidget *CCheckboxGroup::LabelWithIndex(int controlIndex) const
{
    if (!m_window)
        return nullptr;
    for (QWidget *label : m_window->findChildren<QWidget *>(QStringLiteral("lbCheckbox"))) {
        if (ControlIndex(label) == controlIndex)
            return label;
    }
    return nullptr;
}

QWidget *CCheckboxGroup::GetLabel(const QString &tag) const
{
    const int i = FindTag(tag);
    return LabelWithIndex(i >= 0 && m_boxes[i] ? m_boxes[i]->index() : 0);
}

SkinImage *CCheckboxGroup::GetButton(const QString &tag) const
{
    const int i = FindTag(tag);
    return i >= 0 ? m_boxes[i].data() : nullptr;
}

void CCheckboxGroup::EnableButton(const QString &tag, bool enabled)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_boxes[i])
        return;
    m_boxes[i]->setEnabled(enabled);
    const bool checked = m_checked[i];
    const QString name = enabled ? (checked ? QStringLiteral("checkbox-s.gif") : QStringLiteral("checkbox.gif"))
                                 : (checked ? QStringLiteral("checkbox-ds.gif") : QStringLiteral("checkbox-d.gif"));
    const QString path = skin::ResolveFixedPicture(m_commonDir + name);
    if (!path.isEmpty())
        m_boxes[i]->loadPicture(path);
}

void CCheckboxGroup::HideButton(const QString &tag)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_boxes[i])
        return;
    m_boxes[i]->setVisible(false);
    if (QWidget *label = LabelWithIndex(m_boxes[i]->index()))
        label->setVisible(false);
}

void CCheckboxGroup::ShowButton(const QString &tag)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_boxes[i])
        return;
    m_boxes[i]->setVisible(true);
    if (QWidget *label = LabelWithIndex(m_boxes[i]->index()))
        label->setVisible(true);
}

} // namespace mvx
