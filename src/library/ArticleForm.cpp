#include "ArticleForm.h"

#include "AddLessonForm.h"
#include "LearnStepsForm.h"
#include "LibrarySearchForm.h"
#include "ManageSoundForm.h"
#include "core/AppState.h"
#include "core/WorkingFiles.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "player/studyrecord/StudyRecordForm.h"
#include "ui/LinkActions.h"
#include "ui/MessageBox.h"
#include "ui/SkinLabel.h"
#include "ui/SkinPictures.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QTreeWidget>
#include <QUrl>
#include <QUrlQuery>

namespace mvx {

namespace {

ArticleForm::Destinations &destinations()
{
    static ArticleForm::Destinations d;
    return d;
}

const QString kSite = QStringLiteral("https://www.morvexsoft.example/");

struct LinkSpec
{
    const char *caption;
    QString tag;
};

QVector<LinkSpec> linkSpecs()
{
    return {
        {"推荐给朋友", QString()},
        {"www.morvexsoft.example", QStringLiteral("web-") + kSite},
        {"英语资料下载", QStringLiteral("web-") + kSite + QStringLiteral("download/material")},
        {"补丁和升级包下载", QStringLiteral("web-") + kSite + QStringLiteral("download/updates")},
        {"Morvex英语软件下载", QStringLiteral("web-") + kSite + QStringLiteral("download")},
        {"Sentra", QStringLiteral("help-sentra")},
        {"Vocabra", QStringLiteral("help-vocabra")},
        {"MorvexEchomax", QStringLiteral("help-echomax")},
        {"Morvex英语Mirada", QStringLiteral("help-mirada")},
        {"技术支持电子邮件", QStringLiteral("mail-support@morvexsoft.example")},
        {"常见问题解答", QStringLiteral("web-") + kSite + QStringLiteral("faq")},
        {"如何购买", QStringLiteral("web-") + kSite + QStringLiteral("buy")},
    };
}

} // namespace

QString StepNotAvailableMessage(const QString &stepLabel)
{
    return QStringLiteral("“%1”这一步暂时还不能使用，请先选择“全面学习”。").arg(stepLabel);
}

void ArticleForm::SetDestinations(const Destinations &d)
{
    destinations() = d;
}

ArticleForm::ArticleForm(QWidget *parent) : SkinnedWindow(QStringLiteral("ArticleForm"), false, parent)
{
    setObjectName(QStringLiteral("ArticleForm"));
    SetDesignSize(10500, 7650);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("特别英语(Special English)"), 300, 90, 5000, 330);
    AddButton(QStringLiteral("btWinMin"), 9600, 75, 330, 330);
    AddButton(QStringLiteral("btWinClose"), 10020, 75, 330, 330);
    AddLabel(QStringLiteral("lbTreeTitle"), QStringLiteral("文章目录"), 300, 600, 3000, 300);
    int top = 960;
    for (const char *tag : {"btRepeat", "btAddLesson", "btNotebook", "btReviewer", "btCopySound", "btHelp", "btExit"}) {
        AddButton(QString::fromLatin1(tag), 7350, top, 2700, 480);
        top += 560;
    }
    AddLabel(QStringLiteral("lbSeries"), QStringLiteral("Morvex英语系列软件"), 7350, 4860, 2800, 300);
    AddLabel(QStringLiteral("lbVersion"), QStringLiteral("Version 1.1"), 7350, 5190, 2800, 300);
    AddLabel(QStringLiteral("lbSupport"), QStringLiteral("技术支持"), 300, 6180, 1200, 300);
    AddLabel(QStringLiteral("lbSite"), QStringLiteral("Morvex英语网"), 300, 6600, 1200, 300);
    // The link labels flow in rows beside the two captions, each as wide as its text.
    const QVector<LinkSpec> links = linkSpecs();
    const int rowStart = TwipsToPixels(1560);
    const int rowEnd = TwipsToPixels(10500 - 240);
    int x = rowStart;
    int row = 0;
    for (int i = 0; i < links.size(); ++i) {
        SkinLabel *label = AddSkinLabel(QStringLiteral("lbLink"), i, links[i].tag, QString::fromUtf8(links[i].caption),
                                        1560, 6180, 1480, 330);
        const int width = label->fontMetrics().horizontalAdvance(label->text()) + 6;
        if (x + width > rowEnd && x > rowStart) {
            x = rowStart;
            ++row;
        }
        label->setGeometry(x, TwipsToPixels(6180 + row * 420), width, TwipsToPixels(330));
        x += width + 14;
    }
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setPlaceholderText(QStringLiteral("搜索全部课文"));
    m_search->setClearButtonEnabled(true);
    // Above the tree, ending where it ends.
    m_search->setGeometry(TwipsToPixels(3450), TwipsToPixels(540), TwipsToPixels(3450), TwipsToPixels(360));
    connect(m_search, &QLineEdit::returnPressed, this, [this] { SearchLibrary(m_search->text()); });
    m_iconClosed = treePicture(QStringLiteral("tree-closed"), QStyle::SP_DirClosedIcon);
    m_iconOpen = treePicture(QStringLiteral("tree-open"), QStyle::SP_DirOpenIcon);
    m_iconArticle = treePicture(QStringLiteral("tree-article"), QStyle::SP_FileIcon);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("treeArticle"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setGeometry(20, 64, 440, 338);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        m_library.select(item ? m_items.indexOf(item) : -1);
    });
    connect(m_tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *item) { setCategoryPicture(item, m_iconOpen); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *item) { setCategoryPicture(item, m_iconClosed); });
    // The tree's menu (right button or the menu key) adds a lesson.
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tree, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("添加课文"), this, &ArticleForm::btAddLesson_click);
        menu.addAction(QStringLiteral("学习记录"), this, &ArticleForm::ShowStudyRecord);
        menu.exec(m_tree->viewport()->mapToGlobal(at));
    });
    // A double click on an article is the shortest road to learning it.
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item && item->childCount() == 0 && m_library.ArticleSelected())
            btRepeat_click();
    });
}

