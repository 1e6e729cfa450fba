#include "FuzzSupport.h"
#include "core/SqliteDb.h"
#include "core/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace mvx::fuzz {

namespace {

// In memory when the system offers it: the settings store and the books commit with fsync,
// which on a busy disk would make every input look like a hang.
QTemporaryDir &scratchDir()
{
    static const QString parent = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                       : QDir::tempPath();
    static QTemporaryDir dir(parent + QStringLiteral("/mvxfuzz-XXXXXX"));
    return dir;
}

} // namespace

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QString root = scratch();
    for (const char *name : {"config", "data", "run", "cache"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(name));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + QStringLiteral("/run")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root + QStringLiteral("/cache")));
    QFile::setPermissions(root + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("SDL_AUDIODRIVER", "dummy");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "mvxfuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // Readers report refusals through Qt's warnings; thousands a second would drown the log.
    qSetMessagePattern(QString());
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "%s\n", qPrintable(msg));
            std::abort();
        }
    });
}

QString scratch()
{
    QTemporaryDir &dir = scratchDir();
    if (!dir.isValid())
        fail("no scratch folder");
    return dir.path();
}

QString writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratch() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file", path);
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray input(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

QStringList lines(const QByteArray &bytes)
{
    QStringList out = DecodeText(bytes).split(QLatin1Char('\n'));
    for (QString &l : out)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return out;
}

QList<QByteArray> parts(const QByteArray &bytes, int count)
{
    static const QByteArray cut("\n--8<--\n");
    QList<QByteArray> out;
    qsizetype from = 0;
    while (out.size() < count - 1) {
        const qsizetype at = bytes.indexOf(cut, from);
        if (at < 0)
            break;
        out.append(bytes.mid(from, at - from));
        from = at + cut.size();
    }
    out.append(bytes.mid(from));
    while (out.size() < count)
        out.append(QByteArray());
    return out;
}

QByteArray toneWav(int rate, double seconds)
{
    const QString path = scratch() + QStringLiteral("/tone-%1.wav").arg(rate);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        fail("cannot write a tone");
    const int frames = int(seconds * rate);
    std::vector<short> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) // a tone with a pause in its middle, as speech has
        samples[size_t(i)] = (i > frames * 4 / 10 && i < frames * 6 / 10) ? 0 : short(9000 * std::sin(i * 0.3));
    sf_writef_short(f, samples.data(), frames);
    sf_close(f);
    const QByteArray bytes = readFile(path);
    QFile::remove(path);
    return bytes;
}

QByteArray patched(const QByteArray &base, const QByteArray &records)
{
    QByteArray out = base;
    if (records.size() >= 2) {
        const int cut = uchar(records[0]) | (uchar(records[1]) << 8);
        if (cut > 0 && cut < out.size())
            out.truncate(cut);
    }
    if (out.isEmpty())
        return out;
    for (qsizetype i = 2; i + 4 <= records.size(); i += 4) {
        const quint32 offset = uchar(records[i]) | (uchar(records[i + 1]) << 8) | (uchar(records[i + 2]) << 16);
        out[qsizetype(offset % quint32(out.size()))] = records[i + 3];
    }
    return out;
}

void shrinkDatabase(const QString &path)
{
    SqliteDb db;
    if (!db.open(path, SqliteDb::Mode::ReadWrite) || !db.exec(QStringLiteral("PRAGMA page_size = 512"))
        || !db.exec(QStringLiteral("VACUUM")))
        fail("cannot shrink a base file", path + QStringLiteral(": ") + db.lastError());
}

bool integrityOk(const QString &path)
{
    SqliteDb db;
    return db.open(path, SqliteDb::Mode::ReadOnly)
           && db.scalar(QStringLiteral("PRAGMA integrity_check")).toString() == QLatin1String("ok");
}

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz check failed: %s %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace mvx::fuzz
