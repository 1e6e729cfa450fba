// The shipped data is found from the executable's own place, in the build tree's layout
// (data beside the programs) and in the installed one (PREFIX/bin, PREFIX/share/...).
#include "core/InstallLayout.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class InstallLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void shippedDataFolder_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("expected");
        QTest::addRow("build tree: data beside the programs")
            << QStringList{"home/ecminterface"} << "home" << "home";
        QTest::addRow("installed prefix")
            << QStringList{"usr/bin", "usr/share/mvxbrxspecial/ecminterface"} << "usr/bin"
            << "usr/share/mvxbrxspecial";
        QTest::addRow("relocated prefix with a space")
            << QStringList{"my apps/bin", "my apps/share/mvxbrxspecial/ecminterface"} << "my apps/bin"
            << "my apps/share/mvxbrxspecial";
        QTest::addRow("both: the copy beside the program wins")
            << QStringList{"p/bin/ecminterface", "p/share/mvxbrxspecial/ecminterface"} << "p/bin" << "p/bin";
        QTest::addRow("neither: the program's folder")
            << QStringList{"q/bin", "q/share/mvxbrxspecial"} << "q/bin" << "q/bin";
    }

    void shippedDataFolder()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, exeDir);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        for (const QString &f : folders)
            QVERIFY(QDir(root.path()).mkpath(f));
        QCOMPARE(mvx::ShippedDataFolder(root.filePath(exeDir)), QDir::cleanPath(root.filePath(expected)));
    }
};

QTEST_GUILESS_MAIN(InstallLayoutTest)
#include "test_install_layout_lookup.moc"
