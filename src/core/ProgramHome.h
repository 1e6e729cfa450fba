#pragma once
// The program's home: its working folder (AppPath, the current folder), holding the
// shipped data and the files the program writes (lesson books with their marks and
// comments, the article index, the notebook, the working files). A copy that may write
// its shipped data folder works there. One that may not (installed for all users, on a
// read-only medium) works in a per-user home, $XDG_DATA_HOME/mvxbrxspecial, seeded from
// the shipped data: the parts the program writes are copied, the rest is linked, so a
// newer installation's skins, help and dictionary show through. Each start adds what a
// newer installation brought (new books, and their lessons in the learner's article index)
// and never overwrites the learner's copies.
#include <QString>
#include <QStringList>

namespace mvx {

struct ProgramHomeChoice
{
    QString path;      // the home to run in
    bool perUser = false;
    QString notice;    // non-empty when the learner should know something went wrong
};

class ProgramHome final
{
public:
    // The home for a program whose shipped data lies in shippedData.
    [[nodiscard]] static ProgramHomeChoice Choose(const QString &shippedData);
    // $XDG_DATA_HOME/mvxbrxspecial (~/.local/share/mvxbrxspecial when unset).
    [[nodiscard]] static QString PerUserFolder();
    // A file can really be made in the folder (permissions, read-only mounts).
    [[nodiscard]] static bool IsWritableFolder(const QString &folder);
    // Top-level entries of the shipped data the program writes into: the article index,
    // the library folders it names, and the working folders that ship with content.
    [[nodiscard]] static QStringList WrittenParts(const QString &shippedData);
    // Brings home up to date with the shipped data (see above); false with *error set
    // when something could not be copied or linked.
    static bool Seed(const QString &shippedData, const QString &home, QString *error);
};

} // namespace mvx
