// mvxbrx-makebook: makes a lesson of a sentence book from a learner's own sound and texts.
#include "QuizInstall.h"
#include "libs/bookmaker/BookMaker.h"
#include "library/ArticleIndex.h"
#include "libs/sentra/SentraBook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

const char *const Usage = R"(用法 / usage:
  mvxbrx-makebook --book B.dat --audio A [--lrc L | --subtitles S [--regroup] | --text E]
                  [--translation C] [--comments M]
                  [--title-line] [--index BrxSpecialIdx.txt --category "大类/小类" --title "文章标题"]
                  [--quiz Q.txt]
  mvxbrx-makebook --book B.dat --quiz Q.txt [--index BrxSpecialIdx.txt]
  mvxbrx-makebook --book B.dat --list
  mvxbrx-makebook --index BrxSpecialIdx.txt --tree

把自己的听力材料做成一课：新建句子书，或加为已有句子书的下一课。
  --audio        声音文件：MP3、WAV、FLAC 或 OGG
  --lrc          LRC 歌词文件：每行 [分:秒.百分秒] 一句英文；与上一行时间相同的一行是这句的中文；
                 每句到下一句开始为止，最后一句到声音结束
  --subtitles    字幕文件：SRT 或 WebVTT；每条字幕一句，用字幕自己的开始和结束时间；
                 双语字幕里以中文为主的行是中文，其余是英文；只有 [Music] 之类声音标记的字幕跳过
  --regroup      （和 --subtitles 一起用）按句号、问号、叹号把字幕重新合成完整的句子，
                 一条字幕里有几句时在声音的停顿处分开
  --text         文本文件：每行一句英文，句子时间从声音里的停顿自动找出
  --translation  中文翻译：每句一行（空行表示这句没有翻译）
  --comments     注释：每句一行（空行表示没有注释）
  --title-line   LRC、字幕或文本的第一句是课文标题（第 0 句）
  --index        把课文加入节目索引（书必须在大类的文章库文件夹中）；--category 是类别，
                 --title 是目录里显示的标题（有 --title-line 时可省略，用标题行）
  --quiz         初听练习的测验文件（格式见 QUIZ_FORMAT.md）：先用测验生成器检查，再装到节目文件夹
                 （--index 所在的文件夹，否则当前文件夹）的 quiz/书名.txt；测验按书命名，
                 一本书的几课共用一个测验。只给 --book 和 --quiz 时给已有的书添加或替换测验
  --list         列出书中每一句：课号、句号、开始毫秒、结束毫秒、英文、中文、
                 学习者调整后的开始毫秒、结束毫秒
  --tree         按文章目录窗口的方式读索引，每个节点一行：键、制表符、显示的名称
英文里用 *单词* 标出关键词。出错时书和索引都保持原样。)";

int refused(const mvx::InputError &e)
{
    print(stderr, e.toString());
    print(stderr, QStringLiteral("没有做任何改动。"));
    return 1;
}

// Quizzes live in the program home: the index's folder, else the current one.
QString homeOf(const QString &index)
{
    return index.isEmpty() ? QDir::currentPath() : QFileInfo(index).absolutePath();
}

void printQuiz(const mvx::QuizInstall &install, const QString &bookPath)
{
    print(stdout, QStringLiteral("测验 %1：%2").arg(install.target(), install.replaced() ? QStringLiteral("已替换")
                                                                                      : QStringLiteral("已安装")));
    mvx::sentra::SentraBook book;
    const int lessons = book.open(bookPath, false) ? book.lessonCount() : 0;
    if (lessons > 1)
        print(stdout, QStringLiteral("这本书的 %1 课共用这一个测验（测验按书命名）").arg(lessons));
}

