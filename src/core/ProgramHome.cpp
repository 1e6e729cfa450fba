#include "ProgramHome.h"

#include "Helpers.h"
#include "IndexMerge.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace mvx {

namespace {

const QString kIndexFile = QStringLiteral("BrxSpecialIdx.txt");
// The shipped index as it was at the last start, so that only what a newer installation
// adds reaches the learner's index (and lessons the learner removed stay removed).
const QString kShippedIndexSeen = QStringLiteral(".BrxSpecialIdx.shipped");

// Working folders the program writes into, when they ship with content (the frameset
// pages live in "alltmpfile" beside the lesson's temporary pages).
const QStringList kWorkingFolders = {
    QStringLiteral("alltmpfile"), QStringLiteral("notebook"), QStringLiteral("segment"), QStringLiteral("snd"),
    QStringLiteral("tmpwav"),     QStringLiteral("soundsample"), QStringLiteral("ecm"), QStringLiteral("temp"),
    QStringLiteral("listen"),     QStringLiteral("script")};

bool Fail(QString *error, const QString &text)
{
    if (error && error->isEmpty())
        *error = text;
    return false;
}

// Copies what is missing under `to`, file by file; existing files are the learner's and stay.
bool CopyMissing(const QString &from, const QString &to, QString *error)
{
    const QFileInfo source(from);
    if (source.isDir()) {
        if (!QDir().mkpath(to))
            return Fail(error, QStringLiteral("无法建立文件夹 %1").arg(to));
        bool ok = true;
        const QFileInfoList entries =
            QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QFileInfo &entry : entries)
            ok = CopyMissing(entry.filePath(), to + QLatin1Char('/') + entry.fileName(), error) && ok;
        return ok;
    }
    const QFileInfo target(to);
    if (target.exists() || target.isSymLink())
        return true;
    // Through a temporary name, so that a copy cut short never looks like a whole book.
    const QString partial = to + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(from, partial) || !QFile::rename(partial, to)) {
        QFile::remove(partial);
        return Fail(error, QStringLiteral("无法复制 %1 到 %2").arg(from, to));
    }
    // The shipped file may be read-only; the learner's copy is written to.
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Adds the shipped index's new lessons to the learner's index (when it was there before
// this start) and remembers the shipped index.
bool MergeShippedIndex(const QString &shipped, const QString &home, bool learnerHadIndex, QString *error)
{
    const QString shippedPath = shipped + QLatin1Char('/') + kIndexFile;
    const TextFileContent fromShipped = ReadTextFile(shippedPath);
    if (!fromShipped.ok)
        return true;
    const QString seenPath = home + QLatin1Char('/') + kShippedIndexSeen;
    if (learnerHadIndex) {
        const QString mine = home + QLatin1Char('/') + kIndexFile;
        const TextFileContent learner = ReadTextFile(mine);
        if (!learner.ok)
            return Fail(error, QStringLiteral("无法读出 %1").arg(mine));
        const TextFileContent seen = ReadTextFile(seenPath);
        int added = 0;
        const QStringList merged = IndexMerge::Merge(learner.lines, fromShipped.lines, seen.lines, seen.ok, &added);
        if (added > 0 && !WriteTextFile(mine, merged, learner.encoding))
            return Fail(error, QStringLiteral("无法写入 %1").arg(mine));
    }
    const QByteArray bytes = ReadAll(shippedPath);
    if (bytes == ReadAll(seenPath))
        return true;
    QSaveFile out(seenPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return Fail(error, QStringLiteral("无法写入 %1").arg(seenPath));
    return true;
}

} // namespace

QString ProgramHome::PerUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mvxbrxspecial");
}

bool ProgramHome::IsWritableFolder(const QString &folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.mvx-write-probe-XXXXXX"));
    return probe.open();
}

QStringList ProgramHome::WrittenParts(const QString &shippedData)
{
    QStringList parts{kIndexFile};
    const TextFileContent index = ReadTextFile(shippedData + QLatin1Char('/') + kIndexFile);
    for (const QString &line : index.lines) {
        // A top category names its library folder after "||": the books in it are written to.
        if (!line.startsWith(QLatin1String("CLAS")) || line.mid(4, 4).trimmed().toInt() != 1)
            continue;
        const int bars = int(line.indexOf(QLatin1String("||")));
        const QString folder = bars < 0 ? QString() : ToFsPath(line.mid(bars + 2)).section(QLatin1Char('/'), 0, 0,
                                                                                            QString::SectionSkipEmpty);
        if (!folder.isEmpty() && folder != QLatin1String("..") && !parts.contains(folder))
            parts << folder;
    }
    for (const QString &folder : kWorkingFolders)
        if (!parts.contains(folder))
            parts << folder;
    return parts;
}

bool ProgramHome::Seed(const QString &shippedData, const QString &home, QString *error)
{
    const QString shipped = QDir::cleanPath(QFileInfo(shippedData).absoluteFilePath());
    if (!QDir().mkpath(home))
        return Fail(error, QStringLiteral("无法建立文件夹 %1").arg(home));
    const QStringList written = WrittenParts(shipped);
    const bool hadIndex = QFileInfo::exists(home + QLatin1Char('/') + kIndexFile);
    bool ok = true;
    const QFileInfoList entries =
        QDir(shipped).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        const QString target = home + QLatin1Char('/') + name;
        const QFileInfo present(target);
        if (written.contains(name)) {
            // A part written to must be a real copy, even where an older home linked it.
            if (present.isSymLink() && !QFile::remove(target)) {
                ok = Fail(error, QStringLiteral("无法替换 %1").arg(target));
                continue;
            }
            ok = CopyMissing(entry.filePath(), target, error) && ok;
        } else if (!present.exists() || present.isSymLink()) {
            // A link made by another installed copy (or one since removed) is pointed at
            // the running copy's data, so that each copy shows its own skins and help.
            if (present.isSymLink()) {
                if (present.symLinkTarget() == entry.absoluteFilePath())
                    continue;
                if (!QFile::remove(target)) {
                    ok = Fail(error, QStringLiteral("无法替换 %1").arg(target));
                    continue;
                }
            }
            if (!QFile::link(entry.absoluteFilePath(), target))
                ok = Fail(error, QStringLiteral("无法链接 %1 到 %2").arg(entry.absoluteFilePath(), target));
        }
    }
    return MergeShippedIndex(shipped, home, hadIndex, error) && ok;
}

ProgramHomeChoice ProgramHome::Choose(const QString &shippedData)
{
    const QString shipped = QDir::cleanPath(QFileInfo(shippedData).absoluteFilePath());
    bool writable = IsWritableFolder(shipped);
    for (const QString &part : WrittenParts(shipped)) {
        const QFileInfo info(shipped + QLatin1Char('/') + part);
        if (writable && info.exists())
            writable = info.isDir() ? IsWritableFolder(info.filePath()) : info.isWritable();
    }
    if (writable)
        return {shipped, false, {}};
    const QString home = PerUserFolder();
    QString error;
    if (Seed(shipped, home, &error))
        return {home, true, {}};
    if (!IsWritableFolder(home)) {
        return {shipped, false,
                QStringLiteral("本软件的文件夹 %1 不能写入，个人文件夹 %2 也无法使用（%3）。"
                               "学习记录、生词本和设置的改动将无法保存。")
                    .arg(QDir::toNativeSeparators(shipped), QDir::toNativeSeparators(home), error)};
    }
    return {home, true,
            QStringLiteral("个人文件夹 %1 未能完全准备好（%2），有些课文可能无法打开。")
                .arg(QDir::toNativeSeparators(home), error)};
}

} // namespace mvx
