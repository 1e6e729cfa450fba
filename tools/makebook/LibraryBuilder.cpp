#include "LibraryBuilder.h"

#include "libs/bookmaker/IndexTree.h"
#include "ArticleSource.h"
#include "libs/bookmaker/IndexEditor.h"
#include "libs/bookmaker/BookMaker.h"
#include "libs/bookmaker/KeyWordMarks.h"
#include "QuizSource.h"
#include "SpeechSynth.h"
#include "core/Helpers.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <sndfile.h>

namespace mvx {

namespace {

// The lesson sound is kept as FLAC: exact samples, a third of the WAV's size.
bool writeFlac(const QString &path, const std::vector<short> &samples, int rate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const sf_count_t written = sf_write_short(f, samples.data(), sf_count_t(samples.size()));
    sf_close(f);
    return written == sf_count_t(samples.size());
}

bool moveReplacing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to) && !QFile::remove(to))
        return false;
    return QFile::rename(from, to);
}

} // namespace

QString LibraryBuilder::build(const LibraryBuildOptions &o)
{
    // Read and check every source before anything is spoken or written.
    QList<ArticleSource> articles;
    QList<QString> quizFiles;
    QSet<QString> books;
    for (const QString &path : o.articles) {
        ArticleSource a = ArticleSource::read(path);
        if (a.error.isError())
            return a.error.toString();
        if (books.contains(a.book))
            return QStringLiteral("%1: book %2 is used by two articles").arg(path, a.book);
        books.insert(a.book);
        const QString quiz = QDir(o.quizDir).filePath(QFileInfo(a.book).completeBaseName() + QStringLiteral(".txt"));
        const QuizSource q = QuizSource::read(quiz);
        if (q.error.isError())
            return q.error.toString();
        articles.append(a);
        quizFiles.append(quiz);
    }

    SpeechSynth synth;
    QString error;
    if (!synth.init(o.voice, o.wordsPerMinute, &error))
        return error;
    const int rate = synth.sampleRate();

    QDir home(o.home);
    if (!home.mkpath(QStringLiteral(".")))
        return QStringLiteral("%1: cannot create the program home").arg(o.home);
    QTemporaryDir scratch(home.filePath(QStringLiteral(".library-build-XXXXXX")));
    if (!scratch.isValid())
        return QStringLiteral("%1: cannot create a scratch folder").arg(o.home);
    QDir work(scratch.path());
    work.mkpath(QLatin1String(BookFolder));
    work.mkpath(QLatin1String(QuizFolder));
    const QString index = work.filePath(QLatin1String(IndexName));

    QStringList keyWords;
    for (int n = 0; n < articles.size(); ++n) {
        const ArticleSource &a = articles[n];
        LessonPlan plan;
        plan.bookPath = work.filePath(QLatin1String(BookFolder) + QLatin1Char('/') + a.book);
        std::vector<short> sound(size_t(rate) * size_t(o.leadMs) / 1000, 0);
        for (int i = 0; i < a.sentences.size(); ++i) {
            const ArticleSentence &s = a.sentences[i];
            const MarkedText marked = StripKeyWordMarks(s.english);
            const std::vector<short> speech = synth.speak(marked.plain);
            if (speech.empty())
                return QStringLiteral("%1:%2: espeak-ng gave no speech").arg(o.articles[n]).arg(s.line);
            sentra::SentenceData d;
            d.startMs = i == 0 ? 0 : int(qint64(sound.size()) * 1000 / rate);
            sound.insert(sound.end(), speech.begin(), speech.end());
            sound.insert(sound.end(), size_t(rate) * size_t(o.pauseMs) / 1000, 0);
            d.endMs = int(qint64(sound.size()) * 1000 / rate);
            d.english = marked.plain;
            d.keywords = BookMaker::keyWordNumbers(marked.plain, marked.keyWords);
            d.chinese = s.chinese;
            d.comment = s.note;
            d.isTitle = i == 0;
            plan.lesson.sentences.append(d);
            for (const KeyWordSpan &k : marked.keyWords)
                keyWords.append(marked.plain.mid(k.start, k.length).toLower());
        }
        plan.lesson.title = plan.lesson.sentences.first().english;
        const QString flac = work.filePath(QStringLiteral("sound.flac"));
        if (!writeFlac(flac, sound, rate))
            return QStringLiteral("%1: cannot write the lesson sound").arg(flac);
        QFile flacFile(flac);
        if (!flacFile.open(QIODevice::ReadOnly))
            return QStringLiteral("%1: cannot read the lesson sound").arg(flac);
        plan.lesson.sound = flacFile.readAll();
        flacFile.close();
        QFile::remove(flac);
        plan.durationMs = qint64(sound.size()) * 1000 / rate;

        const MakeBookResult r = BookMaker::commit(plan, index, a.category, plan.lesson.title);
        if (r.error.isError())
            return QStringLiteral("%1: %2").arg(o.articles[n], r.error.toString());
        const QString quizTarget = work.filePath(QLatin1String(QuizFolder) + QLatin1Char('/') + QFileInfo(quizFiles[n]).fileName());
        if (!QFile::copy(quizFiles[n], quizTarget))
            return QStringLiteral("%1: cannot copy the quiz").arg(quizFiles[n]);
    }

    // Articles the learner added to the home's index stay listed after a rebuild.
    struct Carried
    {
        QString category, title, book, fourth;
        int lessonNo = 0;
        int line = 0;
    };
    QList<Carried> carried;
    QStringList oldLines;
    const QString homeIndex = home.filePath(QLatin1String(IndexName));
    if (QFileInfo::exists(homeIndex)) {
        oldLines = ReadTextFile(homeIndex).lines;
        const IndexTree old(oldLines);
        for (int i = 0; i < old.nodes().size(); ++i) {
            const IndexNode &n = old.nodes()[i];
            if (!n.isArticle || (n.folder == QLatin1String(BookFolder) && books.contains(n.bookFile)))
                continue;
            carried.append({old.categoryPathOf(i).join(QLatin1Char('/')), n.name,
                            QDir::cleanPath(home.absoluteFilePath(ToFsPath(n.folder) + QLatin1Char('/') + n.bookFile)),
                            n.fourth, n.lessonNo, n.line});
        }
    }

    // Everything is made: move it into the home.
    home.mkpath(QLatin1String(BookFolder));
    home.mkpath(QLatin1String(QuizFolder));
    for (int n = 0; n < articles.size(); ++n) {
        const QString book = QLatin1String(BookFolder) + QLatin1Char('/') + articles[n].book;
        const QString quiz = QLatin1String(QuizFolder) + QLatin1Char('/') + QFileInfo(quizFiles[n]).fileName();
        if (!moveReplacing(work.filePath(book), home.filePath(book)) ||
            !moveReplacing(work.filePath(quiz), home.filePath(quiz)))
            return QStringLiteral("%1: cannot move %2 into place").arg(o.home, book);
    }
    if (!carried.isEmpty()) {
        // Kept whole until every carried article is listed again.
        const QString kept = homeIndex + QStringLiteral(".old");
        if (!WriteTextFile(kept, oldLines))
            return QStringLiteral("%1: cannot keep the learner's index").arg(kept);
    }
    if (!moveReplacing(index, homeIndex))
        return QStringLiteral("%1: cannot move the index into place").arg(o.home);
    if (!carried.isEmpty()) {
        IndexEditor editor;
        QStringList lost;
        if (editor.load(homeIndex).isError())
            return QStringLiteral("%1: cannot read the new index").arg(homeIndex);
        for (const Carried &c : carried)
            if (editor.addArticle(c.category, c.title, c.book, c.lessonNo, c.fourth).isError())
                lost << oldLines.value(c.line);
        if (editor.save().isError())
            return QStringLiteral("%1: cannot write the index; the learner's index is in %1.old").arg(homeIndex);
        if (lost.isEmpty())
            QFile::remove(homeIndex + QStringLiteral(".old"));
        else
            std::fprintf(stderr, "mvxbrx-buildlibrary: %s: could not list again (kept in %s.old): %s\n",
                         homeIndex.toUtf8().constData(), homeIndex.toUtf8().constData(),
                         lost.join(QStringLiteral("; ")).toUtf8().constData());
    }

    if (!o.wordList.isEmpty()) {
        keyWords.removeDuplicates();
        keyWords.sort();
        if (!WriteTextFile(o.wordList, keyWords))
            return QStringLiteral("%1: cannot write the word list").arg(o.wordList);
    }
    return {};
}

} // namespace mvx
