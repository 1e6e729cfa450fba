// The program home: a copy that may write its shipped data works there; an installed copy
// whose data folder is read-only works in a per-user home seeded from it, where books,
// the notebook and the working files are written, and the shipped data stays untouched.
#include "core/ProgramHome.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentraBook.h"
#include "SentraFixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace mvx;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestLibraryHome : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_prefix; // an installed copy: programs in bin, data in share/mvxbrxspecial
    QString m_shipped;

    // Runs the helper as the program would start from m_prefix/bin, with the prefix read-only.
    // Returns its output; skips the test when no read-only folder can be had here.
    QByteArray startReadOnly(const QString &dataHome)
    {
        QProcess helper;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dataHome);
        helper.setProcessEnvironment(env);
        const QString bin = m_prefix + "/bin";
        if (geteuid() != 0) {
            // Permissions bind an ordinary user.
            QProcess::execute("chmod", {"-R", "a-w", m_prefix});
            helper.start(QStringLiteral(HOME_HELPER), {bin});
        } else {
            // Root writes through permissions: a private read-only mount of the prefix.
            if (QProcess::execute("unshare", {"-m", "true"}) != 0)
                return "skip";
            helper.start("unshare", {"-m", "sh", "-c", "mount --bind -o ro \"$1\" \"$1\" || exit 77; exec \"$2\" \"$3\"",
                                     "sh", m_prefix, QStringLiteral(HOME_HELPER), bin});
        }
        helper.waitForFinished(60000);
        if (geteuid() != 0)
            QProcess::execute("chmod", {"-R", "u+w", m_prefix});
        if (helper.exitCode() == 77)
            return "skip";
        const QByteArray out = helper.readAllStandardOutput();
        if (helper.exitCode() != 0)
            qWarning() << helper.readAllStandardError() << out;
        return helper.exitCode() == 0 ? out : QByteArray();
    }

