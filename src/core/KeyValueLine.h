#pragma once
// One line of a hand-written "name: value" source (quiz and article sources): a leading BOM
// on the first line is dropped, blank lines and # comments are skipped, the name is lowered
// and both sides are trimmed.
#include <QString>

namespace mvx {

struct KeyValueLine
{
    enum class Kind { Skip, Pair, NoName, NoValue };
    Kind kind = Kind::Skip;
    QString text; // the trimmed line
    QString key;
    QString value;

    [[nodiscard]] static KeyValueLine read(const QString &raw, bool firstLine)
    {
        KeyValueLine out;
        out.text = raw.trimmed();
        if (firstLine && out.text.startsWith(QChar(0xFEFF)))
            out.text = out.text.mid(1).trimmed();
        if (out.text.isEmpty() || out.text.startsWith(QLatin1Char('#')))
            return out;
        const qsizetype colon = out.text.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            out.kind = Kind::NoName;
            return out;
        }
        out.key = out.text.left(colon).trimmed().toLower();
        out.value = out.text.mid(colon + 1).trimmed();
        out.kind = out.value.isEmpty() ? Kind::NoValue : Kind::Pair;
        return out;
    }
};

} // namespace mvx
