// The article index as the library window reads it (UTF-8 or GB18030 bytes), the book
// maker's tree of the same file, the index editor adding a lesson to it, and a newer
// installation's index merged into it (and it into a learner's).
#include "FuzzSupport.h"
#include "core/IndexMerge.h"
#include "libs/bookmaker/IndexEditor.h"
#include "libs/bookmaker/IndexTree.h"
#include "library/ArticleIndex.h"

#include <QDir>

using namespace mvx;

namespace {

// The merge keeps every line of the learner's in order and is done after one pass.
void CheckMerge(const QStringList &learner, const QStringList &shipped)
{
    int added = 0;
    const QStringList merged = IndexMerge::Merge(learner, shipped, {}, false, &added);
    qsizetype at = 0;
    for (const QString &line : merged)
        if (at < learner.size() && line == learner[at])
            ++at;
    FUZZ_CHECK(at == learner.size(), QStringLiteral("a learner's line was lost or moved"));
    FUZZ_CHECK(merged.size() >= learner.size() + added, QString::number(added));
    int again = -1;
    FUZZ_CHECK(IndexMerge::Merge(merged, shipped, {}, false, &again) == merged && again == 0,
               QStringLiteral("a second merge changed the index"));
}

} // namespace

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

    const QStringList indexLines = fuzz::lines(fuzz::readFile(path));
    const QStringList sample{QStringLiteral("CLAS0001Science||brxspecial"), QStringLiteral("CLAS0002Animals"),
                             QStringLiteral("FILEFrogs|sentra|frogs.dat|0|0"), QStringLiteral("CLAS0001Life||brxspecial")};
    CheckMerge(sample, indexLines);
    CheckMerge(indexLines, sample);
    CheckMerge(indexLines, indexLines);

    const IndexTree editorTree(indexLines);
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
