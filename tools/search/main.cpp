// mvxbrx-search [--index FILE] WORDS...
// One line per sentence found in the lessons of the article index: title, lesson (as in the
// index), sentence number (the title line is 0) and English, separated by tabs. Exit status 0
// with hits, 1 when nothing is found, 2 for bad usage or an index that cannot be read.
#include "library/LibrarySearch.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

QString oneLine(QString text)
{
    for (QChar &c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

int usage()
{
    std::fprintf(stderr, "usage: mvxbrx-search [--index FILE] WORDS...\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString index = QStringLiteral("BrxSpecialIdx.txt");
    if (!args.isEmpty() && args.first() == QLatin1String("--index")) {
        if (args.size() < 2)
            return usage();
        index = args.at(1);
        args = args.mid(2);
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help"))
        return usage();
    mvx::LibrarySearch search(index);
    const mvx::LibrarySearchResult result = search.Search(args.join(u' '), -1);
    if (!result.error.isEmpty()) {
        std::fprintf(stderr, "mvxbrx-search: %s\n", qPrintable(result.error));
        return 2;
    }
    if (!result.note.isEmpty())
        std::fprintf(stderr, "mvxbrx-search: %s\n", qPrintable(result.note));
    for (const QString &book : result.unreadable)
        std::fprintf(stderr, "mvxbrx-search: 无法读取：%s\n", qPrintable(book));
    for (const mvx::LibraryHit &hit : result.hits) {
        const QString line = QStringList{oneLine(hit.title), QString::number(hit.lessonNo),
                                         QString::number(hit.sentence), oneLine(hit.english)}
                                 .join(u'\t');
        std::fputs(line.toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
    }
    return result.hits.isEmpty() ? 1 : 0;
}
