#pragma once
// One field of a CSV line: quoted (with inner quotes doubled) when it holds a comma, a
// quote, a line break or blanks at either end; line breaks are kept as LF inside quotes.
// Shared by every CSV the program writes (notebook export, sentence cards).
#include <QString>

namespace mvx {

[[nodiscard]] inline QString CsvField(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!t.contains(u',') && !t.contains(u'"') && !t.contains(u'\n') && !t.contains(u'\r') && t.trimmed() == t)
        return t;
    return u'"' + t.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace mvx
