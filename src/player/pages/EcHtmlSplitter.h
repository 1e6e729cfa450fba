#pragma once
// Splits the library's mixed English-Chinese page into an English half and a Chinese half
// for the layouts that show only one of the two texts. The mixed page writes each table row
// over two lines, the English line beginning the row and the Chinese line ending it:
// - a line containing "<label id=stc" goes to the Chinese half only, "<tr><td>" before it;
// - else a line containing "<label id=ste" goes to the English half only, "</td></tr>" after;
// - else a line beginning with "<table" is replaced in both halves by the program's own table
//   opening with each half's font;
// - any other line goes to both halves.
// Lines are read whole (no length cut, so a long sentence never loses its closing markup);
// the halves are written as UTF-8 with CR LF, each replaced whole. On failure both halves are
// removed, so no stale half of an earlier lesson can be shown.
#include <QString>
#include <QStringList>

namespace mvx::pages {

struct HalfFont
{
    QString family;
    double size = 12;
};

class EcHtmlSplitter final
{
public:
    struct Halves
    {
        QStringList english;
        QStringList chinese;
    };
    // The split of the page's lines (without line ends).
    [[nodiscard]] static Halves SplitLines(const QStringList &lines, const HalfFont &english, const HalfFont &chinese);
    // Reads mixedFile, writes englishFile and chineseFile. Returns false with *error set (and
    // both halves removed) when a file cannot be read or written.
    static bool SplitFile(const QString &mixedFile, const QString &englishFile, const QString &chineseFile,
                          const HalfFont &english, const HalfFont &chinese, QString *error = nullptr);
};

} // namespace mvx::pages
