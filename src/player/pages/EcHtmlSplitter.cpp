#include "player/pages/EcHtmlSplitter.h"

#include "core/TextCodec.h"
#include "core/UserSettings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace mvx::pages {

namespace {

const QString Crlf = QStringLiteral("\r\n");

QString tableStyle(const HalfFont &font)
{
    return QStringLiteral("style=\" FONT-SIZE: ") + RealToText(font.size) + QStringLiteral("pt; FONT-FAMILY: ")
           + font.family + QStringLiteral("\">");
}

bool writeWhole(const QString &path, const QStringList &lines, QString *error)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error) {
            *error = QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), out.errorString());
        }
        return false;
    }
    QString text;
    for (const QString &l : lines) {
        text += l;
        text += Crlf;
    }
    out.write(text.toUtf8());
    if (!out.commit()) {
        if (error) {
            *error = QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), out.errorString());
        }
        return false;
    }
    return true;
}

} // namespace

EcHtmlSplitter::Halves EcHtmlSplitter::SplitLines(const QStringList &lines, const HalfFont &english,
                                                  const HalfFont &chinese)
{
    static const QString tableOpening = QStringLiteral("<table border=\"0\" width=\"100%\" id=\"table1\"  ");
    Halves h;
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("<label id=stc"))) {
            h.chinese.append(QStringLiteral("<tr><td>") + line);
        } else if (line.contains(QLatin1String("<label id=ste"))) {
            h.english.append(line + QStringLiteral("</td></tr>"));
        } else if (line.startsWith(QLatin1String("<table"))) {
            h.english.append(tableOpening + tableStyle(english));
            h.chinese.append(tableOpening + tableStyle(chinese));
        } else {
            h.english.append(line);
            h.chinese.append(line);
        }
    }
    return h;
}

bool EcHtmlSplitter::SplitFile(const QString &mixedFile, const QString &englishFile, const QString &chineseFile,
                               const HalfFont &english, const HalfFont &chinese, QString *error)
{
    auto fail = [&](const QString &text) {
        QFile::remove(englishFile);
        QFile::remove(chineseFile);
        if (error) {
            *error = text;
        }
        return false;
    };
    QFile in(mixedFile);
    if (!in.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("无法读取 %1：%2").arg(QDir::toNativeSeparators(mixedFile), in.errorString()));
    }
    const QString text = DecodeText(in.readAll());
    in.close();
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast(); // the last line end ends no further line
    }
    for (QString &l : lines) {
        if (l.endsWith(QLatin1Char('\r'))) {
            l.chop(1);
        }
        const int nul = l.indexOf(QChar(0));
        if (nul >= 0) {
            l.truncate(nul);
        }
    }
    const Halves h = SplitLines(lines, english, chinese);
    QString why;
    if (!writeWhole(englishFile, h.english, &why) || !writeWhole(chineseFile, h.chinese, &why)) {
        return fail(why);
    }
    return true;
}

} // namespace mvx::pages
