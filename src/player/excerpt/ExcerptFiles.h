#pragma once
// The file side of excerpts and exports: folders, whole files under temporary names, the
// renames that put them in place, starting another program. The real one works on the
// disk; tests derive from it to make one step fail.
//
// WriteAll writes a set of files so that either all of them replace what was there or
// none does: each is written completely under a temporary name beside its target first,
// then they are renamed in the given order (the last one is the one readers look for).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace mvx::excerpt {

struct FileToWrite
{
    QString path;
    QByteArray bytes;
};

class ExcerptFiles
{
public:
    virtual ~ExcerptFiles() = default;
    virtual bool MakeFolder(const QString &path);
    [[nodiscard]] virtual bool Exists(const QString &path) const;
    // Writes bytes to path whole (path is a temporary name; nothing else reads it).
    virtual bool Write(const QString &path, const QByteArray &bytes);
    // Renames from over to (atomic on one file system).
    virtual bool Replace(const QString &from, const QString &to);
    virtual void Remove(const QString &path);
    virtual bool StartProgram(const QString &program, const QStringList &args, const QString &folder);

    // Returns the path that failed, or an empty text when every file is in place.
    QString WriteAll(const QList<FileToWrite> &files);
    // The temporary name of a target: a hidden name in the same folder.
    [[nodiscard]] static QString TemporaryName(const QString &path);
};

} // namespace mvx::excerpt
