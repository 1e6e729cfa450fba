#pragma once
// The usage tips of the tips window, without widgets: one tip per line of a text file
// (UTF-8, else GB18030; CR LF or LF end a line and are not part of it; a final line end adds
// no tip; nothing is trimmed, an empty line is a tip). Next wraps from the last tip to the
// first, previous from the first to the last. Current is 1-based, 0 before the first tip.
#include <QString>
#include <QStringList>

namespace mvx {

class TipPager final
{
public:
    // False when the path is empty, names no file or cannot be read; the list is then empty.
    bool LoadTips(const QString &path);
    void DoNextTip();
    void DoPrevTip();

    [[nodiscard]] int Count() const { return int(m_tips.size()); }
    [[nodiscard]] int Current() const { return m_current; }
    // The tip on display ("" before the first and with no tips).
    [[nodiscard]] QString CurrentTip() const;
    // "请仔细看以下使用要点，(共n条)，以便尽快学会本软件"
    [[nodiscard]] QString Heading() const;

private:
    QStringList m_tips;
    int m_current = 0;
};

} // namespace mvx
