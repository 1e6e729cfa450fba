#include "MountedVolumes.h"

#include "Helpers.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace mvx {

namespace {

// "\040" and the other octal escapes of the mount table.
QString Unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code < 256) {
                out += char(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromUtf8(out);
}

// The answers of one look-up; workers that answer after the caller has gone write into it
// harmlessly, as they share it.
struct ProbeAnswers
{
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::optional<bool>> found;
};

} // namespace

QList<MountEntry> ParseMountTable(const QByteArray &table)
{
    QList<MountEntry> entries;
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        entries.append({Unescape(fields[1]), QString::fromUtf8(fields[2])});
    }
    return entries;
}

bool IsProbedFileSystem(const QString &type)
{
    static const QSet<QString> skipped = {
        // network and remote
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("9p"),
        QStringLiteral("afs"), QStringLiteral("ceph"), QStringLiteral("glusterfs"), QStringLiteral("lustre"),
        QStringLiteral("gfs2"), QStringLiteral("ocfs2"), QStringLiteral("davfs"), QStringLiteral("sshfs"),
        QStringLiteral("virtiofs"),
        // automounters: asking them mounts, and may wait on the network
        QStringLiteral("autofs"),
        // the kernel's own
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"), QStringLiteral("devpts"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("securityfs"), QStringLiteral("debugfs"),
        QStringLiteral("tracefs"), QStringLiteral("configfs"), QStringLiteral("pstore"), QStringLiteral("bpf"),
        QStringLiteral("mqueue"), QStringLiteral("hugetlbfs"), QStringLiteral("binfmt_misc"),
        QStringLiteral("fusectl"), QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"), QStringLiteral("efivarfs"),
        QStringLiteral("selinuxfs"), QStringLiteral("ramfs")};
    const QString t = type.toLower();
    // User-space file systems (sshfs, rclone, gvfs, ...) may sit on a network; a local
    // disk through FUSE reports "fuseblk" and is asked.
    if (t.startsWith(QLatin1String("fuse.")) || t == QLatin1String("fuse"))
        return false;
    return !t.isEmpty() && !skipped.contains(t);
}

QString FindUnderRoots(const QString &relativePath, const QStringList &roots,
                       const std::function<bool(const QString &path)> &exists, int boundMs)
{
    if (roots.isEmpty())
        return {};
    auto answers = std::make_shared<ProbeAnswers>();
    answers->found.resize(size_t(roots.size()));
    QStringList withSlash;
    for (int i = 0; i < roots.size(); ++i) {
        QString root = roots[i];
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        withSlash << root;
        // A worker stuck in a dead mount stays blocked on its own; nobody waits for it.
        std::thread([answers, exists, i, path = root + relativePath] {
            const bool found = exists(path);
            {
                const std::lock_guard<std::mutex> lock(answers->mutex);
                answers->found[size_t(i)] = found;
            }
            answers->changed.notify_all();
        }).detach();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    std::unique_lock<std::mutex> lock(answers->mutex);
    for (;;) {
        // The first root in order decides once every root before it has said no.
        bool undecided = false;
        for (size_t i = 0; i < answers->found.size(); ++i) {
            if (!answers->found[i]) {
                undecided = true;
                break;
            }
            if (*answers->found[i])
                return withSlash[int(i)];
        }
        if (!undecided)
            return {};
        if (answers->changed.wait_until(lock, deadline) == std::cv_status::timeout)
            break;
    }
    // Time is up: a root that answered yes wins over the silent ones.
    for (size_t i = 0; i < answers->found.size(); ++i)
        if (answers->found[i] && *answers->found[i])
            return withSlash[int(i)];
    return {};
}

QString FindOnMountedVolumes(const QString &relativePath, const QStringList &extraRoots)
{
    QString rel = ToFsPath(relativePath);
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return {};
    QStringList roots = extraRoots;
    // MVX_EXTRA_VOLUMES (colon-separated) lets a learner or a test name further roots.
    roots += qEnvironmentVariable("MVX_EXTRA_VOLUMES").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // The mount table itself is read directly: asking each volume for its details (as
    // QStorageInfo does) would already wait on a dead one.
    QFile table(QStringLiteral("/proc/self/mounts"));
    if (table.open(QIODevice::ReadOnly)) {
        for (const MountEntry &entry : ParseMountTable(table.readAll()))
            if (IsProbedFileSystem(entry.type) && !roots.contains(entry.root))
                roots << entry.root;
    }
    return FindUnderRoots(rel, roots, [](const QString &path) { return QFileInfo::exists(path); });
}

} // namespace mvx
