#include "player/excerpt/SentenceCards.h"

#include "core/CsvField.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"
#include "player/excerpt/ClipMaker.h"
#include "player/excerpt/ExcerptFiles.h"

#include <QDir>
#include <QFileInfo>

namespace mvx::excerpt {

namespace {

QString Html(const QString &text)
{
    QString t = text.toHtmlEscaped();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(u'\n', QStringLiteral("<br>"));
    return t.replace(u'\r', QStringLiteral("<br>"));
}

} // namespace

QList<int> SentenceCards::Select(const sentra::SentraBook &book, int lessonNo, const CardSelection &selection,
                                 QString *error)
{
    const std::optional<sentra::LessonInfo> info = book.lessonInfo(lessonNo);
    if (!info) {
        *error = QStringLiteral("书中没有第 %1 课（课号从 0 到 %2）").arg(lessonNo).arg(book.lessonCount() - 1);
        return {};
    }
    // The title line is not a card; the counter numbers the others.
    const int firstIndex = info->hasTitle ? 1 : 0;
    QList<int> out;
    if (selection.marked) {
        for (int i = firstIndex; i < info->sentenceCount; ++i) {
            const std::optional<sentra::SentenceData> s = book.sentence(info->firstSentence + i);
            if (s && s->degree == 1)
                out << info->firstSentence + i;
        }
        if (out.isEmpty())
            *error = QStringLiteral("这一课没有标记的句子");
        return out;
    }
    const int lowest = CounterNumber(firstIndex, info->hasTitle);
    const int highest = CounterNumber(info->sentenceCount - 1, info->hasTitle);
    if (selection.first > selection.last || selection.first < lowest || selection.last > highest) {
        *error = QStringLiteral("句子范围 %1-%2 不对：这一课的句子是第 %3 到第 %4 句")
                     .arg(selection.first)
                     .arg(selection.last)
                     .arg(lowest)
                     .arg(highest);
        return {};
    }
    for (int n = selection.first; n <= selection.last; ++n)
        out << info->firstSentence + (info->hasTitle ? n : n - 1);
    return out;
}

QString SentenceCards::CsvText(const QList<CardRow> &rows)
{
    QStringList lines{QStringLiteral("#separator:Comma"), QStringLiteral("#html:true"),
                      QStringLiteral("#columns:English,Chinese,Comment,Sound")};
    for (const CardRow &r : rows)
        lines << QStringList{CsvField(Html(r.english)), CsvField(Html(r.chinese)), CsvField(Html(r.comment)),
                             CsvField(QStringLiteral("[sound:%1]").arg(r.sound))}
                     .join(u',');
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString SentenceCards::CsvName(const QString &bookPath, int lessonNo)
{
    return QStringLiteral("%1-%2.csv").arg(QFileInfo(bookPath).completeBaseName()).arg(lessonNo);
}

int SentenceCards::Export(sentra::SentraBook &book, int lessonNo, const QList<int> &sentences, const QString &folder,
                          int padMs, ExcerptFiles &files, const std::atomic<bool> &cancel,
                          const std::function<void(int, int)> &progress, QString *error)
{
    error->clear();
    const bool folderExisted = QFileInfo(folder).isDir();
    QList<FileToWrite> done;
    QList<CardRow> rows;
    BookStretches source(book);
    const QDir dir(folder);
    // Temporary files written so far are removed again, and a folder made here too.
    const auto undo = [&] {
        for (const FileToWrite &f : done)
            files.Remove(ExcerptFiles::TemporaryName(f.path));
        if (!folderExisted)
            QDir().rmdir(folder);
        return -1;
    };
    if (!files.MakeFolder(folder)) {
        *error = QStringLiteral("无法建立文件夹 %1").arg(QDir::toNativeSeparators(folder));
        return undo();
    }
    for (int i = 0; i < sentences.size(); ++i) {
        if (cancel.load())
            return undo();
        const int n = sentences[i];
        const std::optional<sentra::SentenceData> s = book.sentence(n);
        const QString name = sentra::SentenceFileName(book.path(), n) + QStringLiteral(".mp3");
        const QString path = dir.filePath(name);
        Clip clip;
        QByteArray mp3;
        if (!s || !SentenceClip(source, lessonNo, {s->heardStartMs(), s->heardEndMs()}, padMs, clip, error)
            || !EncodeClip(clip, mp3, error)) {
            *error = QStringLiteral("%1 的声音没有做成（%2）").arg(QDir::toNativeSeparators(path), *error);
            return undo();
        }
        if (!files.Write(ExcerptFiles::TemporaryName(path), mp3)) {
            files.Remove(ExcerptFiles::TemporaryName(path));
            *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(path));
            return undo();
        }
        done << FileToWrite{path, {}};
        rows << CardRow{s->english, s->chinese, s->comment, name};
        if (progress)
            progress(i + 1, int(sentences.size()));
    }
    const QString csvPath = dir.filePath(CsvName(book.path(), lessonNo));
    if (cancel.load())
        return undo();
    if (!files.Write(ExcerptFiles::TemporaryName(csvPath), CsvText(rows).toUtf8())) {
        files.Remove(ExcerptFiles::TemporaryName(csvPath));
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(csvPath));
        return undo();
    }
    done << FileToWrite{csvPath, {}};
    for (const FileToWrite &f : done) {
        if (!files.Replace(ExcerptFiles::TemporaryName(f.path), f.path)) {
            *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(f.path));
            return undo();
        }
    }
    return int(rows.size());
}

} // namespace mvx::excerpt
