#pragma once
// Marking a submitted quiz: the learner's answers against the answer key.
// answers[k] is the value chosen for question k ("NoAnswer" when none); missing entries
// count as "NoAnswer". The line shown under the page starts "答案：  " and has, per question,
// "*" when it was answered wrongly, its number, ". " and the right answer: "True     ",
// "false     " or the letter and five spaces. The score is (right / all) × 100 in the
// shortest form of up to 15 digits (80, 66.6666666666667). An empty key has no score.
#include <QString>
#include <QStringList>

namespace mvx {

struct QuizMarks
{
    QString answerLine;
    int wrong = 0;
    bool hasScore = false;
    QString scoreText; // "80", "66.6666666666667"; empty without a score
    QString message;   // what the window shows in its message box
};

[[nodiscard]] QuizMarks MarkQuiz(const QString &answerKey, const QStringList &answers);

} // namespace mvx
