#include "player/events/NoteDictDictionary.h"

#include "core/AppState.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/ui/NoteDictWindows.h"

#include <QDir>

namespace mvx {

const QString &NoteDictDictionary::NoteFile()
{
    static const QString f = QStringLiteral("notebook/brxspecial_note");
    return f;
}

const QString &NoteDictDictionary::NoteLibFile()
{
    static const QString f = NoteFile() + QStringLiteral(".lib");
    return f;
}

NoteDictDictionary::NoteDictDictionary(QWidget *owner, QWidget *view) : m_owner(owner), m_view(view) {}

NoteDictDictionary::~NoteDictDictionary()
{
    bcNote_CloseNotebook();
}

void NoteDictDictionary::PopSearch(const QString &word, const QRectF &viewRect, const QString &storedMeaning)
{
    QRect r = viewRect.toAlignedRect();
    if (m_view) {
        r.moveTopLeft(m_view->mapToGlobal(r.topLeft()));
    }
    bcEcDict_PopSearchWnd(m_owner, App().ecDictHandle, word, r.x(), r.y(), r.width(), r.height(), storedMeaning, -1,
                          -1);
}

bool NoteDictDictionary::SavedWord(QString &word, QString &meaning, QString &third)
{
    return bcDictDll_GetSavedWord(word, meaning, &third);
}

int NoteDictDictionary::AddToNotebook(const QString &word, const QString &meaning, const QString &third,
                                      const QString &source, const QString &example)
{
    QDir().mkpath(QStringLiteral("notebook"));
    return bcNote_AddWord(NoteFile(), NoteLibFile(), word, meaning, third, source, example, -1);
}

} // namespace mvx
