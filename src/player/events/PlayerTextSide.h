#pragma once
// Everything the player window needs for its text side's events, built over the real
// lesson pages, view, book, dictionary and sound centre: the page-event handling (bound as
// the pages' sink destination), the marks and display switches, the player's text keys by
// feature name, and the dictionary window's 2259 / 2263 reports.
//
// Usage by the window: create after the playback logic; pages.SetEventDestination(
// &Dispatcher(), player); route the key table's feature names to RunFeature(); answer 2259 and
// 2263 with MakeNewwordNote() / SaveWordMean().
#include "player/events/CommentEditor.h"
#include "player/events/DisplayMarks.h"
#include "player/events/LessonPagesEventSide.h"
#include "player/events/NoteDictDictionary.h"
#include "player/events/PageEventDispatcher.h"
#include "player/events/PageEventHandler.h"
#include "player/events/PlayerNotebook.h"
#include "player/events/SearchAndPrint.h"
#include "player/events/SentraBookMarks.h"
#include "player/events/SoundCentreWordSound.h"
#include "player/events/ThinkMode.h"

#include <functional>

class QWidget;

namespace mvx {

class LessonReloader;

class PlayerTextSide final
{
public:
    // window: the player window (owner of the dictionary pop-up); view: the page view;
    // bookFile: the open book's file name (for the notebook's source references).
    PlayerTextSide(PlayerOperations &player, pages::LessonPages &pages, pages::PageHost &host, QWidget *window,
                   QWidget *view, LessonReloader &reloader, ThinkingButtons &buttons,
                   std::function<QString()> bookFile);

    [[nodiscard]] PageEventDispatcher &Dispatcher() { return m_dispatcher; }
    [[nodiscard]] PageEventHandler &Events() { return m_handler; }
    [[nodiscard]] DisplayMarks &Marks() { return m_marks; }
    [[nodiscard]] ThinkMode &Think() { return m_think; }
    [[nodiscard]] SearchAndPrint &Tools() { return m_tools; }

    // The key table's requests: "ShowAllMarkedSentences" (Alt+H), "HilightCurCSentence"
    // (Alt+E), "ShowCurESentence" (C, F5), "ShowCurCSentence" (X, F3), "ToggleAutoShowEnglish"
    // (F11), "ToggleAutoShowChinese" (F12), "btMarkSentence" (M and the button),
    // "RevealNextWord" (Q while masked), "btStopThinking", "btSearch" and "btPrint" (their
    // buttons). Returns false
    // for a name that is not the text side's.
    bool RunFeature(const QString &name);

    int MakeNewwordNote() { return m_handler.MakeNewwordNote(); }
    int SaveWordMean() { return m_handler.SaveWordMean(); }

    // The comment page's edit link and the notebook button.
    [[nodiscard]] CommentEditor &Comments() { return m_comments; }
    [[nodiscard]] PlayerNotebook &Notebook() { return m_notebook; }

private:
    LessonPagesEventSide m_side;
    SentraBookMarks m_book;
    NoteDictDictionary m_dict;
    SoundCentreWordSound m_sound;
    PageEventHandler m_handler;
    DisplayMarks m_marks;
    ThinkMode m_think;
    PageEventDispatcher m_dispatcher;
    CommentEditor m_comments;
    PlayerNotebook m_notebook;
    SearchAndPrint m_tools;
};

} // namespace mvx
