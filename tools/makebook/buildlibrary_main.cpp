// mvxbrx-buildlibrary: build-time tool that makes the bundled sample library
// (article index, books, quizzes) in the program home from the article sources.
#include "LibraryBuilder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the bundled lessons into the program home."));
    parser.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("program home"), QStringLiteral("dir"));
    const QCommandLineOption quizDir(QStringLiteral("quiz-dir"), QStringLiteral("quiz sources"), QStringLiteral("dir"));
    const QCommandLineOption wordList(QStringLiteral("word-list"), QStringLiteral("write the key words here"),
                                      QStringLiteral("file"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("words per minute"), QStringLiteral("n"),
                                  QStringLiteral("125"));
    parser.addOptions({home, quizDir, wordList, rate});
    parser.addPositionalArgument(QStringLiteral("articles"), QStringLiteral("article source files, in order"));
    parser.process(app);

    mvx::LibraryBuildOptions o;
    o.articles = parser.positionalArguments();
    o.home = parser.value(home);
    o.quizDir = parser.value(quizDir);
    o.wordList = parser.value(wordList);
    o.wordsPerMinute = parser.value(rate).toInt();
    if (o.articles.isEmpty() || o.home.isEmpty() || o.quizDir.isEmpty() || o.wordsPerMinute < 80) {
        std::fputs("usage: mvxbrx-buildlibrary --home DIR --quiz-dir DIR [--word-list FILE] ARTICLE...\n", stderr);
        return 2;
    }
    const QString error = mvx::LibraryBuilder::build(o);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "mvxbrx-buildlibrary: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf("mvxbrx-buildlibrary: %lld lessons made in %s\n", static_cast<long long>(o.articles.size()),
                o.home.toUtf8().constData());
    return 0;
}
