#pragma once
// What the "添加课文" dialog does, without the dialog: the learner's choices (sound, text
// and its kind, translation, comments, title line, regrouping, category, title), the
// categories already in the index, the title proposed from the sound's name, where the
// new book goes, the preview rows, and after a successful import the key of the new
// article in the rebuilt tree. The importing itself is the book maker's (src/libs/bookmaker),
// the same the command line runs, so both refuse the same input with the same message.
#include "ArticleIndex.h"
#include "libs/bookmaker/BookMaker.h"

#include <QString>
#include <QStringList>

namespace mvx {

enum class LessonTextKind { Lrc, Subtitles, PlainText };

struct LessonChoices
{
    QString sound;
    QString text;
    LessonTextKind kind = LessonTextKind::Lrc;
    QString translation; // optional
    QString comments;    // optional
    bool titleLine = false;
    bool regroup = false; // subtitles only
    QString category;     // "上级/下级"
    QString title;
    friend bool operator==(const LessonChoices &, const LessonChoices &) = default;
};

// One row of the preview: sentence number, times and texts.
struct PreviewRow
{
    int number = 0;
    qint64 startMs = 0;
    qint64 endMs = 0;
    QString english;
    QString chinese;
    bool isTitle = false;
};

class LessonImport final
{
public:
    // A new top category keeps its books here, beside the index.
    static constexpr auto OwnFolder = "mylessons";

    // indexPath: the article index (its folder is the program home).
    explicit LessonImport(QString indexPath);

    // Category paths of the index, "上级/下级", in index order.
    [[nodiscard]] QStringList categories() const;
    [[nodiscard]] static LessonTextKind kindOf(const QString &textPath);
    // The sound file's name made readable: "my_lesson-01.mp3" -> "my lesson 01".
    [[nodiscard]] static QString proposeTitle(const QString &soundPath);
    // Empty when the choices can be imported, else what the learner still has to give.
    [[nodiscard]] QString missing(const LessonChoices &choices) const;

    // The book maker's options for the choices: a new book named after the title in the
    // category's library folder (a free name: an existing book is never touched).
    [[nodiscard]] MakeBookOptions options(const LessonChoices &choices) const;
    // The library folder (relative to the home) that holds the category's books.
    [[nodiscard]] QString folderFor(const QString &category) const;

    // Reads and checks everything; nothing is written. Call off the UI thread.
    [[nodiscard]] InputError prepare(const LessonChoices &choices, LessonPlan &plan,
                                     const MakeBookProgress &progress = {}) const;
    // Writes the prepared lesson (making the category's folder when needed) and lists it;
    // plan.bookPath becomes the book written.
    [[nodiscard]] MakeBookResult commit(const LessonChoices &choices, LessonPlan &plan) const;
    [[nodiscard]] static QList<PreviewRow> previewRows(const LessonPlan &plan, int max);

    // The tree key of the article an import added, or empty.
    [[nodiscard]] QString articleKey(const LessonPlan &plan, const MakeBookResult &result) const;

private:
    // The tree as the library window builds it from the index's plain file name.
    [[nodiscard]] ArticleTree tree() const;

    QString m_indexPath;
    QString m_home;
};

} // namespace mvx
