#include "player/events/PageEventHandler.h"

#include "player/events/BookMarks.h"
#include "player/events/EventPages.h"
#include "player/events/WordDictionary.h"
#include "player/events/WordSoundPort.h"
#include "player/playback/PlayerOperations.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "core/Helpers.h"
#include "libs/notedict/WordFolding.h"

#include <algorithm>

namespace mvx {

namespace {

const QString KeyDown = QStringLiteral("keydown");
const QString MouseDown = QStringLiteral("mousedown");
const QString DblClick = QStringLiteral("dblclick");

QString KeywordColour()
{
    return PageLook(App().display).Keyword();
}

QVariantMap NewWordLook(bool on)
{
    // Clearing the decoration (not "none") takes the word out of the new-word set.
    return {{QStringLiteral("textDecoration"), on ? QStringLiteral("underline") : QString()},
            {QStringLiteral("fontWeight"), on ? QStringLiteral("bold") : QStringLiteral("normal")}};
}

} // namespace

PageEventHandler::PageEventHandler(PlayerOperations &player, EventPages &pages, BookMarks &book,
                                   WordDictionary &dict, WordSoundPort &sound)
    : m_player(player), m_pages(pages), m_book(book), m_dict(dict), m_sound(sound)
{
}

void PageEventHandler::Handle(const pages::PageEvent &e)
{
    if (m_player.IsBusy()) {
        return;
    }
    const QString &s = e.sink;
    if (s == QLatin1String("ScriptHtmlEventHandler")) {
        ScriptHtmlEventHandler(e);
    } else if (s == QLatin1String("EHtmlEventHandler")) {
        EHtmlEventHandler(e);
    } else if (s == QLatin1String("CHtmlEventHandler")) {
        CHtmlEventHandler(e);
    } else if (s == QLatin1String("CmtHtmlEventHandler")) {
        CmtHtmlEventHandler(e);
    } else if (s == QLatin1String("ECurSentenceHtmlEventHandler")) {
        ECurSentenceHtmlEventHandler(e);
    } else if (s == QLatin1String("CCurSentenceHtmlEventHandler")) {
        CCurSentenceHtmlEventHandler(e);
    }
}

PageEventHandler::Target PageEventHandler::TargetOf(const pages::PageEvent &e, const QString &prefix) const
{
    Target t;
    const QString labelId = e.isWord() ? e.parentId : e.srcId;
    if (!(e.isWord() || e.isLabel()) || !labelId.startsWith(prefix, Qt::CaseInsensitive)) {
        return t;
    }
    t.n = pages::PageEvent::NumberOfId(labelId);
    if (t.n < 0 || t.n >= m_player.SentenceCount()) {
        return t;
    }
    if (e.isWord()) {
        t.k = pages::PageEvent::NumberOfId(e.srcId);
        if (!e.srcId.startsWith(QLatin1String("wrd"), Qt::CaseInsensitive) || t.k < 1 || t.k > MaxWordNo
            || e.text.isEmpty()) {
            return t;
        }
    }
    t.labelId = labelId;
    t.valid = true;
    return t;
}

// ---- The full pages -------------------------------------------------------------------------

void PageEventHandler::ScriptHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
    }
}

void PageEventHandler::EHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
        return;
    }
    if (e.type == DblClick) {
        if (TargetOf(e, QStringLiteral("ste")).valid) {
            m_player.btPlaySentence_click();
        }
        return;
    }
    if (e.type != MouseDown) {
        return;
    }
    const Target t = TargetOf(e, QStringLiteral("ste"));
    if (!t.valid) {
        return;
    }
    const bool word = t.k > 0;
    if (e.button == 1) {
        if (word && Uncover(e, t)) {
            return;
        }
        if (e.ctrl) {
            if (word) {
                ToggleKeyword(e, t, QString());
            }
            return;
        }
        if (m_player.PlayStatus() == Stopped && e.alt) {
            if (word) {
                m_sound.Speak(e.text);
            }
            return;
        }
        ClickSentence(t.n);
        return;
    }
    if (!word) {
        return;
    }
    if (Uncover(e, t)) {
        return;
    }
    if (e.ctrl) {
        ToggleNewword(e, t);
    } else {
        Lookup(e, t);
    }
}

