#pragma once
// The new notices of the notice window, without widgets. Every line of the messages file
// whose trimmed text is not empty is a notice (kept untrimmed); the new ones are the last
// N. When the file holds fewer lines than N (it changed meanwhile), those lines are paged
// and counted. Paging does not wrap. A notice reads "serial.text[^address]": the text
// shown is everything before the first "^", the link everything after it.
#include <QString>
#include <QStringList>

namespace mvx {

class NoticePager final
{
public:
    // False when the path is empty, names no file, cannot be read, or newCount < 1.
    bool LoadTips(const QString &path, int newCount);
    void DoNextTip();
    void DoPrevTip();

    [[nodiscard]] int Total() const { return int(m_lines.size()); }
    [[nodiscard]] int Paged() const { return m_last - m_first + 1; } // new notices paged
    [[nodiscard]] int Position() const { return m_current - m_first + 1; }
    // "最新消息，共N条, 当前为第k条"
    [[nodiscard]] QString Heading() const;
    [[nodiscard]] QString Text() const;
    [[nodiscard]] QString Link() const; // "" without "^"
    [[nodiscard]] bool HasLink() const;
    // Serial of the notice on display; -1 when its line has none (nothing to report).
    [[nodiscard]] int ShownSerial() const { return m_shownSerial; }

private:
    [[nodiscard]] QString Line() const;
    void Show();

    QStringList m_lines;
    int m_first = 1;
    int m_last = 0;
    int m_current = 0;
    int m_shownSerial = -1;
};

} // namespace mvx
