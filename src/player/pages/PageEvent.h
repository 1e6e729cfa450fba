#pragma once
// One DOM event of a lesson page as the page agent reports it: which sink it is bound to, its
// type ("keydown", "mousedown", "dblclick", "selectstart", "contextmenu"), the frame and the
// source element (the word anchor or sentence label under the pointer, or a hooked input), the mouse button
// (1 left, 2 right, 4 middle), the Ctrl / Alt / Shift states, the key code, and for a word its
// text and its rectangle in view pixels (the engine's own geometry, frame offsets included).
#include <QRectF>
#include <QString>
#include <QVariantMap>

namespace mvx::pages {

struct PageEvent
{
    QString sink;
    QString type;
    QString frame;
    QString srcId;
    QString srcTag; // upper case, as the DOM names it ("A", "LABEL", "INPUT")
    QString srcName; // the source element's name attribute ("Submit1"), empty when none
    QString parentId;
    QString text;
    int button = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    int keyCode = 0;
    QRectF rect;

    [[nodiscard]] static PageEvent fromVariant(const QVariantMap &map);
    [[nodiscard]] bool isWord() const { return srcTag == QLatin1String("A"); }
    [[nodiscard]] bool isLabel() const { return srcTag == QLatin1String("LABEL"); }
    // The number after the first three characters of an id ("ste12" -> 12), -1 when none.
    [[nodiscard]] static int NumberOfId(const QString &id);
    // The sentence number: from the label, or from a word's parent label; -1 when none.
    [[nodiscard]] int sentenceNo() const;
    // The word number of a word source ("wrd5" -> 5); 0 on a label.
    [[nodiscard]] int wordNo() const;
};

} // namespace mvx::pages
