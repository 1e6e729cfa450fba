#include "ui/LinkActions.h"

#include "core/AppState.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace mvx {

namespace {

LinkActions DefaultActions()
{
    LinkActions actions;
    actions.openWebPage = [](const QString &address) {
        QUrl url = QUrl::fromUserInput(address.trimmed());
        if (url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https"))
            QDesktopServices::openUrl(url);
    };
    actions.openHelp = [](const QString &reference) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(HelpPageFile(reference, App().appPath)));
    };
    actions.startMail = [](const QString &address) {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + address.trimmed()));
    };
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

QString HelpPageFile(const QString &helpReference, const QString &home)
{
    const QString base = (home.isEmpty() ? QDir::currentPath() : home) + QStringLiteral("/help/");
    const int topic = helpReference.indexOf(QStringLiteral("::"));
    if (topic < 0)
        return base + QStringLiteral("index.htm");
    QString page = helpReference.mid(topic + 2);
    page.replace(u'\\', u'/');
    while (page.startsWith(u'/'))
        page.remove(0, 1);
    // A topic never leaves the help folder.
    const QString cleaned = QDir::cleanPath(page);
    if (cleaned.startsWith(QStringLiteral("..")) || cleaned.isEmpty())
        return base + QStringLiteral("index.htm");
    return base + cleaned;
}

} // namespace mvx