void PageEventHandler::CHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
    } else if (e.type == DblClick) {
        if (TargetOf(e, QStringLiteral("stc")).valid) {
            m_player.btPlaySentence_click();
        }
    } else if (e.type == MouseDown && e.button == 1) {
        const Target t = TargetOf(e, QStringLiteral("stc"));
        if (t.valid) {
            ClickSentence(t.n);
        }
    }
}

void PageEventHandler::CmtHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
    } else if (e.type == MouseDown && e.button == 1) {
        const Target t = TargetOf(e, QStringLiteral("stz"));
        if (!t.valid) {
            return;
        }
        if (m_player.PlayStatus() == Stopped) {
            m_player.SetCurSentence(t.n);
            m_player.SetCurrentPos(0);
        } else {
            m_sound.Beep();
        }
    }
}

void PageEventHandler::ClickSentence(int n)
{
    // One way to another sentence: the buttons and keys go the same way.
    m_player.GoToSentence(n);
}

// ---- Words ----------------------------------------------------------------------------------

bool PageEventHandler::Uncover(const pages::PageEvent &e, const Target &t)
{
    if (!m_pages.ShowState().maskActive || WordRevealed(t.n, t.k)) {
        return false;
    }
    UncoverWord(e.frame, t.labelId, t.n, t.k);
    return true;
}

void PageEventHandler::UncoverWord(const QString &frame, const QString &labelId, int n, int k)
{
    const bool keyword = m_masked.take(Key64(n, k)) & KeywordFlag;
    m_pages.StyleWord(frame, labelId, k,
                      {{QStringLiteral("backgroundColor"), QString()},
                       {QStringLiteral("color"), keyword ? KeywordColour() : QString()}});
}

void PageEventHandler::ToggleKeyword(const pages::PageEvent &e, const Target &t, const QString &unmarkedColour)
{
    bool now = false;
    if (!m_book.SetKeyword(m_player.GetSentenceNoInAll(t.n), t.k, int(e.text.size()), false, now)) {
        return;
    }
    m_pages.StyleWord(e.frame, t.labelId, t.k, {{QStringLiteral("color"), now ? KeywordColour() : unmarkedColour}});
}

void PageEventHandler::ToggleNewword(const pages::PageEvent &e, const Target &t)
{
    bool now = false;
    if (!m_book.SetNewword(m_player.GetSentenceNoInAll(t.n), t.k, int(e.text.size()), false, now)) {
        return;
    }
    m_pages.StyleWord(e.frame, t.labelId, t.k, NewWordLook(now));
}

void PageEventHandler::Lookup(const pages::PageEvent &e, const Target &t)
{
    m_lookupWord = e.text;
    m_lookupSentence = t.n;
    m_lookupWordIdx = t.k;
    m_lookupFrame = e.frame;
    m_lookupLabel = t.labelId;
    const QString meaning = TrimAtNul(m_book.WordMean(m_player.GetSentenceNoInAll(t.n), e.text));
    if (m_lookupListener)
        m_lookupListener(m_player.GetSentenceNoInAll(t.n));
    m_dict.PopSearch(e.text, e.rect, meaning);
}

// ---- The current-sentence pages -------------------------------------------------------------

void PageEventHandler::ECurSentenceHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
        return;
    }
    if (e.type == DblClick) {
        if (TargetOf(e, QStringLiteral("ste")).valid) {
            m_player.btPlaySentence_click();
        }
        return;
    }
    if (e.type != MouseDown) {
        return;
    }
    if (e.isLabel() && e.srcId.compare(QLatin1String("CurESentence"), Qt::CaseInsensitive) == 0) {
        m_pages.ShowESentenceDocContent(true);
        return;
    }
    const Target t = TargetOf(e, QStringLiteral("ste"));
    if (!t.valid || t.k == 0) {
        return;
    }
    if (e.button == 1) {
        if (e.ctrl) {
            ToggleKeyword(e, t, PageLook(App().display).English());
        }
    } else if (e.ctrl) {
        ToggleNewword(e, t);
    } else {
        Lookup(e, t);
    }
}

