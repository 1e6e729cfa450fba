#pragma once
// The lesson's HTML pages and one sentence's labels, in the markup BOOK_FORMAT.md fixes:
// "ste"/"stc"/"stz" labels, "wrd" anchors (child k = word k after an empty lead child),
// "No" + k number labels and the mixed page's two-line rows. Every book text is escaped.
// Colours are 0xRRGGBB integers.
#include "libs/sentra/SentraTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

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

    // Appends the English label to out (for page writing without a string per label).
    static void appendEnglishLabel(QString &out, const SentenceData &s, int noInLesson,
                                   int colour, int keywordColour, const QString &style);

    // Writes a lesson's English, Chinese, comment and mixed pages (UTF-8, lines ended by
    // CR LF). Each page is replaced whole or left as it was; false at the first failure.
    static bool writePages(const QString &eFile, const QString &cFile, const QString &zFile,
                           const QString &ecFile, const QList<SentenceData> &sentences,
                           const PageColours &c, const QString &eStyle, const QString &cStyle,
                           QString *error = nullptr);
};

} // namespace mvx::sentra
