// mvxbrx-history [--file HISTORY] [--lesson BOOK:N] [--hard N]
// The learner's listening history as tab-separated lines. Without --lesson one "lesson" line
// per lesson with a record; with it that lesson's "lesson" line, its "day" lines and its
// hardest sentences ("hard", at most N, default 10). Exit status 0, 2 for bad usage.
#include "player/history/HistoryReport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: mvxbrx-history [--file HISTORY] [--lesson BOOK:N] [--hard N]\n");
    return 2;
}

void print(const QStringList &lines)
{
    for (const QString &line : lines) {
        std::fputs(line.toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString file = mvx::ListeningHistory::DefaultPath();
    QString book;
    int lesson = -1;
    int hard = mvx::DefaultHardCount;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[++i];
        bool ok = true;
        if (a == QLatin1String("--file")) {
            file = value;
        } else if (a == QLatin1String("--lesson")) {
            const qsizetype colon = value.lastIndexOf(u':');
            if (colon <= 0)
                return usage();
            book = value.left(colon);
            lesson = value.mid(colon + 1).toInt(&ok);
        } else if (a == QLatin1String("--hard")) {
            hard = value.toInt(&ok);
        } else {
            return usage();
        }
        if (!ok || hard < 0 || (a == QLatin1String("--lesson") && lesson < 0))
            return usage();
    }
    if (!QFileInfo::exists(file))
        return 0; // nothing studied yet
    mvx::ListeningHistory history(file);
    if (!history.Notice().isEmpty())
        std::fprintf(stderr, "mvxbrx-history: %s\n", qPrintable(history.Notice()));
    const QDateTime now = QDateTime::currentDateTime();
    if (!book.isEmpty()) {
        print(mvx::ReportLines(mvx::MakeLessonReport(history, mvx::ListeningHistory::BookKey(book), lesson, hard, now)));
        return 0;
    }
    for (const auto &l : history.Lessons())
        print(mvx::ReportLines(mvx::MakeLessonReport(history, l.book, l.lessonNo, 0, now), true));
    return 0;
}
