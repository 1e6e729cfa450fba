#include "quiz/QuizScoring.h"

#include "core/UserSettings.h"

namespace mvx {

QuizMarks MarkQuiz(const QString &answerKey, const QStringList &answers)
{
    QuizMarks marks;
    const int n = int(answerKey.size());
    if (n == 0) {
        marks.message = QStringLiteral("这篇文章没有测验题。");
        return marks;
    }
    marks.answerLine = QStringLiteral("答案：  ");
    for (int k = 0; k < n; ++k) {
        const QString right(answerKey.at(k));
        const QString given = k < answers.size() ? answers.at(k) : QStringLiteral("NoAnswer");
        if (given != right) {
            ++marks.wrong;
            marks.answerLine += QLatin1Char('*');
        }
        marks.answerLine += QString::number(k + 1) + QStringLiteral(". ");
        if (right == QLatin1String("T"))
            marks.answerLine += QStringLiteral("True     ");
        else if (right == QLatin1String("F"))
            marks.answerLine += QStringLiteral("false     ");
        else
            marks.answerLine += right + QStringLiteral("     ");
    }
    marks.hasScore = true;
    marks.scoreText = RealToText(double(n - marks.wrong) / n * 100);
    marks.message = QStringLiteral("您的得分： ") + marks.scoreText
                    + QStringLiteral("\n\n正确答案见题目下方，做错的题目，题号左边有“*”标识");
    return marks;
}

} // namespace mvx
