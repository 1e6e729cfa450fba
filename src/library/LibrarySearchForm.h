#pragma once
// The library search's results: one row per sentence found (article title, sentence number,
// English, Chinese), at most MaxRows. Enter or a double click on a row closes the dialog with
// that hit chosen; the library window then opens the player there.
#include "library/LibrarySearch.h"
#include "ui/SkinnedWindow.h"

#include <optional>

class QLabel;
class QTableWidget;

namespace mvx {

class LibrarySearchForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    static constexpr int MaxRows = 1000;

    explicit LibrarySearchForm(QWidget *parent = nullptr);

    void ShowResult(const QString &query, const LibrarySearchResult &result);
    [[nodiscard]] QTableWidget *Table() const { return m_table; }
    [[nodiscard]] QString InfoText() const;
    // The hit whose row was opened; empty until then.
    [[nodiscard]] std::optional<LibraryHit> ChosenHit() const { return m_chosen; }
    void OpenRow(int row);

    Q_INVOKABLE void btClose_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    QTableWidget *m_table = nullptr;
    QLabel *m_info = nullptr;
    QVector<LibraryHit> m_hits;
    std::optional<LibraryHit> m_chosen;
};

} // namespace mvx
