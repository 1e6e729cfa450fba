#pragma once
// What the comment editor needs of the shown comment page: the label of a sentence, its
// text, its markup and the line break after it, and the page's look-ups, highlight and
// scrolling. Sentences are numbered within the lesson; without a comment page (comments
// hidden) there are no labels and every change does nothing.
#include "player/playback/PageSide.h"

#include <QString>

namespace mvx::pages {

class CommentPage
{
public:
    virtual ~CommentPage() = default;

    [[nodiscard]] virtual bool HasCommentLabel(int n) const = 0;
    [[nodiscard]] virtual bool CommentLabelHasText(int n) = 0;
    virtual void SetCommentMarkup(int n, const QString &innerHtml) = 0;
    virtual void InsertCommentBreak(int n) = 0;
    virtual void RemoveCommentBreak(int n) = 0;
    // Hooks the comment labels afresh, so a new comment is found and highlighted.
    virtual bool AnalyzeComment() = 0;
    virtual void ShowCurSentence(SentenceText text, int n, bool current) = 0;
    [[nodiscard]] virtual int ElementDisplayingStatus(SentenceText text, int n) = 0;
    virtual void ScrollSentence(SentenceText text, int n, bool alignTop) = 0;
};

} // namespace mvx::pages
