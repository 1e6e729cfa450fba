#include "notedict/BrowseModel.h"

#include "notedict/DrillBook.h"
#include "notedict/NotebookStore.h"
#include "core/AppState.h"
#include "libs/sentra/SentraBook.h"

#include <QFileInfo>

namespace mvx {

bool BrowseModel::Load(const QString &bookFile, int first, int count, const QString &noteFile, QString *error)
{
    m_bookFile = bookFile;
    m_sentences.clear();
    m_words.clear();
    sentra::SentraBook book;
    if (!book.open(bookFile, false)) {
        if (error)
            *error = BookOpenFailedText(bookFile);
        return false;
    }
    const auto range = CheckDrillRange(book, first, count, true, error);
    if (!range)
        return false;
    for (int no = range->first; no < range->first + range->count; ++no)
        if (const auto s = book.sentence(no))
            m_sentences.append(BrowseSentence{no, s->isTitle, s->english, s->chinese, s->comment});
    if (!QFileInfo::exists(noteFile))
        return true;
    NotebookStore store;
    if (!store.open(noteFile, noteFile + QStringLiteral(".lib"), false))
        return true;
    NoteSourceRef lessonRange;
    lessonRange.tag = App().noteProductTag;
    lessonRange.book = QFileInfo(bookFile).fileName();
    lessonRange.first = range->first;
    lessonRange.last = range->first + range->count - 1;
    for (const NoteWord &w : store.words(lessonRange))
        m_words.append(BrowseWord{w.word, w.meaning, w.sourceNumber()});
    return true;
}

void BrowseModel::SetTexts(int noInAll, const QString &english, const QString &chinese)
{
    for (BrowseSentence &s : m_sentences)
        if (s.noInAll == noInAll) {
            s.english = english;
            s.chinese = chinese;
        }
}

} // namespace mvx
