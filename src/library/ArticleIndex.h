#pragma once
// The article index ("BrxSpecialIdx.txt") and the library tree built from it:
// CLAS lines (top categories with their library folder after "||", sub-categories by level)
// and FILE lines (title|type|book|lesson|fourth; fewer fields make the line malformed).
// Every node gets a unique key that carries what the commands need; keys hold a 4-digit node counter, so at most
// 9,999 nodes are built. Plain logic: the window and the command-line tool both use it.
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace mvx {

struct ArticleNode
{
    QString key;
    QString label;
    int parent = -1; // index into the node list, -1 for a top category
    int line = 0;    // 0-based line of the index file the node comes from
    int level = 0;   // categories: the level written in the line; 0 for articles
    QString folder;  // library folder of the enclosing top category
    [[nodiscard]] bool isArticle() const;
};

struct ArticleTree
{
    QVector<ArticleNode> nodes; // in file order
    bool opened = false;        // the index file could be read
    int stoppedAtLine = 0;      // 1-based line where a malformed line stopped loading, 0 = none
    bool hitNodeLimit = false;  // loading stopped at the 9,999-node limit
    // Message for the learner when the index could not be read or was cut short; empty otherwise.
    QString message;
    [[nodiscard]] int indexOfKey(const QString &key) const;
};

// What an article node's key names.
struct ArticleInfo
{
    QString fileType;  // "sentra" for a sentence book
    QString bookFile;  // file name inside the library folder
    int lessonNo = 0;
    int fourthField = 0;
    QString folder;    // library folder of the top category
    [[nodiscard]] QString fileName() const; // folder + "/" + book file, relative to the home
};

class ArticleIndex final
{
public:
    static constexpr int MaxNodes = 9999;
    static constexpr int MaxLineBytes = 198;

    // Builds the tree from the index's lines. indexFileName gives the folder prefix of
    // every library folder (empty for a plain file name in the home).
    [[nodiscard]] static ArticleTree build(const QString &indexFileName, const QStringList &lines);
    // Reads the index file (UTF-8, else GBK) and builds the tree.
    [[nodiscard]] static ArticleTree buildFromFile(const QString &indexFileName);

    [[nodiscard]] static bool isArticleKey(const QString &key);
    // Depth of a category from its key: 1 for top categories.
    [[nodiscard]] static int categoryDepth(const QString &key);
    [[nodiscard]] static std::optional<ArticleInfo> parseArticleKey(const QString &key);
    // One line per node, "key<TAB>label", for checking an index by hand.
    [[nodiscard]] static QStringList describe(const ArticleTree &tree);
};

} // namespace mvx
