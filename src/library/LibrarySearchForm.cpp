#include "LibrarySearchForm.h"

#include "ui/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>

namespace mvx {

LibrarySearchForm::LibrarySearchForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("LibrarySearchForm"), true, parent)
{
    setObjectName(QStringLiteral("LibrarySearchForm"));
    SetDesignSize(10500, 6600);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("搜索全部课文"), 240, 90, 6000, 330);
    AddButton(QStringLiteral("btWinClose"), 10050, 75, 330, 330);
    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("tblHits"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("课文"), QStringLiteral("句号"), QStringLiteral("英文"),
                                        QStringLiteral("中文")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setGeometry(TwipsToPixels(240), TwipsToPixels(600), TwipsToPixels(10020), TwipsToPixels(5100));
    m_table->setColumnWidth(0, TwipsToPixels(1800));
    m_table->setColumnWidth(1, TwipsToPixels(600));
    m_table->setColumnWidth(2, TwipsToPixels(4200));
    // Enter and a double click both activate a row.
    connect(m_table, &QTableWidget::activated, this, [this](const QModelIndex &index) { OpenRow(index.row()); });
    m_info = AddLabel(QStringLiteral("lbInfo"), QString(), 240, 5880, 7000, 330);
    AddButton(QStringLiteral("btClose"), 8835, 5820, 1425, 450);
}

void LibrarySearchForm::ShowResult(const QString &query, const LibrarySearchResult &result)
{
    setWindowTitle(QStringLiteral("搜索全部课文：%1").arg(query));
    if (auto *title = findChild<QLabel *>(QStringLiteral("lbTitle")))
        title->setText(windowTitle());
    m_hits = result.hits.mid(0, MaxRows);
    m_table->setRowCount(int(m_hits.size()));
    for (int row = 0; row < m_hits.size(); ++row) {
        const LibraryHit &hit = m_hits[row];
        const QStringList cells{hit.title, QString::number(hit.sentence), hit.english, hit.chinese};
        for (int col = 0; col < cells.size(); ++col) {
            auto *item = new QTableWidgetItem(QString(cells[col]).replace(u'\n', u' '));
            item->setToolTip(col >= 2 ? cells[col] : QString());
            m_table->setItem(row, col, item);
        }
    }
    QStringList info;
    if (!result.error.isEmpty())
        info << result.error;
    else if (m_hits.isEmpty())
        info << QStringLiteral("没有找到");
    else if (result.truncated || result.hits.size() > MaxRows)
        info << QStringLiteral("只显示前 1000 条");
    else
        info << QStringLiteral("找到 %1 句").arg(m_hits.size());
    if (!result.unreadable.isEmpty())
        info << QStringLiteral("无法读取：") + result.unreadable.join(QStringLiteral("、"));
    if (!result.note.isEmpty())
        info << result.note;
    m_info->setText(info.join(QStringLiteral("  ")));
    m_info->setToolTip(m_info->text());
    if (!m_hits.isEmpty()) {
        m_table->setCurrentCell(0, 0);
        m_table->setFocus();
    }
}

QString LibrarySearchForm::InfoText() const
{
    return m_info->text();
}

void LibrarySearchForm::OpenRow(int row)
{
    if (m_chosen || row < 0 || row >= m_hits.size())
        return;
    m_chosen = m_hits[row];
    accept();
}

void LibrarySearchForm::btClose_click()
{
    reject();
}

void LibrarySearchForm::btWinClose_click()
{
    reject();
}

bool LibrarySearchForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OpenRow(m_table->currentRow());
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return false;
}

} // namespace mvx
