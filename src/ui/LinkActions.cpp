#include "ui/LinkActions.h"

#include "libs/comm/CommLib.h"

namespace mvx {

namespace {

LinkActions DefaultActions()
{
    LinkActions actions;
    actions.openWebPage = [](const QString &address) { vcHttpPage(address.trimmed()); };
    actions.openHelp = [](const QString &reference) { vcHtmlHelp(reference); };
    actions.startMail = [](const QString &address) { vcHttpPage(QStringLiteral("mailto:") + address.trimmed()); };
    return actions;
}

LinkActions &Installed()
{
    static LinkActions actions = DefaultActions();
    return actions;
}

} // namespace

const LinkActions &CurrentLinkActions()
{
    return Installed();
}

void SetLinkActions(const LinkActions &actions)
{
    LinkActions merged = DefaultActions();
    if (actions.openWebPage)
        merged.openWebPage = actions.openWebPage;
    if (actions.openHelp)
        merged.openHelp = actions.openHelp;
    if (actions.startMail)
        merged.startMail = actions.startMail;
    Installed() = merged;
}

void ResetLinkActions()
{
    Installed() = DefaultActions();
}

} // namespace mvx
