#pragma once
// The lesson pages' event handling: what a mouse-down, double click or key in each of the six
// page documents does, by the player's status, the button and the Ctrl / Alt states.
//
// - Left click on a sentence makes it current (and plays, restarts or continues the
//   repetition from it, by status); double click plays it; Ctrl+left / Ctrl+right on a word
//   toggle its key-word / new-word mark in the book and restyle it; right click looks the word
//   up in the dictionary window with the meaning stored for that sentence; Alt+left while
//   stopped speaks the word; the comment page only moves while stopped, else it beeps.
// - F3, F5, F11, F12 (HandleHtmlKeyEvent) reveal or toggle the hidden texts' current-sentence
//   pages and are swallowed; C and X reach the same actions from the player window's keys.
// - Bad input does nothing and writes nothing: an id without a number or with the wrong
//   prefix, a sentence outside the lesson, a word number outside 1..500, a word without text.
// - Events are dropped while the player is busy; the pages hold them until the wait ends.
// - MakeNewwordNote / SaveWordMean answer the dictionary window's 2259 / 2263; a word saved
//   in a cleaned form ("Xinhua" for "Xinhua's") counts as the looked-up word.
#include "player/pages/PageEvent.h"

#include <QMap>
#include <QRectF>
#include <QString>
#include <functional>

namespace mvx {

class BookMarks;
class EventPages;
class PlayerOperations;
class WordDictionary;
class WordSoundPort;

class PageEventHandler final
{
public:
    static constexpr int MaxWordNo = 500;
    enum Key { KeyF3 = 114, KeyF5 = 116, KeyF11 = 122, KeyF12 = 123 };
    enum WordFlag { KeywordFlag = 1, NewwordFlag = 2 };

    PageEventHandler(PlayerOperations &player, EventPages &pages, BookMarks &book, WordDictionary &dict,
                     WordSoundPort &sound);

    // Dispatches by the event's sink name to the handler below; unknown sinks do nothing.
    void Handle(const pages::PageEvent &e);
    // Told the sentence (number in all) of every word looked up (the listening history).
    void SetLookupListener(std::function<void(int noInAll)> listener) { m_lookupListener = std::move(listener); }

    void ScriptHtmlEventHandler(const pages::PageEvent &e);
    void EHtmlEventHandler(const pages::PageEvent &e);
    void CHtmlEventHandler(const pages::PageEvent &e);
    void CmtHtmlEventHandler(const pages::PageEvent &e);
    void ECurSentenceHtmlEventHandler(const pages::PageEvent &e);
    void CCurSentenceHtmlEventHandler(const pages::PageEvent &e);
    // Returns true when the key is one of the four function keys (handled and swallowed).
    bool HandleHtmlKeyEvent(int keyCode);

    // The hidden texts' current-sentence pages (C/F5, X/F3, F11, F12).
    void ShowCurrentEnglish();
    void ShowCurrentChinese();
    void ToggleAutoShowEnglish();
    void ToggleAutoShowChinese();

    // Masking state of the recall mode: the words still masked, each with its flags (bit 1
    // key word, bit 2 new word). A word that was never masked (the title, the lead span)
    // counts as uncovered, so clicks on it act as usual. ClearMask forgets the set.
    void SetWordFlags(int n, int k, int flags);
    [[nodiscard]] bool WordRevealed(int n, int k) const { return !m_masked.contains(Key64(n, k)); }
    [[nodiscard]] int MaskedWordCount() const { return int(m_masked.size()); }
    void ClearMask();
    // Masks every word of sentences from..to in the pages and remembers them; returns the
    // number of sentences that have at least one masked word.
    int MaskSentences(int from, int to);
    // Q: uncovers the current sentence's first masked word; when none is left, moves on to
    // the next sentence (the Chinese cue moving with it), except on the last.
    void RevealNextWord();
    // Uncovers every word still masked, in one page call, and forgets the set.
    void UnmaskAll();

    // The last dictionary look-up (right click).
    [[nodiscard]] QString LookupWord() const { return m_lookupWord; }
    [[nodiscard]] int LookupSentence() const { return m_lookupSentence; }
    [[nodiscard]] int LookupWordIdx() const { return m_lookupWordIdx; }

    // 2259: the word shown in the dictionary window, its meaning and its sentence go into the
    // notebook, and the word is marked a new word. Returns the notebook's result (0 failed).
    int MakeNewwordNote();
    // 2263: the meaning shown in the dictionary window is stored for the looked-up sentence
    // (an empty one removes what is stored). The word shown is saved under the word as the
    // page has it when it is a cleaned form of it ("minister" for "minister's").
    enum SaveMeanResult { MeanNoSentence = -1, MeanRefused = 0, MeanStored = 1, MeanRemoved = 2 };
    int SaveWordMean();

private:
    struct Target
    {
        int n = -1;          // sentence number in the lesson
        int k = 0;           // word number, 0 on a label
        QString labelId;     // the sentence label's id
        bool valid = false;
    };
    [[nodiscard]] static qint64 Key64(int n, int k) { return (qint64(n) << 32) | quint32(k); }
    // The sentence / word an event is about, checked against the lesson and the id prefix.
    [[nodiscard]] Target TargetOf(const pages::PageEvent &e, const QString &prefix) const;
    void ClickSentence(int n);
    bool Uncover(const pages::PageEvent &e, const Target &t);
    void UncoverWord(const QString &frame, const QString &labelId, int n, int k);
    void AdvanceAfterSentence(int c);
    void ToggleKeyword(const pages::PageEvent &e, const Target &t, const QString &unmarkedColour);
    void ToggleNewword(const pages::PageEvent &e, const Target &t);
    void Lookup(const pages::PageEvent &e, const Target &t);
    std::function<void(int)> m_lookupListener;
    void UncoverCurrentSentence();
    // Whether the dictionary's word is the looked-up word or one of its cleaned forms.
    [[nodiscard]] bool IsLookedUpWord(const QString &word) const;
    [[nodiscard]] QString LookupFrame() const;

    PlayerOperations &m_player;
    EventPages &m_pages;
    BookMarks &m_book;
    WordDictionary &m_dict;
    WordSoundPort &m_sound;

    QMap<qint64, int> m_masked; // ordered by sentence, then word
    QString m_lookupWord;
    QString m_lookupFrame;
    QString m_lookupLabel;
    int m_lookupSentence = -1;
    int m_lookupWordIdx = 0;
};

} // namespace mvx
