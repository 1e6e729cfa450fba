// Replays a harness's corpus with the ordinary compiler: every file of the corpus folder
// (or of the folders and files named on the command line) is fed to the harness once.
// A reader that crashes, hangs or breaks a check stops the run, and the test fails.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv)
{
    QStringList roots;
    for (int i = 1; i < argc; ++i)
        roots << QString::fromLocal8Bit(argv[i]);
    if (roots.isEmpty())
        roots << QStringLiteral(FUZZ_CORPUS);
    QStringList files;
    for (const QString &root : roots) {
        if (QFileInfo(root).isFile()) {
            files << root;
            continue;
        }
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    if (files.isEmpty()) {
        std::fprintf(stderr, "no corpus files in %s\n", qPrintable(roots.join(QLatin1Char(' '))));
        return 1;
    }
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(QFileInfo(path).fileName()),
                     static_cast<long long>(bytes.size()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    std::printf("replayed %lld inputs\n", static_cast<long long>(files.size()));
    return 0;
}
