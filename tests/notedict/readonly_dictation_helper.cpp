// Dictates over a book the caller made read-only (a read-only mount, or no write permission)
// and prints what the learner would be told: the notice after each check, the answer to a
// correction, and whether any result landed in the book.
#include "notedict/DictationSession.h"
#include "libs/sentra/SentraBook.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2)
        return 2;
    using namespace mvx;
    const QString book = app.arguments().at(1);
    DictationSession run;
    QString error;
    if (!run.Open(book, 1, 2, 0, &error)) {
        std::printf("open: %s\n", qPrintable(error));
        return 0;
    }
    run.Enter(QStringLiteral("farmers in the north"), nullptr);
    std::printf("first check: %s\n", qPrintable(run.TakeNotice()));
    for (int i = 0; i < 3; ++i)
        run.Enter(QString(), nullptr);
    run.Enter(QStringLiteral("it's a sign"), nullptr);
    std::printf("second check: %s\n", qPrintable(run.TakeNotice()));
    std::printf("correction: %s\n", qPrintable(run.Correct(QStringLiteral("It is a sign."), QString())));
    sentra::SentraBook check;
    const bool open = check.open(book, false);
    std::printf("stored: %s\n", open && (check.dictation(1) || check.dictation(2)) ? "yes" : "no");
    return 0;
}
