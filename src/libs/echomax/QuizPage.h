#pragma once
// The quiz page made from a checked quiz source: a plain UTF-8 HTML page with the article's
// title as its heading and, for question k (k = 0, 1, ...), radio inputs named "radio" + k
// whose values are "T" / "F" or the choice letters, then one button input named "Submit1".
// Every text is HTML-escaped; the page holds no script, link or form, so nothing on it
// navigates anywhere.
#include "libs/echomax/QuizSource.h"

namespace mvx {

[[nodiscard]] QString RenderQuizPage(const QuizSource &quiz, const QString &title);

} // namespace mvx
