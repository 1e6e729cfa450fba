#include "NoteDictWindows.h"

#include "DictPopupForm.h"
#include "NoteReviewForm.h"
#include "NotebookForm.h"
#include "SpellForm.h"

#include "notedict/DrillBook.h"
#include "notedict/NoteDictLib.h"
#include "core/Helpers.h"
#include "ui/MessageBox.h"

#include <QFileInfo>
#include <QPointer>

namespace mvx {

namespace {
QPointer<DictPopupForm> g_popup;
QPointer<NotebookForm> g_notebook;

struct SpellRequest
{
    QPointer<QWidget> owner;
    QString bookFile;
    int first = 0;
    int count = 0;
    int level = 0;
    QString noteFile;
    bool ready = false;
    bool changed = false;
};
SpellRequest g_spell;

int ShowSpell(bool test)
{
    if (!g_spell.ready)
        return 0;
    g_spell.ready = false;
    SpellForm form(g_spell.owner, test);
    form.SetNotebook(g_spell.noteFile);
    QString error;
    if (!form.Start(g_spell.bookFile, g_spell.first, g_spell.count, g_spell.level, &error)) {
        ShowMessageBox(error, 1);
        return 0;
    }
    form.exec();
    g_spell.changed = form.Changed();
    return 1;
}
} // namespace

int bcSpell_Init(QWidget *owner, const QString &bookFile, int first, int count, const QString &noteName)
{
    return bcSpell_InitEx(owner, bookFile, first, count, 0, noteName);
}

int bcSpell_InitEx(QWidget *owner, const QString &bookFile, int first, int count, int level,
                   const QString &noteName)
{
    g_spell = {owner, bookFile, first, count, level, DrillNotebookFile(noteName), false, false};
    DictationSession check;
    QString error;
    if (!check.Open(bookFile, first, count, level, &error)) {
        ShowMessageBox(error, 1);
        return 0;
    }
    g_spell.ready = true;
    return 1;
}

int bcSpell_LoadAndShowNoDegree(int)
{
    return ShowSpell(false);
}

int bcSpell_LoadAndShowForTest(int)
{
    return ShowSpell(true);
}

int bcSpell_IfSentenceChanged()
{
    return g_spell.changed ? 1 : 0;
}

int bcEcDict_PopSearchWnd(QWidget *owner, int dictHandle, const QString &word, int x, int y, int width, int height,
                          const QString &storedMeaning, int, int)
{
    if (word.trimmed().isEmpty())
        return 0;
    if (g_popup && g_popup->parentWidget() == owner) {
        g_popup->showWord(word, storedMeaning);
    } else {
        if (g_popup)
            g_popup->close();
        g_popup = new DictPopupForm(owner, dictHandle, word, storedMeaning);
    }
    g_popup->popUpBeside(QRect(x, y, std::max(1, width), std::max(1, height)));
    return 1;
}

int bcNote_LoadEx(QWidget *owner, const QString &noteFile, const QString &libFile, const QString &, int left, int top,
                  int, int, int, const QString &rangeText)
{
    if (g_notebook) {
        g_notebook->close();
        delete g_notebook;
    }
    g_notebook = new NotebookForm(owner);
    const int n = g_notebook->loadNotebook(ToFsPath(noteFile), ToFsPath(libFile), rangeText);
    if (!g_notebook->model().message().isEmpty())
        ShowMessageBox(g_notebook->model().message(), 1);
    g_notebook->placeAt(left, top);
    return n;
}

void bcNote_ShowButton(const QString &buttonName, int show)
{
    if (g_notebook)
        g_notebook->setButtonVisible(buttonName, show != 0);
}

void bcNote_Show()
{
    if (!g_notebook)
        return;
    g_notebook->setAttribute(Qt::WA_DeleteOnClose);
    g_notebook->show();
    g_notebook->raise();
}

int bcNote_ShowModal()
{
    if (!g_notebook)
        return 0;
    QPointer<NotebookForm> form = g_notebook;
    form->exec();
    if (form)
        delete form;
    return 1;
}

int bcNote_ShowReview(QWidget *owner, const QString &noteFile, const QString &libFile, const QString &,
                      const QString &rangeText)
{
    NoteReviewForm form(owner);
    const int n = QFileInfo::exists(ToFsPath(noteFile)) ? form.loadNotebook(ToFsPath(noteFile), ToFsPath(libFile), rangeText)
                                                        : 0;
    if (!form.model().message().isEmpty())
        ShowMessageBox(form.model().message(), 1);
    if (n < 0) {
        ShowMessageBox(form.model().errorText(), 1);
        return -1;
    }
    if (n == 0) {
        ShowMessageBox(NoteReviewModel::NoneDueMessage(), 1);
        return -1;
    }
    form.Load();
    if (owner)
        form.move(owner->geometry().center() - QPoint(form.width() / 2, form.height() / 2));
    form.btPlay_click(); // the first word is heard as it appears
    form.exec();
    return form.model().answered();
}

DictPopupForm *CurrentDictPopup()
{
    return g_popup;
}

NotebookForm *CurrentNotebook()
{
    return g_notebook;
}

void CloseNoteDictWindows()
{
    if (g_popup)
        g_popup->close();
    if (g_notebook) {
        g_notebook->close();
        delete g_notebook;
    }
}

} // namespace mvx
