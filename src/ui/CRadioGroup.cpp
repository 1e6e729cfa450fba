#include "ui/CRadioGroup.h"

#include "core/AppState.h"
#include "ui/SkinImage.h"
#include "ui/SkinPictures.h"

#include <QWidget>

namespace mvx {

CRadioGroup::CRadioGroup() : CRadioGroup(App().skinRoot) {}

CRadioGroup::CRadioGroup(const QString &skinRoot)
    : m_commonDir(skin::CommonFolder(skinRoot)), m_skinRoot(skinRoot)
{
}

QString CRadioGroup::Common(const QString &name) const
{
    return skin::ResolveFixedPicture(m_commonDir + name);
}

void CRadioGroup::AddRadioButton(SkinImage *image)
{
    if (!image)
        return;
    m_options.append(image);
    // An option is drawn as not chosen from the start, unless its window gave it a picture.
    if (image->picture().isNull())
        image->loadPicture(Common(QStringLiteral("radio.gif")));
}

void CRadioGroup::AddRadioButtons(QWidget *window, const QString &arrayName)
{
    if (!window)
        return;
    m_window = window;
    m_arrayName = arrayName;
    m_labelName = QStringLiteral("lb") + arrayName.mid(3);
    for (SkinImage *image : window->findChildren<SkinImage *>(arrayName))
        AddRadioButton(image);
}

void CRadioGroup::InitInterface(const QString &folderName)
{
    m_windowDir = skin::WindowFolder(m_skinRoot, folderName);
}

int CRadioGroup::FindTag(const QString &tag) const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i] && m_options[i]->tag() == tag)
            return i;
    }
    return -1;
}

void CRadioGroup::Choose(int position, const QString &releasedPicture, const QString &chosenPicture)
{
    if (m_options.isEmpty())
        return;
    if (position < 0 || position >= m_options.size())
        position = 0;
    if (position == m_chosen)
        return;
    if (m_chosen >= 0 && m_options[m_chosen] && !releasedPicture.isEmpty())
        m_options[m_chosen]->loadPicture(releasedPicture);
    m_chosen = position;
    if (m_options[m_chosen] && !chosenPicture.isEmpty())
        m_options[m_chosen]->loadPicture(chosenPicture);
}

void CRadioGroup::SelectButton(const QString &tag)
{
    Choose(FindTag(tag), Common(QStringLiteral("radio.gif")), Common(QStringLiteral("radio-s.gif")));
}

void CRadioGroup::SelectButtonByIdx(int controlIndex)
{
    Choose(GetInternalIdx(controlIndex), Common(QStringLiteral("radio.gif")),
           Common(QStringLiteral("radio-s.gif")));
}

void CRadioGroup::SelectButtonByImg(SkinImage *image)
{
    Choose(int(m_options.indexOf(image)), Common(QStringLiteral("radio.gif")),
           Common(QStringLiteral("radio-s.gif")));
}

void CRadioGroup::SelectButton1(const QString &tag)
{
    const int position = FindTag(tag) >= 0 ? FindTag(tag) : 0;
    if (m_options.isEmpty() || position == m_chosen)
        return;
    const QString released = m_chosen >= 0 && m_options[m_chosen]
        ? skin::ResolveFixedPicture(m_windowDir + m_options[m_chosen]->tag() + QStringLiteral(".bmp"))
        : QString();
    const QString chosen = m_options[position]
        ? skin::ResolveFixedPicture(m_windowDir + m_options[position]->tag() + QStringLiteral("-s.bmp"))
        : QString();
    Choose(position, released, chosen);
}

void CRadioGroup::SelectButton2(int position)
{
    if (position < 0 || position >= m_options.size())
        position = 0;
    if (m_options.isEmpty() || position == m_chosen)
        return;
    const QString released = m_chosen >= 0
        ? skin::ResolveFixedPicture(m_windowDir + m_arrayName + QString::number(m_chosen) + QStringLiteral(".bmp"))
        : QString();
    const QString chosen =
        skin::ResolveFixedPicture(m_windowDir + m_arrayName + QString::number(position) + QStringLiteral("-s.bmp"));
    Choose(position, released, chosen);
}