ArticleForm::~ArticleForm() = default;

void ArticleForm::setCategoryPicture(QTreeWidgetItem *item, const QIcon &picture)
{
    // Articles keep their own picture whatever the view does to them.
    if (item && item->data(0, Qt::UserRole).toString().startsWith(QLatin1String("ROOT")))
        item->setIcon(0, picture);
}

QIcon ArticleForm::treePicture(const QString &name, QStyle::StandardPixmap fallback) const
{
    // The tree's three pictures come with the window's skin; the style's own stand in.
    const QString path = skin::FindPicture(skin::WindowFolder(App().skinRoot, FormName()), QString(), name);
    const QPixmap picture = path.isEmpty() ? QPixmap() : skin::LoadPicture(path, devicePixelRatioF());
    return picture.isNull() ? style()->standardIcon(fallback) : QIcon(picture);
}

void ArticleForm::Form_Load()
{
    m_links.InitLabelHelpFile(QStringLiteral("mvxbrxspecial.chm"));
    m_links.AddLinkLabels(this);
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbLink"))) {
        connect(label, &SkinLabel::mouseMoved, this, [this](SkinLabel *l) { m_links.ButtonEnter(l); });
        connect(label, &SkinLabel::mousePressed, this, [this](SkinLabel *l, Qt::MouseButton) {
            if (l->property("index").toInt() == 0)
                recommendToFriend();
            else
                m_links.ButtonDown(l);
        });
        connect(label, &SkinLabel::mouseReleased, this, [this](SkinLabel *l, Qt::MouseButton) { m_links.ButtonUp(l); });
        label->installEventFilter(this);
    }
    const QString message = m_library.load(QStringLiteral("BrxSpecialIdx.txt"));
    fillTree();
    if (!message.isEmpty())
        ShowMessageBox(message, 1);
}

void ArticleForm::Form_Unload()
{
    m_links.ClearCurLink();
}

void ArticleForm::mouseMoveEvent(QMouseEvent *event)
{
    m_links.ClearCurLink();
    SkinnedWindow::mouseMoveEvent(event);
}

bool ArticleForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Leave && watched == m_links.CurrentLink())
        m_links.ClearCurLink();
    return SkinnedWindow::eventFilter(watched, event);
}

