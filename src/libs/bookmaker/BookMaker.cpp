#include "BookMaker.h"

#include "AudioDecoder.h"
#include "IndexEditor.h"
#include "KeyWordMarks.h"
#include "LrcParser.h"
#include "libs/sentra/SilenceDetector.h"
#include "SubtitleParser.h"
#include "SubtitleSentences.h"
#include "core/TextCodec.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <cstdio>

namespace mvx {

namespace {

// A sentence as read from the script, before times are known for text scripts.
struct ScriptSentence
{
    QString english; // with key-word marks
    QString chinese;
    int line = 0;
    qint64 startMs = -1;
    qint64 endMs = -1;
};

// Learners' texts come as UTF-8, GBK, or UTF-16 from some Windows editors.
InputError readLines(const QString &path, QStringList &lines)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {path, 0, QStringLiteral("文件不存在")};
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {path, 0, QStringLiteral("无法读取文件")};
    const QByteArray bytes = file.readAll();
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decode(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = decode(bytes.mid(2));
    } else {
        text = DecodeText(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {};
}

// One line per sentence; trailing empty lines are not counted.
InputError readPerSentence(const QString &path, int sentences, const QString &what, QStringList &out)
{
    if (InputError e = readLines(path, out); e.isError())
        return e;
    while (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    if (out.size() > sentences)
        return {path, sentences + 1,
                QStringLiteral("%1有 %2 行，比课文的 %3 句多（每句一行，空行表示没有）")
                    .arg(what)
                    .arg(out.size())
                    .arg(sentences)};
    if (out.size() < sentences)
        return {path, int(out.size()),
                QStringLiteral("%1只有 %2 行，课文有 %3 句（每句一行，空行表示没有）")
                    .arg(what)
                    .arg(out.size())
                    .arg(sentences)};
    for (QString &l : out)
        l = l.trimmed();
    return {};
}

QString formatMs(qint64 ms)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace

QList<int> BookMaker::keyWordNumbers(const QString &plain, const QList<KeyWordSpan> &spans)
{
    QList<int> numbers;
    int pos = 0;
    int wordNo = 0;
    for (const auto &piece : sentra::SentenceWords::split(plain)) {
        const int start = pos;
        pos += int(piece.text.size());
        if (!piece.isWord)
            continue;
        ++wordNo;
        for (const KeyWordSpan &s : spans) {
            if (start < s.start + s.length && s.start < pos) {
                numbers.append(wordNo);
                break;
            }
        }
    }
    return numbers;
}

InputError BookMaker::prepare(const MakeBookOptions &o, LessonPlan &plan, const MakeBookProgress &progress)
{
    plan = {};
    if (o.book.isEmpty())
        return {{}, 0, QStringLiteral("缺少 --book（要写入的句子书）")};
    if (o.audio.isEmpty())
        return {{}, 0, QStringLiteral("缺少 --audio（课文的声音文件）")};
    if (int(!o.lrc.isEmpty()) + int(!o.text.isEmpty()) + int(!o.subtitles.isEmpty()) != 1)
        return {{}, 0, QStringLiteral("请给出 --lrc、--subtitles 或 --text 中的一个")};
    if (o.regroup && o.subtitles.isEmpty())
        return {{}, 0, QStringLiteral("--regroup 只能和 --subtitles 一起使用")};
    if (!o.index.isEmpty() && (o.category.trimmed().isEmpty() || (o.title.trimmed().isEmpty() && !o.titleLine)))
        return {{}, 0, QStringLiteral("使用 --index 时必须同时给出 --category 和 --title（有 --title-line 时可省略 --title）")};
    if (o.index.isEmpty() && !o.category.isEmpty())
        return {{}, 0, QStringLiteral("--category 只能和 --index 一起使用")};

    // Reading the script first refuses a bad one before the long decoding.
    const QString script = !o.lrc.isEmpty() ? o.lrc : !o.subtitles.isEmpty() ? o.subtitles : o.text;
    QStringList lines;
    if (InputError e = readLines(script, lines); e.isError())
        return e;
    SubtitleResult subtitles;
    LrcResult lrc;
    if (!o.subtitles.isEmpty()) {
        subtitles = SubtitleParser::parse(lines, o.subtitles);
        if (subtitles.error.isError())
            return subtitles.error;
    } else if (!o.lrc.isEmpty()) {
        lrc = LrcParser::parse(lines, o.lrc);
        if (lrc.error.isError())
            return lrc.error;
    }

    const DecodedAudio audio = AudioDecoder::decode(o.audio, [&progress](int percent) {
        return !progress || progress(percent * 95 / 100); // the rest is building the lesson
    });
    if (audio.cancelled)
        return {{}, 0, CancelledMessage};
    if (!audio.error.isEmpty())
        return {o.audio, 0, audio.error};
    QFile soundFile(o.audio);
    if (!soundFile.open(QIODevice::ReadOnly))
        return {o.audio, 0, QStringLiteral("无法读取声音文件")};
    plan.lesson.sound = soundFile.readAll();
    plan.durationMs = audio.durationMs;

    QList<ScriptSentence> sentences;
    if (!o.subtitles.isEmpty()) {
        for (const SubtitleCue &c : subtitles.cues) {
            if (c.startMs >= audio.durationMs)
                return {o.subtitles, c.line,
                        QStringLiteral("开始时间 %1 超出了声音的长度 %2（%3）")
                            .arg(formatMs(c.startMs), formatMs(audio.durationMs), o.audio)};
            // Decoders differ by a few frames at the end; a cue that runs on longer is a mistake.
            if (c.endMs > audio.durationMs + SubtitleParser::MaxOverlapMs)
                return {o.subtitles, c.line,
                        QStringLiteral("结束时间 %1 超出了声音的长度 %2（%3）")
                            .arg(formatMs(c.endMs), formatMs(audio.durationMs), o.audio)};
        }
        const QList<TimedSentence> timed =
            o.regroup ? SubtitleSentences::regroup(subtitles.cues,
                                                   SilenceDetector::findPauses(audio.frameEnergies, audio.frameMs))
                      : SubtitleSentences::onePerCue(subtitles.cues);
        if (timed.isEmpty())
            return {o.subtitles, 0, QStringLiteral("字幕里没有英文句子")};
        for (const TimedSentence &t : timed)
            sentences.append({t.english, t.chinese, t.line, t.startMs, qMin(t.endMs, audio.durationMs)});
        plan.skippedCues = subtitles.skipped;
    } else if (!o.lrc.isEmpty()) {
        for (const LrcSentence &s : lrc.sentences)
            if (s.startMs >= audio.durationMs)
                return {o.lrc, s.line,
                        QStringLiteral("开始时间 %1 超出了声音的长度 %2（%3）")
                            .arg(formatMs(s.startMs), formatMs(audio.durationMs), o.audio)};
        for (int i = 0; i < lrc.sentences.size(); ++i) {
            const LrcSentence &s = lrc.sentences[i];
            const qint64 end = s.endMs >= 0 ? s.endMs
                                            : (i + 1 < lrc.sentences.size() ? lrc.sentences[i + 1].startMs
                                                                            : audio.durationMs);
            if (end > audio.durationMs)
                return {o.lrc, s.endLine,
                        QStringLiteral("结束时间 %1 超出了声音的长度 %2（%3）")
                            .arg(formatMs(end), formatMs(audio.durationMs), o.audio)};
            sentences.append({s.english, s.chinese, s.line, s.startMs, end});
        }
    } else {
        for (int i = 0; i < lines.size(); ++i)
            if (!lines[i].trimmed().isEmpty())
                sentences.append({lines[i].trimmed(), {}, i + 1});
        if (sentences.isEmpty())
            return {o.text, 0, QStringLiteral("文本里没有句子")};
    }
    if (o.titleLine && sentences.size() < 2)
        return {script, sentences.value(0).line, QStringLiteral("有 --title-line 时，标题行之后至少还要有一句")};
    if (sentences.size() > sentra::MaxSentencesPerLesson)
        return {script, sentences[sentra::MaxSentencesPerLesson].line,
                QStringLiteral("一课最多 %1 句，这里有 %2 句").arg(sentra::MaxSentencesPerLesson).arg(sentences.size())};

    const int count = int(sentences.size());
    QStringList chinese;
    QStringList comments;
    if (!o.translation.isEmpty())
        if (InputError e = readPerSentence(o.translation, count, QStringLiteral("翻译文件"), chinese); e.isError())
            return e;
    if (!o.comments.isEmpty())
        if (InputError e = readPerSentence(o.comments, count, QStringLiteral("注释文件"), comments); e.isError())
            return e;

    if (!o.text.isEmpty()) {
        const SilenceResult times = SilenceDetector::split(audio.frameEnergies, audio.frameMs, audio.durationMs, count);
        if (!times.error.isEmpty())
            return {o.audio, 0, times.error + QStringLiteral("（%1 有 %2 句）").arg(o.text).arg(count)};
        for (int i = 0; i < count; ++i) {
            sentences[i].startMs = times.sentences[i].startMs;
            sentences[i].endMs = times.sentences[i].endMs;
        }
    }

    for (int i = 0; i < count; ++i) {
        const ScriptSentence &s = sentences[i];
        const MarkedText marked = StripKeyWordMarks(s.english.simplified());
        if (!marked.error.isEmpty())
            return {script, s.line, marked.error};
        sentra::SentenceData d;
        d.startMs = int(s.startMs);
        d.endMs = int(s.endMs);
        d.english = marked.plain;
        d.keywords = keyWordNumbers(marked.plain, marked.keyWords);
        d.chinese = o.translation.isEmpty() ? s.chinese : chinese[i];
        d.comment = comments.value(i);
        d.isTitle = o.titleLine && i == 0;
        plan.lesson.sentences.append(d);
    }
    if (o.titleLine)
        plan.lesson.title = plan.lesson.sentences.first().english;
    else if (!o.title.trimmed().isEmpty())
        plan.lesson.title = o.title.trimmed();
    else
        plan.lesson.title = QFileInfo(o.audio).completeBaseName();
    plan.bookPath = o.book;
    if (progress && !progress(100))
        return {{}, 0, CancelledMessage};
    return {};
}

MakeBookResult BookMaker::commit(const LessonPlan &plan, const QString &index, const QString &category,
                                 const QString &title)
{
    MakeBookResult result;
    auto fail = [&result](const QString &file, const QString &message) {
        result.error = {file, 0, message};
        return result;
    };
    const QFileInfo bookInfo(plan.bookPath);
    if (!bookInfo.absoluteDir().exists())
        return fail(plan.bookPath, QStringLiteral("书所在的文件夹不存在"));
    const bool existed = bookInfo.exists();
    result.lessonNo = 0;
    if (existed) {
        sentra::SentraBook reader;
        if (!reader.open(plan.bookPath, false))
            return fail(plan.bookPath, QStringLiteral("无法打开句子书：%1").arg(reader.lastError()));
        result.lessonNo = reader.lessonCount();
    }

    IndexEditor editor;
    if (!index.isEmpty()) {
        if (InputError e = editor.load(index); e.isError()) {
            result.error = e;
            return result;
        }
        if (InputError e = editor.addArticle(category, title, plan.bookPath, result.lessonNo); e.isError()) {
            result.error = e;
            return result;
        }
        const QFileInfo indexInfo(index);
        if (!QFileInfo(indexInfo.absolutePath()).isWritable() || (indexInfo.exists() && !indexInfo.isWritable()))
            return fail(index, QStringLiteral("节目索引文件不能写入"));
    }

    // A copy of the book, kept until the index is written, so a failure there can put it back.
    QTemporaryFile backup(bookInfo.absolutePath() + QStringLiteral("/.makebook-XXXXXX"));
    if (existed && !index.isEmpty()) {
        QFile original(plan.bookPath);
        if (!backup.open() || !original.open(QIODevice::ReadOnly))
            return fail(plan.bookPath, QStringLiteral("无法为句子书做备份"));
        while (!original.atEnd()) {
            const QByteArray chunk = original.read(1 << 20);
            if (chunk.isEmpty() || backup.write(chunk) != chunk.size())
                return fail(plan.bookPath, QStringLiteral("无法为句子书做备份（磁盘已满？）"));
        }
        if (!backup.flush())
            return fail(plan.bookPath, QStringLiteral("无法为句子书做备份（磁盘已满？）"));
        backup.close();
    }

    sentra::SentraBook book;
    if (existed ? !book.open(plan.bookPath, true) : !book.create(plan.bookPath))
        return fail(plan.bookPath, QStringLiteral("无法写入句子书：%1").arg(book.lastError()));
    const bool titled = existed || book.setBookTitle(plan.lesson.title);
    const int added = titled ? book.addLesson(plan.lesson) : -1;
    const QString bookError = book.lastError();
    book.close();
    if (added < 0) {
        if (!existed)
            QFile::remove(plan.bookPath);
        return fail(plan.bookPath, QStringLiteral("无法把课文写入句子书：%1").arg(bookError));
    }
    if (added != result.lessonNo && !index.isEmpty()) {
        // Another program added a lesson in the meantime: list the number the lesson got.
        editor.load(index);
        if (InputError e = editor.addArticle(category, title, plan.bookPath, added); e.isError()) {
            result.error = e;
            return result;
        }
    }
    result.lessonNo = added;
    if (!index.isEmpty()) {
        if (InputError e = editor.save(); e.isError()) {
            if (!existed) {
                QFile::remove(plan.bookPath);
            } else if (std::rename(QFile::encodeName(backup.fileName()).constData(),
                                   QFile::encodeName(plan.bookPath).constData()) == 0) {
                backup.setAutoRemove(false); // it is the book again
            } else {
                backup.setAutoRemove(false);
                e.message += QStringLiteral("；句子书的原样备份在 %1").arg(backup.fileName());
            }
            result.error = e;
            return result;
        }
        result.indexLine = editor.lines().at(editor.articleLine());
    }
    result.sentenceCount = int(plan.lesson.sentences.size());
    result.skippedCues = plan.skippedCues;
    return result;
}

MakeBookResult BookMaker::run(const MakeBookOptions &options, const MakeBookProgress &progress)
{
    LessonPlan plan;
    if (InputError e = prepare(options, plan, progress); e.isError()) {
        MakeBookResult r;
        r.error = e;
        r.cancelled = e.message == CancelledMessage && e.file.isEmpty();
        return r;
    }
    // Without --title the index shows the lesson's title line.
    const QString title = options.title.trimmed().isEmpty() ? plan.lesson.title : options.title.trimmed();
    return commit(plan, options.index, options.category, title);
}

InputError BookMaker::list(const QString &bookPath, QStringList &out)
{
    out.clear();
    if (!QFileInfo::exists(bookPath))
        return {bookPath, 0, QStringLiteral("句子书不存在")};
    sentra::SentraBook book;
    if (!book.open(bookPath, false))
        return {bookPath, 0, QStringLiteral("无法打开句子书：%1").arg(book.lastError())};
    auto flat = [](QString t) {
        t.replace(QLatin1Char('\t'), QLatin1Char(' '));
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return t;
    };
    for (int l = 0; l < book.lessonCount(); ++l) {
        const auto lesson = book.readLesson(l);
        if (!lesson)
            return {bookPath, 0, QStringLiteral("第 %1 课无法读取：%2").arg(l).arg(book.lastError())};
        for (int i = 0; i < lesson->sentences.size(); ++i) {
            const auto &s = lesson->sentences[i];
            out << QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7\t%8")
                       .arg(l)
                       .arg(i)
                       .arg(s.startMs)
                       .arg(s.endMs)
                       .arg(flat(s.english), flat(s.chinese))
                       .arg(s.heardStartMs())
                       .arg(s.heardEndMs());
        }
    }
    return {};
}

} // namespace mvx
