#pragma once
// The source of one bundled article (data/library/articles/*.txt, described in
// data/library/FORMAT.md): "category:" and "book:" lines, then the title block
// ("title:", "zh:", "note:") and one block per sentence ("en:", "zh:", "note:").
// Key words are marked in the English as *word*.
#include "core/InputError.h"

#include <QList>
#include <QStringList>

namespace mvx {

struct ArticleSentence
{
    QString english; // with its key-word marks
    QString chinese;
    QString note;
    int line = 0;    // 1-based line of the "title:" or "en:" line
};

struct ArticleSource
{
    QString category; // "Top/Sub"
    QString book;     // book file name, such as "文化习俗.dat"
    QList<ArticleSentence> sentences; // sentence 0 is the title line
    InputError error;

    [[nodiscard]] static ArticleSource parse(const QStringList &lines, const QString &fileName);
    [[nodiscard]] static ArticleSource read(const QString &path);
};

} // namespace mvx
