#pragma once
// The last score of each article's quiz, kept in the settings store under the program's
// application name, section "QuizScores", key book file + "|" + lesson number, value
// score + TAB + local time ("yyyy-MM-dd HH:mm"). A stored value that cannot be read counts
// as no score.
#include <QDateTime>
#include <QString>

namespace mvx {

namespace QuizScores {

inline constexpr auto Section = "QuizScores";

void Save(const QString &bookFile, int lessonNo, const QString &scoreText, const QDateTime &when);
// "上次得分：80（2025-01-09 20:15）", or "还没有做过这个测验".
[[nodiscard]] QString LastScoreText(const QString &bookFile, int lessonNo);

} // namespace QuizScores

} // namespace mvx
