#pragma once
// The lesson's HTML pages and one sentence's labels, in the markup BOOK_FORMAT.md fixes:
// "ste"/"stc"/"stz" labels, "wrd" anchors (child k = word k after an empty lead child),
// "No" + k number labels and the mixed page's two-line rows. Every book text is escaped.
// Colours are 0xRRGGBB integers.
#include "libs/sentra/SentraTypes.h"

#include <QList>
#include <QString>

namespace mvx::sentra {

struct PageColours
{
    int english = 0;
    int chinese = 0;
    int comment = 0;
    int keyword = 0xFF0000;
};

class LessonPages final
{
public:
    [[nodiscard]] static QString htmlColour(int rgb); // "#RRGGBB"

    [[nodiscard]] static QString englishLabel(const SentenceData &s, int noInLesson, int colour,
                                              int keywordColour, const QString &style);
    [[nodiscard]] static QString chineseLabel(const SentenceData &s, int noInLesson, int colour,
                                              const QString &style);
    [[nodiscard]] static QString commentInner(const SentenceData &s);
    // The label line, with "<br id=brN>" after a non-empty comment.
    [[nodiscard]] static QString commentLabel(const SentenceData &s, int noInLesson, int colour);

    // Whole pages (lines ended by CR LF) for the sentences of one lesson, in order.
    [[nodiscard]] static QString englishPage(const QList<SentenceData> &sentences,
                                             const PageColours &c, const QString &eStyle);
    [[nodiscard]] static QString chinesePage(const QList<SentenceData> &sentences,
                                             const PageColours &c, const QString &cStyle);
    [[nodiscard]] static QString commentPage(const QList<SentenceData> &sentences,
                                             const PageColours &c);
    [[nodiscard]] static QString mixedPage(const QList<SentenceData> &sentences,
                                           const PageColours &c, const QString &eStyle,
                                           const QString &cStyle);

    // Writes a page as UTF-8, whole or not at all.
    static bool writePage(const QString &path, const QString &html, QString *error = nullptr);
};

} // namespace mvx::sentra