private slots:
    void init()
    {
        m_root = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/homeXXXXXX");
        m_prefix = m_root->filePath("opt app");
        m_shipped = m_prefix + "/share/mvxbrxspecial";
        QDir().mkpath(m_prefix + "/bin");
        put(m_shipped + "/ecminterface/common/radio.png", "picture");
        put(m_shipped + "/alltmpfile/htm111.htm", "<frameset></frameset>");
        put(m_shipped + "/mvxdictec.idx", "dictionary");
        QVERIFY(WriteTextFile(m_shipped + "/BrxSpecialIdx.txt",
                              {"CLAS0001文化习俗||brxspecial", "FILE春雨|sentra|book.dat|0|0"}, TextEncoding::Gb18030));
        QVERIFY(QDir().mkpath(m_shipped + "/brxspecial"));
        sentra::SentraBook book;
        QVERIFY2(book.create(m_shipped + "/brxspecial/book.dat"), qPrintable(book.lastError()));
        QVERIFY(book.addLesson(fixtures::sampleLesson()) >= 0);
    }

    void writableDataIsTheHome()
    {
        const ProgramHomeChoice choice = ProgramHome::Choose(m_shipped);
        QCOMPARE(choice.path, QDir::cleanPath(m_shipped));
        QVERIFY(!choice.perUser);
        QVERIFY(choice.notice.isEmpty());
    }

    void writtenPartsAreTheIndexItsFoldersAndTheWorkingFolders()
    {
        const QStringList parts = ProgramHome::WrittenParts(m_shipped);
        for (const char *part : {"BrxSpecialIdx.txt", "brxspecial", "alltmpfile", "notebook"})
            QVERIFY2(parts.contains(part), part);
        QVERIFY(!parts.contains("ecminterface"));
    }

    void aReadOnlyInstallWorksInAPerUserHome()
    {
        const QString dataHome = m_root->filePath("data");
        const QByteArray shippedBook = digest(m_shipped + "/brxspecial/book.dat");
        const QByteArray out = startReadOnly(dataHome);
        if (out == "skip")
            QSKIP("no read-only folder can be made here");
        const QString home = dataHome + "/mvxbrxspecial";
        QCOMPARE(out.trimmed(), ("home " + home).toUtf8());

        // The learner's session landed in the home; the installed data is as shipped.
        QVERIFY(QFileInfo(home + "/alltmpfile/tmpehtml.htm").isFile());
        QVERIFY(QFileInfo(home + "/alltmpfile/htm111.htm").isFile());
        QVERIFY(QFileInfo(home + "/notebook/brxspecial_note").isFile());
        QVERIFY(!QFileInfo(home + "/brxspecial/book.dat").isSymLink());
        QCOMPARE(digest(m_shipped + "/brxspecial/book.dat"), shippedBook);
        QVERIFY(!QFileInfo::exists(m_shipped + "/notebook"));
        QVERIFY(!QFileInfo::exists(m_shipped + "/alltmpfile/tmpehtml.htm"));
        {
            sentra::SentraBook book;
            QVERIFY(book.open(home + "/brxspecial/book.dat", false));
            QCOMPARE(book.sentence(1)->degree, 1);
        }
        // Read-only parts are linked, so a newer installation shows through.
        QCOMPARE(QFileInfo(home + "/ecminterface").symLinkTarget(), m_shipped + "/ecminterface");

        // The next start keeps the learner's copies and adds what a newer installation brought.
        put(m_shipped + "/help/index.htm", "<html></html>");
        QCOMPARE(startReadOnly(dataHome).trimmed(), ("home " + home).toUtf8());
        QVERIFY(QFileInfo(home + "/help/index.htm").isFile());
        sentra::SentraBook book;
        QVERIFY(book.open(home + "/brxspecial/book.dat", false));
        QCOMPARE(book.sentence(1)->degree, 1);
    }

    // A newer installation's lessons reach the learner's index, under their category and
    // once; the learner's own lines stay, and a shipped lesson the learner removed stays removed.
    void aNewerInstallationsLessonsJoinTheLearnersIndex()
    {
        const QString home = m_root->filePath("data/mvxbrxspecial");
        const QString index = home + "/BrxSpecialIdx.txt";
        QString error;
        QVERIFY2(ProgramHome::Seed(m_shipped, home, &error), qPrintable(error));
        QVERIFY(WriteTextFile(index, {"CLAS0001文化习俗||brxspecial", "FILE春雨（我的笔记）|sentra|book.dat|0|0",
                                      "FILE我的课|sentra|mine.dat|0|0"}, TextEncoding::Gb18030));

        QVERIFY(WriteTextFile(m_shipped + "/BrxSpecialIdx.txt",
                              {"CLAS0001文化习俗||brxspecial", "FILE春雨|sentra|book.dat|0|0", "FILE秋风|sentra|book.dat|1|0",
                               "CLAS0001科学||brxspecial", "CLAS0002动物", "FILE青蛙|sentra|frog.dat|0|0"},
                              TextEncoding::Gb18030));
        for (int start = 0; start < 2; ++start) {
            QVERIFY2(ProgramHome::Seed(m_shipped, home, &error), qPrintable(error));
            const TextFileContent merged = ReadTextFile(index);
            QCOMPARE(merged.encoding, TextEncoding::Gb18030);
            QCOMPARE(merged.lines, (QStringList{"CLAS0001文化习俗||brxspecial", "FILE春雨（我的笔记）|sentra|book.dat|0|0",
                                                "FILE我的课|sentra|mine.dat|0|0", "FILE秋风|sentra|book.dat|1|0",
                                                "CLAS0001科学||brxspecial", "CLAS0002动物", "FILE青蛙|sentra|frog.dat|0|0"}));
        }

        // The learner removes a shipped lesson: the next start does not bring it back.
        QVERIFY(WriteTextFile(index, {"CLAS0001文化习俗||brxspecial", "FILE我的课|sentra|mine.dat|0|0"}));
        QVERIFY2(ProgramHome::Seed(m_shipped, home, &error), qPrintable(error));
        QCOMPARE(ReadTextFile(index).lines, (QStringList{"CLAS0001文化习俗||brxspecial", "FILE我的课|sentra|mine.dat|0|0"}));
    }

    // Two installed copies share the learner's home: each start links the running copy's
    // own read-only data, also after the other copy was removed, and keeps the learner's books.
    void linksFollowTheRunningCopy()
    {
        const QString home = m_root->filePath("data/mvxbrxspecial");
        const QString other = m_root->filePath("usr/share/mvxbrxspecial");
        QVERIFY(QDir().mkpath(other));
        QCOMPARE(QProcess::execute("cp", {"-a", m_shipped + "/.", other}), 0);
        QString error;
        QVERIFY2(ProgramHome::Seed(other, home, &error), qPrintable(error));
        QCOMPARE(QFileInfo(home + "/ecminterface").symLinkTarget(), other + "/ecminterface");
        QVERIFY(QFileInfo::exists(home + "/brxspecial/book.dat"));
        const QByteArray learnersBook = digest(home + "/brxspecial/book.dat");

        QVERIFY(QDir(other).removeRecursively());
        QVERIFY2(ProgramHome::Seed(m_shipped, home, &error), qPrintable(error));
        for (const char *linked : {"ecminterface", "mvxdictec.idx"}) {
            const QFileInfo link(home + "/" + linked);
            QCOMPARE(link.symLinkTarget(), m_shipped + "/" + linked);
            QVERIFY2(link.exists(), linked);
        }
        QVERIFY(QFileInfo(home + "/ecminterface/common/radio.png").isFile());
        QCOMPARE(digest(home + "/brxspecial/book.dat"), learnersBook);
    }
};

QTEST_GUILESS_MAIN(TestLibraryHome)
#include "test_library_home.moc"