void ArticleForm::fillTree()
{
    m_tree->clear();
    m_items.clear();
    const ArticleTree &tree = m_library.tree();
    for (const ArticleNode &node : tree.nodes) {
        auto *item = node.parent < 0 ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(m_items[node.parent]);
        item->setText(0, node.label);
        item->setData(0, Qt::UserRole, node.key);
        item->setIcon(0, node.isArticle() ? m_iconArticle : m_iconClosed);
        m_items.push_back(item);
    }
    const int first = tree.indexOfKey(QStringLiteral("ROOT0001-0001"));
    if (first >= 0)
        m_items[first]->setExpanded(true);
    const int selected = m_library.selectedIndex();
    if (selected >= 0) {
        m_tree->setCurrentItem(m_items[selected]);
        m_tree->scrollToItem(m_items[selected]);
    }
}

bool ArticleForm::selectNodeByKey(const QString &key)
{
    const int index = m_library.tree().indexOfKey(key);
    if (index < 0)
        return false;
    m_tree->setCurrentItem(m_items[index]);
    return true;
}

void ArticleForm::btRepeat_click()
{
    QString message;
    if (!m_library.prepareLearning(&message)) {
        ShowMessageBox(message, 1);
        return;
    }
    LearnStepsForm steps(this);
    steps.SetCallingForm(this);
    steps.Load();
    steps.exec();
}

void ArticleForm::LearnArticle(const QString &step)
{
    m_library.LearnArticle(step, *this);
}

