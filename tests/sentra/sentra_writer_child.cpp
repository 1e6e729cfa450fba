// Helper process for the killed-writer test: changes a book as fast as it can until killed.
// "marks": each change sets a sentence's Chinese and comment to the same new text, toggles a
// key word and stores a meaning. "lessons": appends lessons with a large sound.
// Prints "writing" once the first change is committed.
#include "SentraFixtures.h"
#include "libs/sentra/SentraFacade.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argv[2];
    if (mode == "marks") {
        const int h = bcSentraBook_Open(path, QStringLiteral("r+b"));
        if (h < 0)
            return 3;
        for (int i = 0;; ++i) {
            const int n = i % 4;
            const QString text = QStringLiteral("v%1").arg(i);
            if (bcSentence_Modify(h, n, std::nullopt, text, text) != 0)
                return 4;
            int flag = 0;
            bcSentence_SetKeywordByNo(h, n, 1, 0, 0, &flag);
            bcSentence_SetAWordMean(h, n, QStringLiteral("w%1").arg(i % 50), text);
            if (i == 0) {
                std::puts("writing");
                std::fflush(stdout);
            }
        }
    }
    if (mode == "lessons") {
        mvx::sentra::SentraBook book;
        if (!book.open(path, true))
            return 3;
        mvx::sentra::LessonData l = fixtures::sampleLesson();
        l.sound = fixtures::toneFile(44100, 2, 20.0); // about 3.5 MB
        for (int i = 0;; ++i) {
            for (auto &s : l.sentences)
                s.comment = QStringLiteral("lesson %1").arg(book.lessonCount());
            if (book.addLesson(l) < 0)
                return 4;
            if (i == 0) {
                std::puts("writing");
                std::fflush(stdout);
            }
        }
    }
    return 2;
}
