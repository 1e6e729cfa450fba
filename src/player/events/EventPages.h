#pragma once
// What the page-event and marks logic asks of the lesson pages: the shown texts, word and
// sentence restyling, the current-sentence pages with their auto-show switches, and the
// sentence degrees the pages keep for marking. Sentences are numbered within the lesson;
// a text that is not shown has no elements and every call on it does nothing.
#include "player/playback/PageSide.h"

#include <QString>
#include <QVariantMap>
#include <QVector>

namespace mvx {

// A masked word being uncovered: sentence n, word k, and the colour it gets back ("" = the
// page's own).
struct UnmaskedWord
{
    int n = 0;
    int k = 0;
    QString colour;
};

class EventPages
{
public:
    virtual ~EventPages() = default;

    [[nodiscard]] virtual PageShowState ShowState() const = 0;
    // Switches the shown texts / layout; takes effect at the next reload.
    virtual void SetShowState(const PageShowState &show) = 0;
    // Sets inline style properties of word k (child k of the sentence label labelId) in the
    // given frame; an empty value removes the property. A missing word does nothing.
    virtual void StyleWord(const QString &frame, const QString &labelId, int k, const QVariantMap &props) = 0;
    // Refills the small current-sentence pages (sentence or prompt).
    virtual void ShowESentenceDocContent(bool show) = 0;
    virtual void ShowCSentenceDocContent(bool show) = 0;
    [[nodiscard]] virtual bool AutoShowEnglish() const = 0;
    [[nodiscard]] virtual bool AutoShowChinese() const = 0;
    virtual void SetAutoShow(bool english, bool chinese) = 0;
    // The current-sentence highlight of sentence n's English or Chinese label.
    virtual void ShowCurSentence(SentenceText text, int n, bool current) = 0;
    // Underlines (or not) sentence n's English or Chinese label.
    virtual void ShowSentenceMark(SentenceText text, int n, bool show) = 0;
    virtual void ShowAllMarkedSentences(bool show) = 0;
    [[nodiscard]] virtual bool MarkedShown() const = 0;
    // Degrees of the open lesson's sentences (0 outside the lesson).
    [[nodiscard]] virtual int SentenceDegree(int n) const = 0;
    virtual void SetSentenceDegree(int n, int degree) = 0;
    [[nodiscard]] virtual bool HasTitleSentence() const = 0;
    // The frame showing a text's full page ("" when hidden), and the number of children of
    // sentence n's English label (its words, child 0 being the empty lead); 0 when missing.
    [[nodiscard]] virtual QString FrameOf(SentenceText text) const = 0;
    [[nodiscard]] virtual int WordCount(int n) = 0;
    // Masks the English words (from word 1) of sentences from..to in one page call, grey on
    // grey; returns per sentence each word's flags (index k - 1; 1 key word + 2 new word).
    [[nodiscard]] virtual QVector<QVector<int>> MaskWords(int from, int to) = 0;
    // Uncovers the given words in one page call.
    virtual void UnmaskWords(const QVector<UnmaskedWord> &words) = 0;
};

} // namespace mvx
