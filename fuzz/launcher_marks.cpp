// The tray launcher's review state, read at every start: the daily review mark file and the
// word program's test file names (day serial, hour, book and interval in the name). The first
// part of the input is the mark file, each line of the second a file name in the learner's
// folder. A mark is -1 or a day no later than three days ahead; a mark written reads back.
#include "FuzzSupport.h"
#include "launcher/ReviewDates.h"

#include <QDir>
#include <QFile>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QList<QByteArray> records = fuzz::parts(fuzz::input(data, size), 2);
    const QDate today(2026, 12, 10);
    QDir().mkpath(fuzz::scratch() + QStringLiteral("/launcher"));
    const QString mark = fuzz::writeFile(QStringLiteral("/launcher/review.mark"), records[0]);
    const int serial = spirit::ReadReviewMark(mark, today);
    FUZZ_CHECK(serial == -1 || (serial >= 0 && serial <= spirit::TodaySerial(today) + 3), QString::number(serial));
    if (serial >= 0) {
        FUZZ_CHECK(spirit::WriteReviewMark(mark, serial), mark);
        FUZZ_CHECK(spirit::ReadReviewMark(mark, today) == serial, mark);
    }

    const QString install = fuzz::scratch() + QStringLiteral("/launcher/word/");
    const QString folder = install + QStringLiteral("learner.ILE");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    int made = 0;
    for (const QString &name : fuzz::lines(records[1])) {
        if (name.isEmpty() || name.contains(u'/') || name.contains(QChar(0)) || name == u"." || name == u".."
            || name.toUtf8().size() > 200 || ++made > 32)
            continue;
        QFile(folder + u'/' + name).open(QIODevice::WriteOnly);
    }
    for (int hour : {0, 12, 23})
        (void)spirit::IsReviewDue({install, QStringLiteral("learner"), QStringLiteral("BOOK")}, today, hour);
    return 0;
}
