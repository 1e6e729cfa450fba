#include "player/events/PlayerNotebook.h"

#include "core/AppState.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/notedict/NoteSourceRef.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "libs/notedict/ui/NotebookForm.h"
#include "player/playback/PlayerOperations.h"

namespace mvx {

PlayerNotebook::PlayerNotebook(PlayerOperations &player, TextGetter bookFile, FlagGetter hasTitle)
    : m_player(player), m_bookFile(std::move(bookFile)), m_hasTitle(std::move(hasTitle))
{
}

const QString &PlayerNotebook::NoWordsMessage()
{
    static const QString text = QStringLiteral("本课的单词笔记本里还没有单词\r\n\r\n您可以鼠标右键点击句中单词\r\n\r\n"
                                               "在查出单词解释后，就能将单词存入笔记本中");
    return text;
}

QString PlayerNotebook::RangeText(const QString &tag, const QString &bookFile, int first, int last)
{
    NoteSourceRef range;
    range.tag = tag;
    range.book = FileNamePart(bookFile);
    range.first = first;
    range.last = last;
    if (!range.isValid())
        return {};
    // Always both numbers: the form that selects a lesson's words.
    return u'#' + range.tag + u'|' + range.book + u'|' + QString::number(first) + u'|' + QString::number(last);
}

QString PlayerNotebook::LessonRange() const
{
    const int count = m_player.SentenceCount();
    const int firstInLesson = m_hasTitle() ? 1 : 0;
    if (m_player.BookHandle() == -1 || count <= firstInLesson)
        return {};
    return RangeText(App().noteProductTag, m_bookFile(), m_player.GetSentenceNoInAll(firstInLesson),
                     m_player.GetSentenceNoInAll(count - 1));
}

QString PlayerNotebook::Open(QWidget *owner)
{
    if (m_open)
        return {};
    const QString range = LessonRange();
    if (range.isEmpty())
        return NoWordsMessage();
    const QString note = WorkingFiles::NotebookFile;
    const int left = GetUserInt(QString::fromLatin1(Key::NotebookFormLeft), 0);
    const int top = GetUserInt(QString::fromLatin1(Key::NotebookFormTop), 0);
    // Missing notebook files read as an empty notebook: silence would look broken.
    if (bcNote_LoadEx(owner, note, note + QStringLiteral(".lib"), App().appName, left, top, -1, -1, 0, range) == -1)
        return NoWordsMessage();
    m_open = true;
    bcNote_ShowButton(QStringLiteral("btMatchWithSrc"), 0);
    bcNote_ShowButton(QStringLiteral("Sort"), 0);
    bcNote_Show();
    return {};
}

void PlayerNotebook::Closed(int left, int top)
{
    m_open = false;
    SaveUserInt(QString::fromLatin1(Key::NotebookFormLeft), left);
    SaveUserInt(QString::fromLatin1(Key::NotebookFormTop), top);
}

void PlayerNotebook::Close(QWidget *owner)
{
    NotebookForm *form = CurrentNotebook();
    if (form && form->parentWidget() == owner && form->isVisible())
        form->close();
    m_open = false;
}

} // namespace mvx
