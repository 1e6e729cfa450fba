#include "NotebookForm.h"

#include "NoteDictWindows.h"
#include "notedict/NoteDictLib.h"

#include "comm/CommLib.h"
#include "ui/MessageBox.h"
#include "ui/Twips.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mvx {

namespace {
NotebookForm::PathAsker g_asker;

const QStringList kButtons = {QStringLiteral("btPlay"), QStringLiteral("btDelete"), QStringLiteral("btShowSource"),
                              QStringLiteral("btMatchWithSrc"), QStringLiteral("Sort"), QStringLiteral("btReview"),
                              QStringLiteral("btExport"), QStringLiteral("btHelp"), QStringLiteral("btClose")};

QString SourceText(const QString &source)
{
    const NoteSourceRef r = NoteSourceRef::parse(source);
    return r.isValid() ? QStringLiteral("%1 第%2句").arg(r.book).arg(r.first) : source;
}
} // namespace

void NotebookForm::SetExportPathAsker(PathAsker asker)
{
    g_asker = std::move(asker);
}

NotebookForm::NotebookForm(QWidget *owner)
    : SkinnedWindow(QStringLiteral("NotebookForm"), false, owner)
{
    SetTitleBandHeight(450);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("单词笔记本"), 150, 60, 6000, 330);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 36, 10, 8);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("teSearch"));
    m_search->setPlaceholderText(QStringLiteral("查找单词或词义"));
    m_search->setClearButtonEnabled(true);
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &t) {
        m_model.setFilter(t);
        fillTable();
    });
    layout->addWidget(m_search);
    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(QStringLiteral("lstWords"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("单词"), QStringLiteral("词义"), QStringLiteral("音标"), QStringLiteral("出处")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->column() != 1)
            return;
        const qint64 id = item->data(Qt::UserRole).toLongLong();
        const QString word = m_table->item(item->row(), 0)->text();
        if (!m_model.setMeaning(id, item->text()))
            m_status->setText(QStringLiteral("未能保存词义"));
        fillTable();
        selectWord(word);
    });
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const int row = m_model.rowOf(selectedId());
        m_example->setText(row >= 0 ? m_model.rows().at(row).example : QString());
        updateButtons();
    });
    layout->addWidget(m_table, 1);
    m_example = new QLabel(this);
    m_example->setObjectName(QStringLiteral("lbExample"));
    m_example->setWordWrap(true);
    m_example->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_example);
    auto *row = new QHBoxLayout;
    const QStringList captions = {QStringLiteral("发音"), QStringLiteral("删除"), QStringLiteral("查看出处"),
                                  QStringLiteral("全部单词"), QStringLiteral("排序"), QStringLiteral("复习"),
                                  QStringLiteral("导出"),
                                  QStringLiteral("帮助"), QStringLiteral("关闭")};
    for (int i = 0; i < kButtons.size(); ++i) {
        auto *b = new QPushButton(captions.at(i), this);
        b->setObjectName(kButtons.at(i));
        b->setAutoDefault(false);
        row->addWidget(b);
        const QString method = kButtons.at(i) == QLatin1String("btClose") ? QStringLiteral("btWinClose") : kButtons.at(i);
        connect(b, &QPushButton::clicked, this, [this, method] { DispatchClick(method); });
    }
    layout->addLayout(row);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    layout->addWidget(m_status);
    resize(620, 440);
}

int NotebookForm::loadNotebook(const QString &noteFile, const QString &libFile, const QString &rangeText)
{
    const int n = m_model.load(parent(), noteFile, libFile, rangeText);
    fillTable();
    return n;
}

void NotebookForm::placeAt(int leftTwips, int topTwips)
{
    Load();
    if (leftTwips == 0 && topTwips == 0) {
        if (auto *owner = parentWidget())
            move(owner->geometry().center() - QPoint(width() / 2, height() / 2));
        return;
    }
    // The primary screen first: a place on no screen is moved onto it.
    QList<QRect> screens;
    for (QScreen *screen : QGuiApplication::screens())
        screens.insert(screen == QGuiApplication::primaryScreen() ? 0 : screens.size(), screen->availableGeometry());
    move(NotebookModel::placeOnScreen(QPoint(TwipsToPixels(leftTwips), TwipsToPixels(topTwips)), size(), screens));
}

void NotebookForm::setButtonVisible(const QString &name, bool visible)
{
    m_model.setButtonVisible(name, visible);
    updateButtons();
}

