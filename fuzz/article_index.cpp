// The article index as the library window reads it (UTF-8 or GB18030 bytes), the book
// maker's tree of the same file, and the index editor adding a lesson to it.
#include "FuzzSupport.h"
#include "libs/bookmaker/IndexEditor.h"
#include "libs/bookmaker/IndexTree.h"
#include "library/ArticleIndex.h"

#include <QDir>

using namespace mvx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::setUp();
    const QString path = fuzz::writeFile(QStringLiteral("BrxSpecialIdx.txt"), fuzz::input(data, size));

    const ArticleTree tree = ArticleIndex::buildFromFile(path);
    FUZZ_CHECK(tree.nodes.size() <= ArticleIndex::MaxNodes, QString::number(tree.nodes.size()));
    for (const ArticleNode &node : tree.nodes) {
        FUZZ_CHECK(node.parent < tree.nodes.size(), node.key);
        if (node.isArticle()) {
            const auto info = ArticleIndex::parseArticleKey(node.key);
            if (info)
                (void)info->fileName();
        } else {
            (void)ArticleIndex::categoryDepth(node.key);
        }
        FUZZ_CHECK(tree.indexOfKey(node.key) >= 0, node.key);
    }
    (void)ArticleIndex::describe(tree);

    const IndexTree editorTree(fuzz::lines(fuzz::readFile(path)));
    for (int i = 0; i < editorTree.nodes().size(); ++i) {
        FUZZ_CHECK(editorTree.nodes()[i].parent < i, QString::number(i));
        (void)editorTree.categoryPathOf(i);
    }

    // A lesson added to the index must show under its category when read back.
    IndexEditor editor;
    if (editor.load(path).isError())
        return 0;
    QDir(fuzz::scratch()).mkpath(QStringLiteral("books"));
    if (editor.addArticle(QStringLiteral("Fuzz/Added"), QStringLiteral("Added lesson"),
                          fuzz::scratch() + QStringLiteral("/books/added.dat"), 0)
            .isError())
        return 0;
    if (editor.save().isError())
        return 0;
    const IndexTree after(fuzz::lines(fuzz::readFile(path)));
    const int category = after.findCategory({QStringLiteral("Fuzz"), QStringLiteral("Added")});
    FUZZ_CHECK(category >= 0, QStringLiteral("the added category is missing"));
    bool found = false;
    for (int child : after.children(category))
        found = found || after.nodes()[child].name == QLatin1String("Added lesson");
    FUZZ_CHECK(found, QStringLiteral("the added lesson is missing"));
    return 0;
}
