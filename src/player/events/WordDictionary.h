#pragma once
// The dictionary pop-up and the notebook as the page events use them.
#include <QRectF>
#include <QString>

namespace mvx {

class WordDictionary
{
public:
    virtual ~WordDictionary() = default;

    // Opens the dictionary window for word beside viewRect (the word in view pixels) with
    // the meaning stored for its sentence (empty: none).
    virtual void PopSearch(const QString &word, const QRectF &viewRect, const QString &storedMeaning) = 0;
    // The word, meaning and third text the dictionary window saved last; false before any.
    virtual bool SavedWord(QString &word, QString &meaning, QString &third) = 0;
    // Adds a word to the notebook: 1 added, 2 updated, 0 failed.
    virtual int AddToNotebook(const QString &word, const QString &meaning, const QString &third,
                              const QString &source, const QString &example) = 0;
};

} // namespace mvx
