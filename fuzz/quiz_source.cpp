// The quiz source reader and the quiz page made from what it accepts: a refusal names the
// file and a line of it; an accepted quiz has an answer for every question.
#include "FuzzSupport.h"
#include "libs/echomax/QuizPage.h"
#include "libs/echomax/QuizSource.h"

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QByteArray bytes = fuzz::input(data, size);
    const QString path = fuzz::writeFile(QStringLiteral("quiz.txt"), bytes);
    const QuizSource quiz = QuizSource::read(path);
    if (quiz.error.isError()) {
        FUZZ_CHECK(quiz.questions.isEmpty(), quiz.error.toString());
        FUZZ_CHECK(quiz.error.file == path, quiz.error.toString());
        FUZZ_CHECK(quiz.error.line >= 0 && quiz.error.line <= bytes.count('\n') + 2, quiz.error.toString());
        return 0;
    }
    FUZZ_CHECK(!quiz.questions.isEmpty() && quiz.questions.size() <= QuizSource::MaxQuestions,
               QString::number(quiz.questions.size()));
    const QString key = quiz.answerKey();
    FUZZ_CHECK(key.size() == quiz.questions.size(), key);
    for (const QuizQuestion &q : quiz.questions)
        FUZZ_CHECK(q.kind == QuizQuestion::Kind::TrueFalse || (q.choices.size() >= QuizSource::MinChoices
                                                               && q.choices.size() <= QuizSource::MaxChoices),
                   q.text);
    const QString page = RenderQuizPage(quiz, quiz.title);
    FUZZ_CHECK(!page.contains(QLatin1String("<script"), Qt::CaseInsensitive), page);
    return 0;
}
