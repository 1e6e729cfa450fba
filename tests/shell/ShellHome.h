#pragma once
// A program home of the test's own for running the whole program in-process: the shipped
// data of the staged home linked in, the working pages copied, the smallest bundled book
// with its quiz, and an index of two articles: that book's first lesson and one whose book
// is missing. The programs of the staged home are left out, so no launcher is started.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace shelltest {

inline const QString GoodTitle = QStringLiteral("测试课文");
inline const QString BrokenTitle = QStringLiteral("找不到的课文");

struct ShellHome
{
    QString path;
    QString book;    // file name of the bundled book in brxspecial/
    QString goodKey; // tree keys of the two articles
    QString brokenKey;
};

inline bool CopyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

// Empty path when the staged home lacks what the test needs.
inline ShellHome MakeShellHome(const QString &stagedHome, const QString &path)
{
    ShellHome home;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    QString smallest;
    qint64 smallestSize = 0;
    for (const QFileInfo &book : QDir(stagedHome + QStringLiteral("/brxspecial")).entryInfoList({"*.dat"}, QDir::Files)) {
        const bool hasQuiz = QFileInfo::exists(stagedHome + QStringLiteral("/quiz/") + book.completeBaseName()
                                               + QStringLiteral(".txt"));
        if (hasQuiz && (smallest.isEmpty() || book.size() < smallestSize)) {
            smallest = book.fileName();
            smallestSize = book.size();
        }
    }
    if (smallest.isEmpty())
        return home;
    // The welcome notice is left out: the notice window has tests of its own.
    const QStringList own = {"BrxSpecialIdx.txt", "alltmpfile", "brxspecial", "quiz", "notices.txt"};
    for (const QFileInfo &entry : QDir(stagedHome).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (own.contains(entry.fileName()) || (entry.isFile() && entry.isExecutable()))
            continue;
        QFile::link(entry.absoluteFilePath(), path + QLatin1Char('/') + entry.fileName());
    }
    const QString stem = QFileInfo(smallest).completeBaseName();
    if (!CopyTree(stagedHome + QStringLiteral("/alltmpfile"), path + QStringLiteral("/alltmpfile"))
        || !QDir().mkpath(path + QStringLiteral("/brxspecial")) || !QDir().mkpath(path + QStringLiteral("/quiz"))
        || !QFile::copy(stagedHome + QStringLiteral("/brxspecial/") + smallest, path + QStringLiteral("/brxspecial/") + smallest)
        || !QFile::copy(stagedHome + QStringLiteral("/quiz/") + stem + QStringLiteral(".txt"),
                        path + QStringLiteral("/quiz/") + stem + QStringLiteral(".txt")))
        return home;
    QFile index(path + QStringLiteral("/BrxSpecialIdx.txt"));
    if (!index.open(QIODevice::WriteOnly))
        return home;
    index.write(QStringLiteral("CLAS0001测试||brxspecial\nCLAS0002课文\nFILE%1|sentra|%2|0|0\nFILE%3|sentra|missing.dat|0|0\n")
                    .arg(GoodTitle, smallest, BrokenTitle)
                    .toUtf8());
    home.path = path;
    home.book = smallest;
    home.goodKey = QStringLiteral("sentra|%1|0|0|brxspecial-0003").arg(smallest);
    home.brokenKey = QStringLiteral("sentra|missing.dat|0|0|brxspecial-0004");
    return home;
}

} // namespace shelltest
