#pragma once
// What the article library window does, without the window: the tree of the article
// index with its selection, restoring and saving the last article, and the learn command
// with its three steps. The windows the steps open come in through LearningRoutes.
#include "ArticleIndex.h"

#include <QString>

namespace mvx {

// Where the learning steps lead; the library window supplies the real windows.
class LearningRoutes
{
public:
    virtual ~LearningRoutes() = default;
    virtual void hideLibrary() = 0;
    virtual void showLibrary() = 0;
    // Loads the lesson player, opens the lesson and shows the player.
    virtual void openPlayer(const QString &bookFile, int lessonNo) = 0;
    virtual void openQuiz(const QString &bookFile, int lessonNo, const QString &quizFile, const QString &title) = 0;
    // Runs the spelling test over the sentences [firstSentence, firstSentence + count) of the book.
    virtual void runSpellTest(const QString &bookFile, int firstSentence, int count) = 0;
    // Tells the learner why a step cannot start.
    virtual void tellLearner(const QString &text) = 0;
};

class ArticleLibrary final
{
public:
    static constexpr auto FirstTest = "FirstTest";
    static constexpr auto DetailListen = "DetailListen";
    static constexpr auto LastTest = "LastTest";

    // Builds the tree from the index file and restores the selection (LastArticle, else the
    // first top category). Returns a message for the learner, empty when all went well.
    QString load(const QString &indexFileName);

    [[nodiscard]] const ArticleTree &tree() const { return m_tree; }
    [[nodiscard]] int selectedIndex() const { return m_selected; }
    [[nodiscard]] QString selectedKey() const;
    [[nodiscard]] QString selectedLabel() const;
    void select(int nodeIndex);
    bool selectKey(const QString &key);

    [[nodiscard]] bool ArticleSelected() const;
    // The selected article's file (folder/book), type and lesson; saves LastArticle.
    [[nodiscard]] std::optional<ArticleInfo> GetSelectedItemInfo();
    // Learn command: false with the message when no article is selected; else sets
    // CurArticleTitle and the caller shows the step dialog.
    bool prepareLearning(QString *message);
    // Runs a confirmed learning step; an unknown step does nothing.
    void LearnArticle(const QString &step, LearningRoutes &routes);
    // Exit command: the selected node's key (a category too) becomes LastArticle.
    void saveLastArticle();

    // Quiz file of a book: "quiz/" + book name without folder and extension + ".txt".
    [[nodiscard]] static QString quizFileFor(const QString &bookFile);

private:
    ArticleTree m_tree;
    int m_selected = -1;
};

} // namespace mvx
