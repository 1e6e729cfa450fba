#pragma once
// Makes a lesson from a learner's sound file and texts and adds it to a sentence book
// (a new book, or the next lesson of an existing one), and optionally lists it in the
// article index. All input is read and checked first; the book is changed in one
// transaction and the index written last, and when any step fails the book and the
// index are left exactly as they were.
#include "core/InputError.h"
#include "libs/sentra/SentraTypes.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace mvx {

struct MakeBookOptions
{
    QString book;
    QString audio;
    QString lrc;         // sentence start times (and optionally Chinese lines)
    QString text;        // one English sentence per line; times from the pauses
    QString subtitles;   // SRT or WebVTT: one sentence per cue, with the cue's own times
    bool regroup = false; // subtitles: cues joined and split into whole sentences
    QString translation; // one Chinese line per sentence
    QString comments;    // one comment line per sentence
    bool titleLine = false;
    QString index;       // article index to add the lesson to
    QString category;    // "Top/Sub"
    QString title;       // the article's title in the index (and the lesson's, without a title line);
                         // with a title line it may be left empty: the index then shows the title line
};

// A lesson ready to be written: everything read and checked.
struct LessonPlan
{
    QString bookPath;
    sentra::LessonData lesson;
    qint64 durationMs = 0;
    int skippedCues = 0; // subtitle cues without words (sound labels, music)
};

// Told how far reading has come (0..100); returning false cancels. Called on the thread
// that prepares, so a window runs the preparation off its own thread.
using MakeBookProgress = std::function<bool(int percent)>;

struct MakeBookResult
{
    InputError error;
    int lessonNo = -1;
    int sentenceCount = 0;
    QString indexLine; // the FILE line added, when an index was given
    int skippedCues = 0;
    bool cancelled = false; // stopped by the progress callback; nothing was written
};

class BookMaker final
{
public:
    // Checks the options, reads every input file and builds the lesson.
    // A cancel through progress gives CancelledMessage.
    [[nodiscard]] static InputError prepare(const MakeBookOptions &options, LessonPlan &plan,
                                            const MakeBookProgress &progress = {});
    static inline const QString CancelledMessage = QStringLiteral("导入已取消，没有做任何改动");
    // Adds the planned lesson to the book and, when index is not empty, the article to the
    // index under category with the title. Nothing changes on failure.
    [[nodiscard]] static MakeBookResult commit(const LessonPlan &plan, const QString &index = {},
                                               const QString &category = {}, const QString &title = {});
    // prepare + commit; the index title is options.title, else the lesson's title.
    [[nodiscard]] static MakeBookResult run(const MakeBookOptions &options, const MakeBookProgress &progress = {});

    // One line per sentence of every lesson: lesson, number in lesson, start ms, end ms,
    // English, Chinese, tab-separated. Returns an error when the book cannot be opened.
    [[nodiscard]] static InputError list(const QString &bookPath, QStringList &out);

    // Word numbers (from 1, as the book counts them) covered by key-word marks.
    [[nodiscard]] static QList<int> keyWordNumbers(const QString &plain, const QList<struct KeyWordSpan> &spans);
};

} // namespace mvx
