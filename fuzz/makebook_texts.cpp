// The book maker's text inputs read from files as a learner gives them (UTF-8, GBK or
// UTF-16): a plain script (one sentence per line, key words marked *so*), its translation
// and its comments, cut from the input at "--8<--" lines. A real sound decides the times.
// Every input is made into a lesson or refused with a message; nothing is written.
#include "FuzzSupport.h"
#include "libs/bookmaker/BookMaker.h"

#include <QFileInfo>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    static const QString sound = fuzz::writeFile(QStringLiteral("lesson.wav"), fuzz::toneWav(8000, 1.2));
    const QList<QByteArray> parts = fuzz::parts(fuzz::input(data, size), 3);
    MakeBookOptions o;
    o.book = fuzz::scratch() + QStringLiteral("/never-written.dat");
    o.audio = sound;
    o.text = fuzz::writeFile(QStringLiteral("script.txt"), parts[0]);
    if (!parts[1].isEmpty())
        o.translation = fuzz::writeFile(QStringLiteral("translation.txt"), parts[1]);
    if (!parts[2].isEmpty())
        o.comments = fuzz::writeFile(QStringLiteral("comments.txt"), parts[2]);
    o.titleLine = size > 0 && data[size - 1] % 2;

    LessonPlan plan;
    const InputError error = BookMaker::prepare(o, plan);
    FUZZ_CHECK(!QFileInfo::exists(o.book), o.book);
    if (error.isError())
        return 0;
    FUZZ_CHECK(!plan.lesson.sentences.isEmpty(), QStringLiteral("a lesson without sentences"));
    for (const auto &s : plan.lesson.sentences) {
        FUZZ_CHECK(s.startMs >= 0 && s.endMs > s.startMs && s.endMs <= plan.durationMs, s.english);
        for (int word : s.keywords)
            FUZZ_CHECK(word >= 1, s.english);
    }
    return 0;
}
