// mvxbrx-quizgen SOURCE PAGE.htm: writes the quiz page of a quiz source and prints its answer
// key. The page's heading is the source's "title:", else the source's base name.
// Exit status: 0 written; 1 the source was refused ("file:line: reason" on stderr, the page
// neither created nor changed); 2 bad usage.
#include "libs/echomax/EchoMaxLib.h"
#include "libs/echomax/QuizSource.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) || args[1].startsWith(QLatin1Char('-'))) {
        std::fputs("usage: mvxbrx-quizgen SOURCE PAGE.htm\n"
                   "Writes the quiz page of a quiz source and prints its answer key.\n",
                   stderr);
        return 2;
    }
    const QString &source = args[0];
    const mvx::QuizSource parsed = mvx::QuizSource::read(source);
    const QString title = !parsed.title.isEmpty() ? parsed.title : QFileInfo(source).completeBaseName();
    mvx::InputError error;
    const QString key = mvx::vcGenQuiz(source, args[1], title, &error);
    if (key.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(key));
    return 0;
}
