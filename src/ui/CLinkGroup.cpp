#include "ui/CLinkGroup.h"

#include "ui/LinkActions.h"
#include "ui/SkinImage.h"

#include <QLabel>

namespace mvx {

void SetUnderline(QLabel *label, bool underline)
{
    if (!label)
        return;
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
}

void CLinkGroup::AddLinkLabels(QWidget *window)
{
    if (!window)
        return;
    for (QLabel *label : window->findChildren<QLabel *>(QStringLiteral("lbLink"))) {
        label->setCursor(Qt::PointingHandCursor);
        m_links.append(label);
    }
}

void CLinkGroup::ButtonEnter(QLabel *label)
{
    if (!label || label == m_current)
        return;
    ClearCurLink();
    m_current = label;
    SetUnderline(label, true);
}

void CLinkGroup::ClearCurLink()
{
    if (m_current)
        SetUnderline(m_current, false);
    m_current = nullptr;
}

void CLinkGroup::ButtonDown(QLabel *label)
{
    if (!label)
        return;
    SetUnderline(label, false);
    const QString tag = ControlTag(label);
    const LinkActions &actions = CurrentLinkActions();
    if (tag.startsWith(QStringLiteral("web-"))) {
        actions.openWebPage(tag.mid(4));
    } else if (tag == QStringLiteral("help-")) {
        actions.openHelp(m_helpFile);
    } else if (tag.startsWith(QStringLiteral("help-"))) {
        actions.openHelp(m_helpFile + QStringLiteral("::htmlsrc/") + tag.mid(5) + QStringLiteral(".htm"));
    } else if (tag.startsWith(QStringLiteral("mail-"))) {
        actions.startMail(tag.mid(5));
    }
}

void CLinkGroup::ButtonUp(QLabel *label)
{
    SetUnderline(label, false);
}

} // namespace mvx
