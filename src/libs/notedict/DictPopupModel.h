#pragma once
// Logic of the dictionary pop-up (no widgets): looks the word up, says what to show,
// where to put the window, and sends the owner window the private messages 2259 (save
// the word to the notebook) and 2263 (store the shown meaning for this sentence) after
// leaving word, meaning and third text for bcDictDll_GetSavedWord.
#include "DictEntry.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

namespace mvx {

class DictPopupModel final
{
public:
    // dictHandle as from bcEcDict_Open; storedMeaning empty when the sentence has none.
    DictPopupModel(QObject *owner, int dictHandle, const QString &word, const QString &storedMeaning);

    // Looks another word up in the same window (a nearest spelling, for instance), with
    // the meaning stored for it in the sentence (empty for none).
    void lookUp(const QString &word, const QString &storedMeaning = {});

    [[nodiscard]] const DictLookup &result() const { return m_result; }
    [[nodiscard]] bool found() const { return m_result.found(); }
    [[nodiscard]] QString title() const;        // the word as found (or as asked)
    [[nodiscard]] QString phonetic() const;     // "[ˈgʌvənmənt]", or empty
    [[nodiscard]] QStringList meaningLines() const;
    [[nodiscard]] QString infoLine() const;     // forms and exam tags, or why nothing was found
    [[nodiscard]] QString storedMeaning() const { return m_storedMeaning; }
    [[nodiscard]] QStringList suggestions() const { return m_result.suggestions; }
    // The word the pronunciation button speaks.
    [[nodiscard]] QString soundWord() const;

    // The meaning that the two buttons hand on; starts as the stored meaning, else the
    // dictionary's, and the learner may edit it.
    [[nodiscard]] QString meaningText() const { return m_meaningText; }
    void setMeaningText(const QString &text) { m_meaningText = text; }

    // Sends 2259; returns the notebook's result (1 added, 2 updated, 0 failed) when the
    // owner added the word, -1 when it did not answer. statusText() tells the learner.
    int saveToNotebook();
    // Sends 2263.
    void storeMeaning();
    [[nodiscard]] QString statusText() const { return m_status; }
    [[nodiscard]] bool hasOwner() const { return !m_owner.isNull(); }

    // Top-left of a popup of the given size beside the word's rectangle (screen pixels):
    // below it, else above it, else beside it; always inside the screen's available area.
    [[nodiscard]] static QPoint placeBeside(const QRect &wordRect, const QSize &popup, const QRect &screen);

private:
    void saveTexts();

    QPointer<QObject> m_owner;
    int m_dictHandle = 0;
    QString m_storedMeaning;
    QString m_meaningText;
    DictLookup m_result;
    QString m_dictError;
    QString m_status;
};

} // namespace mvx
