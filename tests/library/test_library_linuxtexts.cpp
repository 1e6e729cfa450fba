// Learner-visible texts that tell the learner what to do must be true on Linux: no
// restarting Windows, no Internet Explorer, no ".exe" files, no registry, and the word
// sounds may come from a USB stick or any folder as well as a disc.
#include "core/AppState.h"
#include "core/StartUp.h"
#include "library/CopyWordSndForm.h"
#include "library/WordSoundManager.h"

#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

using namespace mvx;

namespace {

// Words that only make sense on Windows. "Vista" texts are never shown here and stay as written.
const QRegularExpression kWindowsOnly(QStringLiteral(R"(Windows|\.exe\b|IE6|IE ?版本|Internet Explorer|注册表|盘符|[A-Z]:\\)"),
                                      QRegularExpression::CaseInsensitiveOption);

bool hasCjk(const QString &s)
{
    for (const QChar c : s) {
        if (c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF)
            return true;
    }
    return false;
}

} // namespace

class LinuxTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void changedTextsAreLinuxTrue_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        App().productTitle = QStringLiteral("Morvex英语Lentoria");
        QTest::addRow("second start message")
            << SecondInstanceMessage()
            << QStringLiteral("您已经启动了一份 Morvex英语Lentoria  如果您不知道如何继续，请重新启动计算机");
        QTest::addRow("no word-sound disc message")
            << WordSoundManager::NoDiscMessage()
            << QStringLiteral("光盘没有放好！请放入光盘 Disc B，或插上存有单词声音的U盘。\r\n\r\n"
                              "自己手工拷贝单词声音的办法是将 Disc B光盘（或U盘、其他文件夹）上的snd文件夹拷贝到程序目录下面。");
        CopyWordSndForm form;
        auto *info = form.findChild<QLabel *>(QStringLiteral("lbInfo"));
        QTest::addRow("word-sound window's first text")
            << (info ? info->text() : QString())
            << QStringLiteral("    您需要在运行本软件前放入光盘 Disc B（或插上存有单词声音的U盘）,或将单词声音(约370M)拷贝到硬盘，"
                              "才能在即点即查单词的时候，听到单词真人发音。");
    }

    void changedTextsAreLinuxTrue()
    {
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        QCOMPARE(shown, expected);
        QVERIFY(!kWindowsOnly.match(shown).hasMatch());
    }

    // Every Chinese string in the sources and every help page: a Windows-only instruction
    // brought back by a later edit fails here, naming the file and line.
    void noWindowsOnlyInstructionInSourcesOrHelp()
    {
        const QString root = QStringLiteral(MVX_SOURCE_DIR);
        const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
        QStringList found;
        QDirIterator sources(root + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h"),
                                                             QStringLiteral("*.js")},
                             QDir::Files, QDirIterator::Subdirectories);
        while (sources.hasNext()) {
            const QString path = sources.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (int i = 0; i < lines.size(); ++i) {
                auto it = literal.globalMatch(lines[i]);
                while (it.hasNext()) {
                    const QString text = it.next().captured(1);
                    if (hasCjk(text) && !IsUntouchedVistaText(text) && kWindowsOnly.match(text).hasMatch())
                        found << QStringLiteral("%1:%2: %3").arg(path.mid(root.size() + 1)).arg(i + 1).arg(text);
                }
            }
        }
        QDirIterator help(root + QStringLiteral("/data/help"), {QStringLiteral("*.htm"), QStringLiteral("*.html")},
                          QDir::Files, QDirIterator::Subdirectories);
        while (help.hasNext()) {
            const QString path = help.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
            for (int i = 0; i < lines.size(); ++i) {
                if (kWindowsOnly.match(lines[i]).hasMatch())
                    found << QStringLiteral("%1:%2: %3").arg(path.mid(root.size() + 1)).arg(i + 1).arg(lines[i]);
            }
        }
        if (!found.isEmpty())
            QFAIL(qPrintable(found.join(QLatin1Char('\n'))));
    }

    void theScanCatchesWhatItLooksFor()
    {
        QVERIFY(kWindowsOnly.match(QStringLiteral("请重新启动Windows")).hasMatch());
        QVERIFY(kWindowsOnly.match(QStringLiteral("请运行 setup.exe")).hasMatch());
        QVERIFY(kWindowsOnly.match(QStringLiteral("您的 IE 版本不够新")).hasMatch());
        QVERIFY(!kWindowsOnly.match(QStringLiteral("请重新启动计算机")).hasMatch());
    }

private:
    // The compatibility questions are asked only on Vista, which this platform never reports.
    static bool IsUntouchedVistaText(const QString &text)
    {
        return VistaQuestion().contains(text) || WordSoundManager::VistaVoiceWarning().contains(text);
    }
};

QTEST_MAIN(LinuxTextsTest)
#include "test_library_linuxtexts.moc"
