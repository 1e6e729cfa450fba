#pragma once
// Text labels that act as links (`lbLink` members). The pointer over a label
// underlines it (one current link at a time); a press removes the underline and acts
// on the label's tag: "web-" + address opens a web page, "help-" alone the help file,
// "help-" + page the topic help file + "::htmlsrc/" + page + ".htm", "mail-" + address
// a new e-mail; any other tag does nothing. The actions are the installed LinkActions.
#include <QPointer>
#include <QString>
#include <QVector>

class QLabel;
class QWidget;

namespace mvx {

class CLinkGroup final
{
public:
    void InitLabelHelpFile(const QString &helpFileName) { m_helpFile = helpFileName; }
    void AddLinkLabels(QWidget *window);
    void ButtonEnter(QLabel *label);
    void ButtonDown(QLabel *label);
    void ButtonUp(QLabel *label);
    void ClearCurLink();

    [[nodiscard]] int Count() const { return int(m_links.size()); }
    [[nodiscard]] QLabel *CurrentLink() const { return m_current; }

private:
    QString m_helpFile;
    QVector<QPointer<QLabel>> m_links;
    QPointer<QLabel> m_current;
};

void SetUnderline(QLabel *label, bool underline);

} // namespace mvx
