#pragma once
// WordDictionary over the notebook-and-dictionary library: the pop-up opens beside the word
// (view pixels mapped to the screen through the page view), owned by the player window; the
// notebook is the program's "notebook/brxspecial_note" with its ".lib" companion.
#include "player/events/WordDictionary.h"

#include <QPointer>
#include <QWidget>

namespace mvx {

class NoteDictDictionary final : public WordDictionary
{
public:
    static const QString &NoteFile();
    static const QString &NoteLibFile();

    // owner: the window the pop-up reports to; view: the page view the word rectangles are in.
    NoteDictDictionary(QWidget *owner, QWidget *view);
    // The notebook the saves kept open is written out and closed with the player.
    ~NoteDictDictionary() override;
    NoteDictDictionary(const NoteDictDictionary &) = delete;
    NoteDictDictionary &operator=(const NoteDictDictionary &) = delete;

    void PopSearch(const QString &word, const QRectF &viewRect, const QString &storedMeaning) override;
    bool SavedWord(QString &word, QString &meaning, QString &third) override;
    int AddToNotebook(const QString &word, const QString &meaning, const QString &third, const QString &source,
                      const QString &example) override;

private:
    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_view;
};

} // namespace mvx