void CRadioGroup::SelectButton3(const QString &tag)
{
    Choose(FindTag(tag), skin::ResolveFixedPicture(m_windowDir + m_arrayName + QStringLiteral(".bmp")),
           skin::ResolveFixedPicture(m_windowDir + m_arrayName + QStringLiteral("-s.bmp")));
}

int CRadioGroup::GetSelectedIdx() const
{
    return m_chosen >= 0 && m_options[m_chosen] ? m_options[m_chosen]->index() : -1;
}

int CRadioGroup::GetInternalIdx(int controlIndex) const
{
    for (int i = 0; i < m_options.size(); ++i) {
        if (m_options[i] && m_options[i]->index() == controlIndex)
            return i;
    }
    return -1;
}

bool CRadioGroup::IsSelected(const QString &tag) const
{
    return m_chosen >= 0 && m_options[m_chosen] && m_options[m_chosen]->tag() == tag;
}

bool CRadioGroup::IsSelectedByImg(const SkinImage *image) const
{
    return image && m_chosen >= 0 && m_options[m_chosen] == image;
}

QString CRadioGroup::GetSelectedTag() const
{
    return m_chosen >= 0 && m_options[m_chosen] ? m_options[m_chosen]->tag() : QString();
}

SkinImage *CRadioGroup::GetButton(const QString &tag) const
{
    const int i = FindTag(tag);
    return i >= 0 ? m_options[i].data() : nullptr;
}

void CRadioGroup::EnableButton(const QString &tag, bool enabled)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_options[i])
        return;
    m_options[i]->setEnabled(enabled);
    const bool chosen = i == m_chosen;
    const QString name = enabled ? (chosen ? QStringLiteral("radio-s.gif") : QStringLiteral("radio.gif"))
                                 : (chosen ? QStringLiteral("radio-ds.gif") : QStringLiteral("radio-d.gif"));
    const QString path = Common(name);
    if (!path.isEmpty())
        m_options[i]->loadPicture(path);
}

QWidget *CRadioGroup::LabelWithIndex(int controlIndex) const
{
    if (!m_window || m_labelName.isEmpty())
        return nullptr;
    for (QWidget *label : m_window->findChildren<QWidget *>(m_labelName)) {
        if (ControlIndex(label) == controlIndex)
            return label;
    }
    return nullptr;
}

QWidget *CRadioGroup::GetLabel(const QString &tag) const
{
    const int i = FindTag(tag);
    return LabelWithIndex(i >= 0 && m_options[i] ? m_options[i]->index() : 0);
}

void CRadioGroup::HideButton(const QString &tag)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_options[i])
        return;
    m_options[i]->setVisible(false);
    if (QWidget *label = LabelWithIndex(m_options[i]->index()))
        label->setVisible(false);
}

void CRadioGroup::ShowButton(const QString &tag)
{
    const int i = FindTag(tag);
    if (i < 0 || !m_options[i])
        return;
    m_options[i]->setVisible(true);
    if (QWidget *label = LabelWithIndex(m_options[i]->index()))
        label->setVisible(true);
}

void CRadioGroup::HideAll()
{
    for (const auto &option : m_options) {
        if (!option)
            continue;
        option->setVisible(false);
        if (QWidget *label = LabelWithIndex(option->index()))
            label->setVisible(false);
    }
}

void CRadioGroup::ShowAll()
{
    for (const auto &option : m_options) {
        if (option)
            option->setVisible(true);
    }
}

void CRadioGroup::ClearSelection()
{
    if (m_chosen >= 0 && m_options[m_chosen]) {
        const QString path = Common(QStringLiteral("radio.gif"));
        if (!path.isEmpty())
            m_options[m_chosen]->loadPicture(path);
    }
    m_chosen = -1;
}

} // namespace mvx
