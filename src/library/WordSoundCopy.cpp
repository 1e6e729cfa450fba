#include "WordSoundCopy.h"

#include "libs/comm/CommLib.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <unistd.h>

namespace mvx {

namespace {

constexpr qint64 kBlock = 1 << 20;

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

WordSoundCopy::WordSoundCopy(const QString &sourceFolder, const QString &targetFolder)
    : m_source(QDir::cleanPath(QFileInfo(sourceFolder).absoluteFilePath())),
      m_target(QDir::cleanPath(QFileInfo(targetFolder).absoluteFilePath())),
      m_freeSpace([](const QString &folder) { return QStorageInfo(folder).bytesAvailable(); })
{
}

QString WordSoundCopy::IndexFileName()
{
    return QStringLiteral("vocabranewsnd.idx");
}

QString WordSoundCopy::StagingFolderFor(const QString &targetFolder)
{
    return QDir::cleanPath(targetFolder) + QStringLiteral(".partial");
}

QString WordSoundCopy::LibraryFolderIn(const QString &chosenFolder)
{
    if (chosenFolder.isEmpty())
        return {};
    const QString folder = QDir::cleanPath(chosenFolder);
    if (QFileInfo(folder + QLatin1Char('/') + IndexFileName()).isFile())
        return folder;
    if (QFileInfo(folder + QStringLiteral("/snd/") + IndexFileName()).isFile())
        return folder + QStringLiteral("/snd");
    return {};
}

QString WordSoundCopy::DiscLibraryFolder()
{
    QString root;
    if (vcIfCdFileReady(QStringLiteral("snd\\") + IndexFileName(), root) == 0)
        return {};
    return root + QStringLiteral("/snd");
}

WordSoundCopy::Result WordSoundCopy::fail(Result result, const QString &text)
{
    m_error = text;
    QDir(StagingFolderFor(m_target)).removeRecursively();
    return result;
}

WordSoundCopy::Result WordSoundCopy::run(const Progress &progress)
{
    m_error.clear();
    const QString staging = StagingFolderFor(m_target);
    const QString old = m_target + QStringLiteral(".old");
    if (!QFileInfo(m_source + QLatin1Char('/') + IndexFileName()).isFile())
        return fail(Result::Failed, QStringLiteral("文件夹 %1 中没有单词声音索引 %2。").arg(m_source, IndexFileName()));
    // Choosing the library that is already in place copies nothing.
    if (QFileInfo(m_source).canonicalFilePath() == QFileInfo(m_target).canonicalFilePath())
        return Result::Copied;

    // Every file of the source, sub-folders too; never the target's own folders, in case
    // the source holds them.
    QStringList files;
    qint64 total = 0;
    QDirIterator it(m_source, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir::cleanPath(it.next());
        if (isInside(path, m_target) || isInside(path, staging) || isInside(path, old))
            continue;
        files << path;
        total += it.fileInfo().size();
    }

    const QString parent = QFileInfo(m_target).absolutePath();
    if (m_freeSpace && m_freeSpace(parent) < total)
        return fail(Result::NoSpace, QStringLiteral("磁盘空间不足：需要 %1 MB。").arg((total + kBlock - 1) / kBlock));

    QDir(staging).removeRecursively(); // left over from an interrupted copy
    if (!QDir().mkpath(staging))
        return fail(Result::Failed, QStringLiteral("无法建立文件夹 %1。").arg(staging));
    if (progress && !progress(0, total))
        return fail(Result::Cancelled, {});

    const QDir source(m_source);
    qint64 done = 0;
    for (const QString &file : files) {
        const QString to = staging + QLatin1Char('/') + source.relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(to).absolutePath()))
            return fail(Result::Failed, QStringLiteral("无法建立文件夹 %1。").arg(QFileInfo(to).absolutePath()));
        Result outcome = Result::Copied;
        if (!copyFile(file, to, done, total, progress, outcome))
            return fail(outcome, m_error);
    }
    if (!putInPlace(staging))
        return fail(Result::Failed, QStringLiteral("无法把拷贝好的单词声音放到 %1。").arg(m_target));
    return Result::Copied;
}

bool WordSoundCopy::copyFile(const QString &from, const QString &to, qint64 &done, qint64 total,
                             const Progress &progress, Result &outcome)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        outcome = Result::Failed;
        m_error = QStringLiteral("无法读取文件 %1。").arg(from);
        return false;
    }
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        outcome = Result::Failed;
        m_error = QStringLiteral("无法写入文件 %1。").arg(to);
        return false;
    }
    QByteArray block;
    for (;;) {
        block = in.read(kBlock);
        if (block.isEmpty()) {
            if (in.error() != QFileDevice::NoError) {
                outcome = Result::Failed;
                m_error = QStringLiteral("无法读取文件 %1。").arg(from);
                return false;
            }
            break;
        }
        if (out.write(block) != block.size()) {
            const bool full = m_freeSpace && m_freeSpace(QFileInfo(to).absolutePath()) < block.size();
            outcome = full ? Result::NoSpace : Result::Failed;
            m_error = full ? QStringLiteral("磁盘空间不足。") : QStringLiteral("无法写入文件 %1。").arg(to);
            return false;
        }
        done += block.size();
        if (progress && !progress(done, total)) {
            outcome = Result::Cancelled;
            m_error.clear();
            return false;
        }
    }
    // The data must be on the disk before the library is put in place.
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        outcome = Result::Failed;
        m_error = QStringLiteral("无法写入文件 %1。").arg(to);
        return false;
    }
    out.close();
    return true;
}

bool WordSoundCopy::putInPlace(const QString &staging)
{
    if (!QFileInfo::exists(m_target))
        return QDir().rename(staging, m_target);
    const QString old = m_target + QStringLiteral(".old");
    QDir(old).removeRecursively();
    if (!QDir().rename(m_target, old))
        return false;
    if (!QDir().rename(staging, m_target)) {
        QDir().rename(old, m_target);
        return false;
    }
    // Keep what the old folder held beyond the new library.
    const QDir oldDir(old);
    QDirIterator it(old, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString to = m_target + QLatin1Char('/') + oldDir.relativeFilePath(path);
        if (!QFileInfo::exists(to) && QDir().mkpath(QFileInfo(to).absolutePath()))
            QFile::rename(path, to);
    }
    QDir(old).removeRecursively();
    return true;
}

} // namespace mvx
