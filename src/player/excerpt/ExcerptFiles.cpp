#include "player/excerpt/ExcerptFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace mvx::excerpt {

bool ExcerptFiles::MakeFolder(const QString &path)
{
    return QDir().mkpath(path) && QFileInfo(path).isDir();
}

bool ExcerptFiles::Exists(const QString &path) const
{
    return QFileInfo::exists(path);
}

bool ExcerptFiles::Write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool ok = f.write(bytes) == bytes.size() && f.flush();
    f.close();
    return ok && f.error() == QFileDevice::NoError;
}

bool ExcerptFiles::Replace(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

void ExcerptFiles::Remove(const QString &path)
{
    QFile::remove(path);
}

bool ExcerptFiles::StartProgram(const QString &program, const QStringList &args, const QString &folder)
{
    return QProcess::startDetached(program, args, folder);
}

QString ExcerptFiles::TemporaryName(const QString &path)
{
    const QFileInfo fi(path);
    return fi.dir().filePath(QStringLiteral(".") + fi.fileName() + QStringLiteral(".part"));
}

QString ExcerptFiles::WriteAll(const QList<FileToWrite> &files)
{
    const auto removeTemps = [&] {
        for (const FileToWrite &f : files)
            Remove(TemporaryName(f.path));
    };
    for (const FileToWrite &f : files) {
        if (!Write(TemporaryName(f.path), f.bytes)) {
            removeTemps();
            return f.path;
        }
    }
    for (const FileToWrite &f : files) {
        if (!Replace(TemporaryName(f.path), f.path)) {
            removeTemps();
            return f.path;
        }
    }
    return {};
}

} // namespace mvx::excerpt
