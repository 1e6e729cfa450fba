// mvxbrx-skingen <manifest> <output root>: renders the skin pictures the manifest
// lists (templates and icons are read beside the manifest) into <output root>/<folder>/.
#include "SkinManifest.h"
#include "SkinRenderer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv); // fonts for the captions
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        fprintf(stderr, "usage: mvxbrx-skingen <manifest> <output root>\n");
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        fprintf(stderr, "mvxbrx-skingen: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    skingen::SkinManifest manifest;
    QString error;
    if (!skingen::ParseManifest(QString::fromUtf8(file.readAll()), &manifest, &error)) {
        fprintf(stderr, "%s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    skingen::SkinRenderer renderer(QFileInfo(args[1]).absolutePath(), args[2]);
    if (!renderer.RenderAll(manifest, &error)) {
        fprintf(stderr, "%s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    printf("mvxbrx-skingen: %d pictures written to %s\n", renderer.FilesWritten(), qPrintable(args[2]));
    return 0;
}
