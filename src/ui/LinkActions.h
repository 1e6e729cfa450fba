#pragma once
// What a link label does outside the program: open a web page, a help topic or a new
// e-mail. The default actions are the common library's calls (vcHttpPage for web
// pages and "mailto:" addresses, vcHtmlHelp for help references); the application
// (or a test) may install others.
#include <QString>
#include <functional>

namespace mvx {

struct LinkActions
{
    std::function<void(const QString &address)> openWebPage;
    // A help reference as the help viewer call takes it: "x.chm" or "x.chm::htmlsrc/p.htm".
    std::function<void(const QString &helpReference)> openHelp;
    std::function<void(const QString &address)> startMail;
};

// The installed actions (the defaults until SetLinkActions is called). Members left
// empty in SetLinkActions keep their defaults.
[[nodiscard]] const LinkActions &CurrentLinkActions();
void SetLinkActions(const LinkActions &actions);
void ResetLinkActions();

} // namespace mvx
