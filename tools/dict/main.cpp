// mvxbrx-dict [--dict BASE] WORD...
// One tab-separated line per word: the word asked, the head word found, its phonetic and
// its Chinese meanings joined by " / ". Exit status 1 when a word is not found (its line
// then carries the nearest spellings), 2 when the dictionary cannot be opened.
#include "core/InstallLayout.h"
#include "notedict/EcDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString base = QDir(mvx::ShippedDataFolder(QCoreApplication::applicationDirPath())).filePath(QStringLiteral("mvxdictec"));
    if (args.size() >= 2 && args.first() == QLatin1String("--dict")) {
        base = args.at(1);
        args = args.mid(2);
    }
    if (args.isEmpty() || args.first() == QLatin1String("--help")) {
        std::fprintf(stderr, "usage: mvxbrx-dict [--dict BASE] WORD...\n");
        return 2;
    }
    mvx::EcDictionary dict;
    if (!dict.open(base + QStringLiteral(".idx"), base + QStringLiteral(".lib"))) {
        std::fprintf(stderr, "mvxbrx-dict: %s\n", qPrintable(dict.errorText()));
        return 2;
    }
    int status = 0;
    for (const QString &word : std::as_const(args)) {
        const mvx::DictLookup r = dict.lookup(word);
        QStringList cols{word};
        if (r.found()) {
            const mvx::DictEntry &e = r.mainEntry();
            cols << e.headWord << e.phonetic << r.meaningLines().join(QStringLiteral(" / "));
        } else {
            status = 1;
            QString miss = QStringLiteral("未找到");
            if (!r.suggestions.isEmpty())
                miss += QStringLiteral("，您要找的是不是：") + r.suggestions.join(QStringLiteral(", "));
            cols << QString() << QString() << miss;
        }
        for (QString &c : cols)
            c.replace(u'\t', u' ').replace(u'\n', u' ');
        std::fputs(cols.join(u'\t').toUtf8().constData(), stdout);
        std::fputc('\n', stdout);
    }
    return status;
}
