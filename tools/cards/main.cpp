// mvxbrx-cards: sentence cards (clips and a CSV for Anki) of one lesson of a sentence book.
#include "CardsArguments.h"
#include "libs/sentra/SentraBook.h"
#include "player/excerpt/ExcerptFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

const char *const Usage = R"(用法 / usage:
  mvxbrx-cards --book B.dat --lesson N (--sentences 3-5 | --marked) --out DIR [--pad MS]

把一课的句子做成卡片：每句一个 MP3（前后留出最多 MS 毫秒的静音，默认 150），
和一个 CSV 文件（英文、中文、注释、声音），可导入 Anki。
  --lesson     课号，按节目索引的编号，从 0 开始
  --sentences  句号，按播放器上“第 n 句”的编号；一句也可以只写 4
  --marked     这一课标记过的句子
  --out        输出文件夹（没有就新建）
在 Anki 里：先把 MP3 文件拷进用户资料的 collection.media 文件夹（不要子文件夹），再导入 CSV。)";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        print(args.isEmpty() ? stderr : stdout, QString::fromUtf8(Usage));
        return args.isEmpty() ? 1 : 0;
    }
    const mvx::excerpt::CardsArguments a = mvx::excerpt::CardsArguments::Parse(args);
    if (!a.error.isEmpty()) {
        print(stderr, a.error);
        return 1;
    }
    mvx::sentra::SentraBook book;
    if (!book.open(a.book, false)) {
        print(stderr, QStringLiteral("--book %1：不是句子书（%2）").arg(a.book, book.lastError()));
        return 1;
    }
    QString error;
    const QList<int> sentences = mvx::excerpt::SentenceCards::Select(book, a.lesson, a.selection, &error);
    if (sentences.isEmpty()) {
        const QString arg = !book.lessonInfo(a.lesson) ? QStringLiteral("--lesson %1").arg(a.lesson)
                            : a.selection.marked       ? QStringLiteral("--marked")
                                                       : QStringLiteral("--sentences %1-%2").arg(a.selection.first).arg(a.selection.last);
        print(stderr, QStringLiteral("%1：%2").arg(arg, error));
        return 1;
    }
    mvx::excerpt::ExcerptFiles files;
    const std::atomic<bool> cancel{false};
    const int cards = mvx::excerpt::SentenceCards::Export(book, a.lesson, sentences, a.out, a.padMs, files, cancel,
                                                          nullptr, &error);
    if (cards < 0) {
        print(stderr, QStringLiteral("--out %1：%2").arg(a.out, error));
        return 1;
    }
    print(stdout, QStringLiteral("%1 张卡片已写入 %2（%3）")
                      .arg(cards)
                      .arg(QDir::toNativeSeparators(a.out), mvx::excerpt::SentenceCards::CsvName(a.book, a.lesson)));
    return 0;
}