void NotebookForm::fillTable()
{
    m_filling = true;
    const qint64 keep = selectedId();
    const QList<NoteWord> &rows = m_model.rows();
    m_table->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const NoteWord &w = rows.at(r);
        const QStringList texts = {w.word, w.meaning, w.third, SourceText(w.source)};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            item->setData(Qt::UserRole, w.id);
            if (c != 1)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeColumnToContents(0);
    const int row = m_model.rowOf(keep);
    if (row >= 0)
        m_table->selectRow(row);
    else if (!rows.isEmpty())
        m_table->selectRow(0);
    m_filling = false;
    m_status->setText(QStringLiteral("%1 个单词（%2）").arg(rows.size()).arg(m_model.sortName()));
    updateButtons();
}

void NotebookForm::updateButtons()
{
    const bool any = selectedId() != 0;
    for (const QString &name : kButtons) {
        auto *b = findChild<QPushButton *>(name);
        if (!b)
            continue;
        b->setVisible(m_model.isButtonVisible(name));
        if (name == QLatin1String("btPlay") || name == QLatin1String("btDelete"))
            b->setEnabled(any);
        else if (name == QLatin1String("btShowSource")) {
            const int row = m_model.rowOf(selectedId());
            b->setEnabled(row >= 0 && m_model.rows().at(row).sourceNumber() >= 0);
        } else if (name == QLatin1String("btMatchWithSrc")) {
            b->setEnabled(m_model.hasRange());
            b->setText(m_model.onlyRange() || !m_model.hasRange() ? QStringLiteral("全部单词") : QStringLiteral("只看本课"));
        } else if (name == QLatin1String("btReview")) {
            const int due = m_model.isLoaded() ? m_model.dueCount(QDateTime::currentMSecsSinceEpoch()) : 0;
            b->setText(QStringLiteral("复习 (%1)").arg(due));
            b->setEnabled(due > 0);
            // The whole notebook's window offers the review first when words are due.
            b->setDefault(due > 0 && !m_model.hasRange());
        }
    }
}

qint64 NotebookForm::selectedId() const
{
    const QList<QTableWidgetItem *> items = m_table->selectedItems();
    return items.isEmpty() ? 0 : items.first()->data(Qt::UserRole).toLongLong();
}

void NotebookForm::selectWord(const QString &word)
{
    for (int r = 0; r < m_table->rowCount(); ++r)
        if (m_table->item(r, 0)->text().compare(word, Qt::CaseInsensitive) == 0)
            m_table->selectRow(r);
}

void NotebookForm::btPlay_click()
{
    const int row = m_model.rowOf(selectedId());
    if (row < 0)
        return;
    if (!m_speaker.speak(m_model.rows().at(row).word))
        m_status->setText(m_speaker.errorText());
}

void NotebookForm::btDelete_click()
{
    const qint64 id = selectedId();
    const int row = m_model.rowOf(id);
    if (row < 0)
        return;
    if (!ShowMessageBox(QStringLiteral("从单词笔记本中删除“%1”吗？").arg(m_model.rows().at(row).word), 0))
        return;
    if (!m_model.removeWord(id))
        m_status->setText(QStringLiteral("未能删除"));
    fillTable();
}

void NotebookForm::btShowSource_click()
{
    if (!m_model.showSource(selectedId()))
        m_status->setText(QStringLiteral("这个单词没有出处"));
}

void NotebookForm::btMatchWithSrc_click()
{
    m_model.setOnlyRange(!m_model.onlyRange());
    fillTable();
}

void NotebookForm::Sort_click()
{
    m_model.cycleSort();
    fillTable();
}

void NotebookForm::btReview_click()
{
    bcNote_ShowReview(this, m_model.noteFile(), m_model.libFile(), NoteDict().appName, m_model.reviewRange());
    m_model.reload();
    fillTable();
}

void NotebookForm::btExport_click()
{
    const QString suggested = QDir::home().filePath(QStringLiteral("单词笔记本.csv"));
    const QString path = g_asker ? g_asker(this, suggested)
                                 : QFileDialog::getSaveFileName(this, QStringLiteral("导出单词"), suggested,
                                                                QStringLiteral("CSV 文件 (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!m_model.exportCsv(path, &error)) {
        ShowMessageBox(error, 1);
        return;
    }
    m_status->setText(QStringLiteral("已导出 %1 个单词到 %2").arg(m_model.rows().size()).arg(path));
}

void NotebookForm::btHelp_click()
{
    if (!NoteDict().helpFile.isEmpty())
        vcHtmlHelp(NoteDict().helpFile);
}

void NotebookForm::btWinClose_click()
{
    // The toolkit routes a window-system close here too: leave through done().
    reject();
    if (testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}

void NotebookForm::Form_Unload()
{
    if (m_reported)
        return;
    m_reported = true;
    m_model.reportClosed(PixelsToTwips(x()), PixelsToTwips(y()));
}

bool NotebookForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btWinClose_click();
        return true;
    }
    if (event->key() == Qt::Key_Delete && !m_search->hasFocus()) {
        btDelete_click();
        return true;
    }
    return false;
}

} // namespace mvx
