#pragma once
// The tips module: InitTipsDialog stores how the usage-tips window is set up (its file,
// where its show-at-start choice is kept, its help page, the check box text), and
// ShowTipsDialog opens the window modally with that set-up. The window knows no file or key.
#include <QString>

class QWidget;

namespace mvx {

struct TipsSetup
{
    QString tipsFile;    // relative to AppPath
    QString application; // where the show-at-start choice is stored
    QString section;
    QString key;
    QString helpTopic;   // opened by the detail-help button
    QString bottomText;  // check box label; empty hides the box
    bool showDetailHelp = false;
};

void InitTipsDialog(const QString &tipsFile, const QString &application, const QString &section, const QString &key,
                    const QString &helpTopic, const QString &bottomText, bool showDetailHelp);
[[nodiscard]] const TipsSetup &CurrentTipsSetup();
// The stored choice as an integer (default 1, unconvertible text reads as 1).
[[nodiscard]] int TipsChoice();
// With always false, returns at once when the stored choice is 0. Otherwise shows the
// window modally over parent and returns when it closes.
void ShowTipsDialog(bool always, QWidget *parent = nullptr);

} // namespace mvx
