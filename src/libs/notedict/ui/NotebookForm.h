#pragma once
// The word notebook window: the words with meaning, phonetic and source; play the word,
// delete it, edit its meaning in place, sort, search, show the source sentence (2261 to
// the owner), show only this lesson's words or all, export to CSV, help. When it closes
// it reports its position (twips) to the owner with 2260. The logic is NotebookModel.
#include "notedict/NotebookModel.h"
#include "WordSpeaker.h"

#include "ui/SkinnedWindow.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace mvx {

class NotebookForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    explicit NotebookForm(QWidget *owner);

    [[nodiscard]] NotebookModel &model() { return m_model; }
    // Loads the notebook (see NotebookModel::load) and fills the list.
    int loadNotebook(const QString &noteFile, const QString &libFile, const QString &rangeText);
    // Places the window at left, top (twips); 0, 0 centres it over its owner.
    void placeAt(int leftTwips, int topTwips);
    void setButtonVisible(const QString &name, bool visible);
    [[nodiscard]] QTableWidget *table() const { return m_table; }
    void selectWord(const QString &word);

    // Asks where to export; tests answer in place of the file dialog.
    using PathAsker = std::function<QString(QWidget *parent, const QString &suggested)>;
    static void SetExportPathAsker(PathAsker asker);

    Q_INVOKABLE void btPlay_click();
    Q_INVOKABLE void btDelete_click();
    Q_INVOKABLE void btShowSource_click();
    Q_INVOKABLE void btMatchWithSrc_click();
    Q_INVOKABLE void Sort_click();
    Q_INVOKABLE void btReview_click();
    Q_INVOKABLE void btExport_click();
    Q_INVOKABLE void btHelp_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void fillTable();
    void updateButtons();
    [[nodiscard]] qint64 selectedId() const;

    NotebookModel m_model;
    WordSpeaker m_speaker;
    QLineEdit *m_search = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_example = nullptr;
    QLabel *m_status = nullptr;
    bool m_filling = false;
    bool m_reported = false;
};

} // namespace mvx
