#include "player/excerpt/LessonExport.h"

#include "libs/sentra/SentraBook.h"
#include "player/excerpt/ExcerptFiles.h"
#include "player/excerpt/Excerpts.h"

#include <QDir>
#include <QFileInfo>

namespace mvx::excerpt {

namespace {

QString OneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ').replace(u'\r', u' ');
    return text.trimmed();
}

} // namespace

QString LessonExport::LrcTime(qint64 ms)
{
    const qint64 cs = (std::max<qint64>(0, ms) + 5) / 10;
    return QStringLiteral("[%1:%2.%3]")
        .arg(cs / 6000, 2, 10, QLatin1Char('0'))
        .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(cs % 100, 2, 10, QLatin1Char('0'));
}

QString LessonExport::LrcText(const QString &title, const QList<sentra::SentenceData> &sentences, qint64 soundMs)
{
    QStringList lines{QStringLiteral("[ti:%1]").arg(OneLine(title))};
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        const sentra::SentenceData &s = sentences[i];
        const QString start = LrcTime(s.heardStartMs());
        lines << start + OneLine(s.english);
        if (!OneLine(s.chinese).isEmpty())
            lines << start + OneLine(s.chinese);
        // A sentence that stops before the next one (or before the sound's end) says so.
        const qint64 next = i + 1 < sentences.size() ? sentences[i + 1].heardStartMs() : soundMs;
        if (LrcTime(s.heardEndMs()) != LrcTime(next) && s.heardEndMs() < next)
            lines << LrcTime(s.heardEndMs());
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString LessonExport::BaseName(const QString &bookPath, int lessonNo, const QString &title)
{
    QString t = OneLine(title);
    t.replace(u'/', u'-').replace(u'\\', u'-');
    if (Excerpts::IsValidName(t) && !t.startsWith(u'.'))
        return t;
    return QStringLiteral("%1-%2").arg(QFileInfo(bookPath).completeBaseName()).arg(lessonNo);
}

QString LessonExport::Export(sentra::SentraBook &book, int lessonNo, const QString &folder, ExcerptFiles &files,
                             QString *error, const std::atomic<bool> *cancel)
{
    const std::optional<sentra::LessonData> lesson = book.readLesson(lessonNo);
    BookStretches source(book);
    const qint64 soundMs = lesson ? source.SoundMs(lessonNo) : -1;
    if (!lesson || soundMs <= 0) {
        *error = QStringLiteral("这一课无法读出：%1").arg(book.lastError());
        return {};
    }
    const QString base = QDir(folder).filePath(BaseName(book.path(), lessonNo, lesson->title));
    const QString mp3Path = base + QStringLiteral(".mp3");
    Clip clip;
    QByteArray mp3;
    if (!StretchClip(source, lessonNo, {0, soundMs}, clip, error) || !EncodeClip(clip, mp3, error)) {
        *error = QStringLiteral("%1 的声音没有做成（%2）").arg(QDir::toNativeSeparators(mp3Path), *error);
        return {};
    }
    if (cancel && *cancel) {
        error->clear();
        return {};
    }
    if (!files.MakeFolder(folder)) {
        *error = QStringLiteral("无法建立文件夹 %1").arg(QDir::toNativeSeparators(folder));
        return {};
    }
    const QString failed = files.WriteAll(
        {{mp3Path, mp3}, {base + QStringLiteral(".lrc"), LrcText(lesson->title, lesson->sentences, soundMs).toUtf8()}});
    if (!failed.isEmpty()) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(failed));
        return {};
    }
    return mp3Path;
}

} // namespace mvx::excerpt
