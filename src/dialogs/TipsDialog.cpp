#include "dialogs/TipsDialog.h"

#include "core/UserSettings.h"
#include "dialogs/QmrTipsForm.h"

namespace mvx {

namespace {

TipsSetup &Setup()
{
    static TipsSetup setup;
    return setup;
}

} // namespace

void InitTipsDialog(const QString &tipsFile, const QString &application, const QString &section, const QString &key,
                    const QString &helpTopic, const QString &bottomText, bool showDetailHelp)
{
    Setup() = {tipsFile, application, section, key, helpTopic, bottomText, showDetailHelp};
}

const TipsSetup &CurrentTipsSetup()
{
    return Setup();
}

int TipsChoice()
{
    const TipsSetup &s = Setup();
    return ToInt(GetAppSetting(s.application, s.section, s.key, QStringLiteral("1")), 1);
}

void ShowTipsDialog(bool always, QWidget *parent)
{
    if (!always && TipsChoice() == 0)
        return;
    QmrTipsForm form(parent);
    form.Load();
    form.exec();
}

} // namespace mvx
