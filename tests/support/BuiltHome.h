#pragma once
// The program home the build makes (MVX_HOME: skins, pages, the bundled sample lessons), used
// by the tests that open the real windows on it.
#include "core/AppState.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QString>

namespace testhome {

// The program runs from the built home, with its skins, as when started from there.
inline void UseBuiltHome()
{
    mvx::App().appPath = QStringLiteral(MVX_HOME);
    mvx::App().skinRoot = mvx::App().appPath + QStringLiteral("/ecminterface");
    QDir::setCurrent(mvx::App().appPath);
}

// The smallest bundled book of the home, so a run through a real lesson stays short.
inline QString SmallestBundledBook()
{
    QString best;
    qint64 bestSize = 0;
    QDirIterator it(QStringLiteral(MVX_HOME "/brxspecial"), {QStringLiteral("*.dat")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        if (best.isEmpty() || fi.size() < bestSize) {
            best = fi.filePath();
            bestSize = fi.size();
        }
    }
    return best;
}

} // namespace testhome