void ArticleForm::SearchLibrary(const QString &query)
{
    if (LibrarySearch::QueryPhrases(query).isEmpty()) {
        ShowMessageBox(QStringLiteral("请输入要查的单词或汉字"), 1);
        return;
    }
    if (!m_searcher)
        m_searcher = std::make_unique<LibrarySearch>(QStringLiteral("BrxSpecialIdx.txt"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const LibrarySearchResult result = m_searcher->Search(query, LibrarySearchForm::MaxRows);
    QApplication::restoreOverrideCursor();
    LibrarySearchForm form(this);
    form.Load();
    form.ShowResult(query.trimmed(), result);
    if (form.exec() == QDialog::Accepted && form.ChosenHit())
        OpenHit(*form.ChosenHit());
}

void ArticleForm::OpenHit(const LibraryHit &hit)
{
    App().curArticleTitle = hit.title;
    hideLibrary();
    QFile::remove(WorkingFiles::TmpDigest);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = destinations().playerAt && destinations().playerAt(this, hit.bookFile, hit.lessonNo, hit.sentence);
    QApplication::restoreOverrideCursor();
    if (!opened) {
        show();
        ShowMessageBox(StepNotAvailableMessage(QStringLiteral("全面学习")), 1);
    }
}

QDialog *ArticleForm::ShowStudyRecord()
{
    auto *history = new ListeningHistory(ListeningHistory::DefaultPath());
    auto *form = new StudyRecordForm(*history, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    connect(form, &QObject::destroyed, this, [history] { delete history; }); // after the form
    connect(form, &StudyRecordForm::openSentence, this, [this, form](const QString &book, int lesson, int n) {
        LibraryHit hit;
        hit.bookFile = book;
        hit.lessonNo = lesson;
        hit.sentence = n;
        hit.title = form->Report().title;
        form->close();
        OpenHit(hit);
    });
    if (!history->Notice().isEmpty())
        ShowMessageBox(history->Notice(), 1);
    form->show();
    return form;
}

void ArticleForm::hideLibrary()
{
    // Lessons may change while the library is away (edited sentences, added lessons).
    m_searcher.reset();
    hide();
}

void ArticleForm::showLibrary()
{
    show();
}

void ArticleForm::openPlayer(const QString &bookFile, int lessonNo)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = destinations().player && destinations().player(this, bookFile, lessonNo);
    QApplication::restoreOverrideCursor();
    if (!opened) {
        show();
        ShowMessageBox(StepNotAvailableMessage(QStringLiteral("全面学习")), 1);
    }
}

void ArticleForm::openQuiz(const QString &bookFile, int lessonNo, const QString &quizFile, const QString &title)
{
    if (!destinations().quiz || !destinations().quiz(this, bookFile, lessonNo, quizFile, title)) {
        show();
        ShowMessageBox(StepNotAvailableMessage(QStringLiteral("初听练习")), 1);
    }
}

void ArticleForm::tellLearner(const QString &text)
{
    ShowMessageBox(text, 1);
}

void ArticleForm::runSpellTest(const QString &bookFile, int firstSentence, int count)
{
    if (!destinations().spellTest || !destinations().spellTest(this, bookFile, firstSentence, count))
        ShowMessageBox(StepNotAvailableMessage(QStringLiteral("过关测验")), 1);
}

void ArticleForm::btNotebook_click()
{
    const QString note = QStringLiteral("notebook/brxspecial_note");
    if (bcNote_LoadEx(this, note, note + QStringLiteral(".lib"), App().appName, 0, 0, -1, -1, 0, QString()) == -1) {
        ShowMessageBox(QStringLiteral("单词笔记本现在没有单词\r\n\r\n您可以在学习时鼠标右键点击句单词\r\n\r\n"
                                      "在查出单词解释后，就能将单词存入笔记本中"),
                       1);
        return;
    }
    // The library window has no lesson to show sources from and nothing to sort against.
    bcNote_ShowButton(QStringLiteral("btShowSource"), 0);
    bcNote_ShowButton(QStringLiteral("btMatchWithSrc"), 0);
    bcNote_ShowButton(QStringLiteral("Sort"), 0);
    bcNote_ShowModal();
}

QString FindReviewerProgram(const QString &home)
{
    const QString name = QStringLiteral("mvxreviewer");
    // A copy that ships the reviewer keeps it in its home or beside its executable.
    for (const QString &folder : {home, QCoreApplication::applicationDirPath()}) {
        const QFileInfo candidate(QDir(folder).filePath(name));
        if (!folder.isEmpty() && candidate.isFile() && candidate.isExecutable())
            return candidate.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

void ArticleForm::btReviewer_click()
{
    const QString program = FindReviewerProgram(App().appPath);
    if (!program.isEmpty())
        QProcess::startDetached(program, {}, App().appPath);
}

void ArticleForm::btCopySound_click()
{
    ManageSoundForm form(this);
    form.Load();
    form.exec();
}

void ArticleForm::btAddLesson_click()
{
    AddLessonForm form(QDir(App().appPath).filePath(QStringLiteral("BrxSpecialIdx.txt")), this);
    form.SetImportedHandler([this](const QString &key) { reloadTree(key); });
    form.Load();
    form.exec();
}

void ArticleForm::reloadTree(const QString &selectKey)
{
    m_searcher.reset(); // the index changed: check the books again at the next search
    const QString message = m_library.load(QStringLiteral("BrxSpecialIdx.txt"));
    fillTree();
    if (!selectKey.isEmpty() && selectNodeByKey(selectKey))
        m_tree->scrollToItem(m_tree->currentItem());
    else if (!message.isEmpty())
        ShowMessageBox(message, 1);
}

void ArticleForm::btHelp_click()
{
    if (const auto &open = CurrentLinkActions().openHelp)
        open(QStringLiteral("mvxbrxspecial.chm"));
}

void ArticleForm::btExit_click()
{
    close();
}

void ArticleForm::closeEvent(QCloseEvent *event)
{
    // Every way out (exit button, close button, the window system) keeps the selection
    // for the next start, then closes for good: this is the program's last window.
    m_library.saveLastArticle();
    QDialog::closeEvent(event);
}

void ArticleForm::btWinClose_click()
{
    btExit_click();
}

void ArticleForm::btWinMin_click()
{
    showMinimized();
}

void ArticleForm::recommendToFriend()
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("向你推荐《Morvex英语Lentoria》软件"));
    query.addQueryItem(QStringLiteral("body"),
                       QStringLiteral("我在用《Morvex英语Lentoria》练习英语精听：逐句播放慢速英语新闻，"
                                      "中英文对照，还能复读、查词、记生词。推荐你也试试：") + kSite);
    // The mail action adds "mailto:"; an empty recipient leaves the address to the learner.
    if (const auto &start = CurrentLinkActions().startMail)
        start(QStringLiteral("?") + query.toString(QUrl::FullyEncoded));
}

} // namespace mvx
