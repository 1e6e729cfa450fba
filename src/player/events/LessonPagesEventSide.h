#pragma once
// EventPages over the loaded lesson pages: word and label restyling go to the page agent in
// the view (in order, at once), the switches and degrees to LessonPages.
#include "player/events/EventPages.h"

namespace mvx::pages {
class LessonPages;
class PageHost;
} // namespace mvx::pages

namespace mvx {

class LessonPagesEventSide final : public EventPages
{
public:
    LessonPagesEventSide(pages::LessonPages &pages, pages::PageHost &host);

    [[nodiscard]] PageShowState ShowState() const override;
    void SetShowState(const PageShowState &show) override;
    void StyleWord(const QString &frame, const QString &labelId, int k, const QVariantMap &props) override;
    void ShowESentenceDocContent(bool show) override;
    void ShowCSentenceDocContent(bool show) override;
    [[nodiscard]] bool AutoShowEnglish() const override;
    [[nodiscard]] bool AutoShowChinese() const override;
    void SetAutoShow(bool english, bool chinese) override;
    void ShowCurSentence(SentenceText text, int n, bool current) override;
    void ShowSentenceMark(SentenceText text, int n, bool show) override;
    void ShowAllMarkedSentences(bool show) override;
    [[nodiscard]] bool MarkedShown() const override;
    [[nodiscard]] int SentenceDegree(int n) const override;
    void SetSentenceDegree(int n, int degree) override;
    [[nodiscard]] bool HasTitleSentence() const override;
    [[nodiscard]] QString FrameOf(SentenceText text) const override;
    [[nodiscard]] int WordCount(int n) override;
    [[nodiscard]] QVector<QVector<int>> MaskWords(int from, int to) override;
    void UnmaskWords(const QVector<UnmaskedWord> &words) override;

    // The script that styles word k of a sentence label (exposed for the tests).
    [[nodiscard]] static QString StyleWordScript(const QString &frame, const QString &labelId, int k,
                                                 const QVariantMap &props);

private:
    pages::LessonPages &m_pages;
    pages::PageHost &m_host;
};

} // namespace mvx