void PageEventHandler::CCurSentenceHtmlEventHandler(const pages::PageEvent &e)
{
    if (e.type == KeyDown) {
        HandleHtmlKeyEvent(e.keyCode);
    } else if (e.type == MouseDown && e.isLabel()
               && e.srcId.compare(QLatin1String("CurCSentence"), Qt::CaseInsensitive) == 0) {
        m_pages.ShowCSentenceDocContent(true);
    }
}

bool PageEventHandler::HandleHtmlKeyEvent(int keyCode)
{
    switch (keyCode) {
    case KeyF3:
        ShowCurrentChinese();
        return true;
    case KeyF5:
        ShowCurrentEnglish();
        return true;
    case KeyF11:
        ToggleAutoShowEnglish();
        return true;
    case KeyF12:
        ToggleAutoShowChinese();
        return true;
    default:
        return false;
    }
}

void PageEventHandler::ShowCurrentEnglish()
{
    const PageShowState show = m_pages.ShowState();
    if (!show.englishShown) {
        m_pages.ShowESentenceDocContent(true);
    }
    if (!show.maskActive) {
        return;
    }
    UncoverCurrentSentence();
    AdvanceAfterSentence(m_player.CurSentence());
}

void PageEventHandler::AdvanceAfterSentence(int c)
{
    const PageShowState show = m_pages.ShowState();
    if (show.mixedLayout && show.chineseShown && c >= 0) {
        m_pages.ShowCurSentence(SentenceText::Chinese, c, false);
    }
    if (c >= 0 && c < m_player.SentenceCount() - 1) {
        m_player.SetCurSentence(c + 1);
    }
}

void PageEventHandler::UncoverCurrentSentence()
{
    const int c = m_player.CurSentence();
    const QString frame = m_pages.FrameOf(SentenceText::English);
    if (c < 0 || frame.isEmpty()) {
        return;
    }
    QVector<UnmaskedWord> words;
    for (auto it = m_masked.lowerBound(Key64(c, 0)); it != m_masked.end() && (it.key() >> 32) == c;) {
        words.push_back({c, int(it.key() & 0xffffffff), (it.value() & KeywordFlag) ? KeywordColour() : QString()});
        it = m_masked.erase(it);
    }
    if (!words.isEmpty()) {
        m_pages.UnmaskWords(words);
    }
}

void PageEventHandler::RevealNextWord()
{
    if (!m_pages.ShowState().maskActive) {
        return;
    }
    const int c = m_player.CurSentence();
    const QString frame = m_pages.FrameOf(SentenceText::English);
    if (c < 0 || frame.isEmpty()) {
        return;
    }
    const auto it = m_masked.lowerBound(Key64(c, 0));
    if (it != m_masked.end() && (it.key() >> 32) == c) {
        UncoverWord(frame, QStringLiteral("ste") + QString::number(c), c, int(it.key() & 0xffffffff));
        return;
    }
    if (c < m_player.SentenceCount() - 1) {
        AdvanceAfterSentence(c);
    }
}

int PageEventHandler::MaskSentences(int from, int to)
{
    const QVector<QVector<int>> flags = m_pages.MaskWords(from, to);
    int masked = 0;
    for (int i = 0; i < flags.size(); ++i) {
        for (int k = 1; k <= flags[i].size() && k <= MaxWordNo; ++k) {
            m_masked.insert(Key64(from + i, k), flags[i][k - 1]);
        }
        masked += flags[i].isEmpty() ? 0 : 1;
    }
    return masked;
}

void PageEventHandler::UnmaskAll()
{
    QVector<UnmaskedWord> words;
    words.reserve(int(m_masked.size()));
    for (auto it = m_masked.cbegin(); it != m_masked.cend(); ++it) {
        words.push_back({int(it.key() >> 32), int(it.key() & 0xffffffff),
                         (it.value() & KeywordFlag) ? KeywordColour() : QString()});
    }
    m_masked.clear();
    m_pages.UnmaskWords(words);
}