// --book B.dat --quiz Q.txt: adds or replaces the quiz of an existing book.
int installQuizOnly(const QString &bookPath, const QString &source, const QString &index)
{
    if (bookPath.isEmpty()) {
        print(stderr, QStringLiteral("--quiz 需要 --book"));
        return 2;
    }
    mvx::sentra::SentraBook book;
    if (!QFileInfo::exists(bookPath))
        return refused({bookPath, 0, QStringLiteral("句子书不存在")});
    if (!book.open(bookPath, false))
        return refused({bookPath, 0, QStringLiteral("无法打开句子书：%1").arg(book.lastError())});
    book.close();
    mvx::QuizInstall install;
    if (mvx::InputError e = install.prepare(source, bookPath, homeOf(index)); e.isError())
        return refused(e);
    if (mvx::InputError e = install.finish(); e.isError())
        return refused(e);
    printQuiz(install, bookPath);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mvxbrx-makebook"));
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help"));
    const QCommandLineOption book(QStringLiteral("book"), {}, QStringLiteral("B.dat"));
    const QCommandLineOption audio(QStringLiteral("audio"), {}, QStringLiteral("A"));
    const QCommandLineOption lrc(QStringLiteral("lrc"), {}, QStringLiteral("L"));
    const QCommandLineOption text(QStringLiteral("text"), {}, QStringLiteral("E"));
    const QCommandLineOption subtitles(QStringLiteral("subtitles"), {}, QStringLiteral("S"));
    const QCommandLineOption regroup(QStringLiteral("regroup"), {});
    const QCommandLineOption translation(QStringLiteral("translation"), {}, QStringLiteral("C"));
    const QCommandLineOption comments(QStringLiteral("comments"), {}, QStringLiteral("M"));
    const QCommandLineOption titleLine(QStringLiteral("title-line"), {});
    const QCommandLineOption index(QStringLiteral("index"), {}, QStringLiteral("I"));
    const QCommandLineOption category(QStringLiteral("category"), {}, QStringLiteral("Top/Sub"));
    const QCommandLineOption title(QStringLiteral("title"), {}, QStringLiteral("T"));
    const QCommandLineOption list(QStringLiteral("list"), {});
    const QCommandLineOption tree(QStringLiteral("tree"), {});
    const QCommandLineOption quiz(QStringLiteral("quiz"), {}, QStringLiteral("Q"));
    parser.addOptions({help, book, audio, lrc, text, subtitles, regroup, translation, comments, titleLine, index, category, title, list, tree,
                       quiz});
    if (!parser.parse(app.arguments())) {
        print(stderr, parser.errorText());
        print(stderr, QString::fromUtf8(Usage));
        return 2;
    }
    if (parser.isSet(help) || argc == 1) {
        print(stdout, QString::fromUtf8(Usage));
        return argc == 1 ? 2 : 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("多余的参数：%1").arg(parser.positionalArguments().join(QLatin1Char(' '))));
        return 2;
    }
    if (parser.isSet(tree)) {
        // The same builder as the library window, so this is exactly what the learner will see.
        const mvx::ArticleTree t = mvx::ArticleIndex::buildFromFile(parser.value(index));
        for (const QString &l : mvx::ArticleIndex::describe(t))
            print(stdout, l);
        if (!t.message.isEmpty())
            print(stderr, t.message);
        return t.opened && t.message.isEmpty() ? 0 : 1;
    }
    if (parser.isSet(list)) {
        QStringList lines;
        const mvx::InputError e = mvx::BookMaker::list(parser.value(book), lines);
        if (e.isError()) {
            print(stderr, e.toString());
            return 1;
        }
        for (const QString &l : lines)
            print(stdout, l);
        return 0;
    }
    if (parser.isSet(quiz) && !parser.isSet(audio))
        return installQuizOnly(parser.value(book), parser.value(quiz), parser.value(index));
    mvx::MakeBookOptions o;
    o.book = parser.value(book);
    o.audio = parser.value(audio);
    o.lrc = parser.value(lrc);
    o.text = parser.value(text);
    o.subtitles = parser.value(subtitles);
    o.regroup = parser.isSet(regroup);
    o.translation = parser.value(translation);
    o.comments = parser.value(comments);
    o.titleLine = parser.isSet(titleLine);
    o.index = parser.value(index);
    o.category = parser.value(category);
    o.title = parser.value(title);
    // Every input, the quiz too, is checked before anything changes; the quiz goes in place last.
    mvx::LessonPlan plan;
    mvx::QuizInstall install;
    mvx::InputError checked = mvx::BookMaker::prepare(o, plan);
    if (!checked.isError() && parser.isSet(quiz))
        checked = install.prepare(parser.value(quiz), o.book, homeOf(o.index));
    if (!checked.isError() && parser.isSet(quiz))
        checked = install.keep(o.index);
    if (checked.isError())
        return refused(checked);
    const QString indexTitle = o.title.trimmed().isEmpty() ? plan.lesson.title : o.title.trimmed();
    const mvx::MakeBookResult r = mvx::BookMaker::commit(plan, o.index, o.category, indexTitle);
    if (r.error.isError())
        return refused(r.error);
    if (parser.isSet(quiz))
        if (mvx::InputError e = install.finish(); e.isError())
            return refused(e);
    print(stdout, QStringLiteral("已加入 %1：第 %2 课，%3 句").arg(o.book).arg(r.lessonNo).arg(r.sentenceCount));
    if (r.skippedCues > 0)
        print(stdout, QStringLiteral("跳过了 %1 条没有台词的字幕（只有声音标记或没有文字）").arg(r.skippedCues));
    if (!r.indexLine.isEmpty())
        print(stdout, QStringLiteral("索引 %1：%2").arg(o.index, r.indexLine));
    if (parser.isSet(quiz))
        printQuiz(install, o.book);
    return 0;
}
