#include "notedict/DrillBook.h"

#include "notedict/NoteSourceRef.h"
#include "core/AppState.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentenceWords.h"
#include "libs/sentra/SentraBook.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

std::optional<DrillRange> CheckDrillRange(const sentra::SentraBook &book, int first, int count, bool clipToLesson,
                                          QString *error)
{
    const auto refuse = [error]() -> std::optional<DrillRange> {
        if (error)
            *error = QStringLiteral("要练习的句子不在句子库的范围内。");
        return std::nullopt;
    };
    const int total = book.sentenceCount();
    if (count <= 0 || first < 0 || first >= total)
        return refuse();
    int end = first + count;
    if (clipToLesson) {
        const auto lesson = book.lessonInfo(book.lessonOfSentence(first));
        const int lessonEnd = lesson ? lesson->firstSentence + lesson->sentenceCount : total;
        end = std::min(end, std::min(lessonEnd, total));
    } else if (end > total) {
        return refuse();
    }
    return DrillRange{first, end - first};
}

QString DrillNotebookFile(const QString &noteName)
{
    QString name = QDir::fromNativeSeparators(QString(noteName).replace(u'\\', u'/'));
    if (!name.contains(u'/'))
        name = WorkingFiles::Notebook + u'/' + name;
    return name;
}

QString DrillWordSource(const QString &bookFile, int noInAll)
{
    NoteSourceRef ref;
    ref.tag = App().noteProductTag;
    ref.book = QFileInfo(bookFile).fileName();
    ref.first = ref.last = noInAll;
    return ref.toText();
}

QString BookOpenFailedText(const QString &bookFile)
{
    return QStringLiteral("无法打开句子库文件：%1").arg(bookFile);
}

QString CorrectSentence(sentra::SentraBook &book, int noInAll, const QString &english, const QString &chinese,
                        bool *changed)
{
    if (changed)
        *changed = false;
    const auto old = book.sentence(noInAll);
    if (!old)
        return QStringLiteral("这个句子已不在句子库中。");
    const QString e = english.trimmed();
    const QString c = chinese.trimmed();
    if (e == old->english && c == old->chinese)
        return {};
    if (e.isEmpty() || sentra::SentenceWords::words(e).isEmpty())
        return QStringLiteral("英文不能为空。");
    if (sentra::SentenceWords::words(e).size() > sentra::MaxWordsPerSentence)
        return QStringLiteral("一个句子最多只能有 %1 个单词，修改没有保存。").arg(sentra::MaxWordsPerSentence);
    if (!book.isWritable())
        return QStringLiteral("课文文件无法写入，修改没有保存。");
    const std::optional<QString> newEnglish = e != old->english ? std::optional<QString>(e) : std::nullopt;
    const std::optional<QString> newChinese = c != old->chinese ? std::optional<QString>(c) : std::nullopt;
    if (!book.modifySentence(noInAll, newEnglish, newChinese, std::nullopt))
        return QStringLiteral("修改没有保存：%1").arg(book.lastError());
    if (changed)
        *changed = true;
    return {};
}

} // namespace mvx