void PageEventHandler::ShowCurrentChinese()
{
    if (!m_pages.ShowState().chineseShown) {
        m_pages.ShowCSentenceDocContent(true);
    }
}

void PageEventHandler::ToggleAutoShowEnglish()
{
    if (m_pages.ShowState().englishShown) {
        return;
    }
    m_pages.SetAutoShow(!m_pages.AutoShowEnglish(), m_pages.AutoShowChinese());
    m_pages.ShowESentenceDocContent(m_pages.AutoShowEnglish());
}

void PageEventHandler::ToggleAutoShowChinese()
{
    if (m_pages.ShowState().chineseShown) {
        return;
    }
    m_pages.SetAutoShow(m_pages.AutoShowEnglish(), !m_pages.AutoShowChinese());
    m_pages.ShowCSentenceDocContent(m_pages.AutoShowChinese());
}

void PageEventHandler::SetWordFlags(int n, int k, int flags)
{
    m_masked.insert(Key64(n, k), flags);
}

void PageEventHandler::ClearMask()
{
    m_masked.clear();
}

// ---- The dictionary window's reports ----------------------------------------------------------

bool PageEventHandler::IsLookedUpWord(const QString &word) const
{
    if (m_lookupWord.isEmpty()) {
        return false;
    }
    if (word.compare(m_lookupWord, Qt::CaseInsensitive) == 0) {
        return true;
    }
    // The dictionary shows a cleaned form of what was clicked ("minister's" -> "minister").
    const QByteArray key = FoldKey(word.trimmed());
    const QStringList forms = LookupCandidates(m_lookupWord);
    return std::any_of(forms.begin(), forms.end(), [&key](const QString &f) { return FoldKey(f) == key; });
}

QString PageEventHandler::LookupFrame() const
{
    // The layout may have changed since the look-up: the English page's frame of now.
    const QString full = m_pages.FrameOf(SentenceText::English);
    return full.isEmpty() ? m_lookupFrame : full;
}

int PageEventHandler::MakeNewwordNote()
{
    QString word, meaning, third;
    if (!m_dict.SavedWord(word, meaning, third) || word.trimmed().isEmpty()) {
        return 0;
    }
    const bool lookedUp = m_lookupSentence >= 0 && m_lookupSentence < m_player.SentenceCount();
    QString source, example;
    if (lookedUp) {
        const int noInAll = m_player.GetSentenceNoInAll(m_lookupSentence);
        // Only the looked-up word itself is marked; a word typed into the window is not in the
        // sentence.
        if (IsLookedUpWord(word)) {
            bool now = false;
            if (m_book.SetNewword(noInAll, m_lookupWordIdx, int(m_lookupWord.size()), true, now)) {
                m_pages.StyleWord(LookupFrame(), m_lookupLabel, m_lookupWordIdx, NewWordLook(now));
            }
        }
        source = m_book.SourceReference(noInAll);
        example = m_book.SentenceExample(noInAll);
    }
    return m_dict.AddToNotebook(word, meaning, third, source, example);
}

int PageEventHandler::SaveWordMean()
{
    QString word, meaning, third;
    if (!m_dict.SavedWord(word, meaning, third) || word.trimmed().isEmpty() || m_lookupSentence < 0
        || m_lookupSentence >= m_player.SentenceCount()) {
        return MeanNoSentence;
    }
    // Stored under the word as the page has it, where the next look-up of it searches.
    const QString key = IsLookedUpWord(word) ? m_lookupWord : word.trimmed();
    const bool remove = meaning.trimmed().isEmpty();
    if (!m_book.SetWordMean(m_player.GetSentenceNoInAll(m_lookupSentence), key, remove ? QString() : meaning)) {
        return MeanRefused;
    }
    return remove ? MeanRemoved : MeanStored;
}

} // namespace mvx
