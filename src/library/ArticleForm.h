#pragma once
// The article library window, the program's home window: the lesson tree, the learn,
// notebook, reviewer, word-sound, help and exit commands and the link labels. The logic
// lives in ArticleLibrary; this widget shows it and opens the windows the commands lead to.
#include "ArticleLibrary.h"
#include "LibrarySearch.h"
#include "ui/CLinkGroup.h"
#include <QIcon>
#include <QLabel>
#include <QStyle>
#include "ui/SkinnedWindow.h"

#include <functional>
#include <memory>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace mvx {

class ArticleForm final : public SkinnedWindow, private LearningRoutes
{
    Q_OBJECT

public:
    explicit ArticleForm(QWidget *parent = nullptr);
    ~ArticleForm() override;

    [[nodiscard]] ArticleLibrary &library() { return m_library; }
    [[nodiscard]] QTreeWidget *tree() const { return m_tree; }
    // Selects a node by key in the tree and the logic (tests, restoring).
    bool selectNodeByKey(const QString &key);
    // Reads the index again and selects the node with the key (when there is one).
    void reloadTree(const QString &selectKey);

    // The lesson player, quiz and spelling test, as they become available to this window.
    struct Destinations
    {
        std::function<bool(QWidget *library, const QString &bookFile, int lessonNo)> player;
        // The player opened at one sentence of the lesson (a library search hit).
        std::function<bool(QWidget *library, const QString &bookFile, int lessonNo, int sentence)> playerAt;
        std::function<bool(QWidget *library, const QString &bookFile, int lessonNo, const QString &quizFile,
                           const QString &title)> quiz;
        std::function<bool(QWidget *library, const QString &bookFile, int firstSentence, int count)> spellTest;
    };
    static void SetDestinations(const Destinations &destinations);

    Q_INVOKABLE void btRepeat_click();
    Q_INVOKABLE void btNotebook_click();
    Q_INVOKABLE void btReviewer_click();
    Q_INVOKABLE void btCopySound_click();
    // "添加课文": the import dialog; the tree then shows and selects the new article.
    Q_INVOKABLE void btAddLesson_click();
    Q_INVOKABLE void btHelp_click();
    Q_INVOKABLE void btExit_click();
    Q_INVOKABLE void btWinClose_click();
    Q_INVOKABLE void btWinMin_click();
    // Called back by the step dialog with the confirmed step.
    Q_INVOKABLE void LearnArticle(const QString &step);
    // The search field's Enter: searches every lesson of the index and shows the hits; a
    // chosen hit opens the player at its sentence.
    void SearchLibrary(const QString &query);
    [[nodiscard]] QLineEdit *SearchField() const { return m_search; }
    // Opens the player at a hit, as "全面学习" does for the selected article.
    void OpenHit(const LibraryHit &hit);
    // The "学习记录" window over the learner's listening history (the tree's menu); a
    // sentence chosen there opens the player at it.
    QDialog *ShowStudyRecord();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void closeEvent(QCloseEvent *event) override;
    // A move that reaches the window is off every link: the link under the pointer before
    // loses its underline, as it does when the pointer leaves the link for another control.
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillTree();
    void hideLibrary() override;
    void showLibrary() override;
    void tellLearner(const QString &text) override;
    void openPlayer(const QString &bookFile, int lessonNo) override;
    void openQuiz(const QString &bookFile, int lessonNo, const QString &quizFile, const QString &title) override;
    void runSpellTest(const QString &bookFile, int firstSentence, int count) override;
    void recommendToFriend();
    void setCategoryPicture(QTreeWidgetItem *item, const QIcon &picture);
    [[nodiscard]] QIcon treePicture(const QString &name, QStyle::StandardPixmap fallback) const;

    ArticleLibrary m_library;
    CLinkGroup m_links;
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_search = nullptr;
    std::unique_ptr<LibrarySearch> m_searcher; // kept for the run: only its first search checks the books
    QVector<QTreeWidgetItem *> m_items; // by node index
    QIcon m_iconClosed, m_iconOpen, m_iconArticle;
};

// The sibling review program ("mvxreviewer"): in the program home first, then beside the
// executable, then on PATH; "" when there is none.
[[nodiscard]] QString FindReviewerProgram(const QString &home);

// Shown when a learning step's window is not part of this build yet.
[[nodiscard]] QString StepNotAvailableMessage(const QString &stepLabel);

} // namespace mvx
