#pragma once
// The skin manifest: one line per picture or button, plus the styles of the looks.
//
//   style  <style> <look> KEY=value ...          look: normal, -a, -p or -d
//   button <folder> <name> <template> <w> <h> [key=value ...]
//          -> name, name-a, name-p, name-d with the style's four looks
//   picture <folder> <name> <template> <w> <h> [key=value ...]
//          -> name, with the style's normal look when a style is given
//
// Values run to the end of the line for the last key only when quoted with "...";
// otherwise a value ends at the next space. '#' starts a comment line. Sizes are in
// logical pixels. Errors name the line.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace skingen {

using Vars = QMap<QString, QString>;

struct SkinItem
{
    int line = 0;
    bool isButton = false;
    QString folder;
    QString name;
    QString templateName;
    int width = 0;
    int height = 0;
    Vars params; // keys upper-cased
};

struct SkinManifest
{
    QMap<QString, QMap<QString, Vars>> styles; // style -> look -> vars
    QVector<SkinItem> items;
};

// Parses the text; on failure returns false and sets *error ("line N: ...").
bool ParseManifest(const QString &text, SkinManifest *manifest, QString *error);

// The looks a button gets, in file-name order: "" (normal), "-a", "-p", "-d".
const QStringList &ButtonLooks();

} // namespace skingen
