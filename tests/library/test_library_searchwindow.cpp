// The library window's search over the bundled library, end to end: a word of a bundled lesson
// typed into the search field, the results dialog, and its row opening the real player at that
// sentence (stopped there, the library hidden, the article title set).
#include "../support/BuiltHome.h"
#include "core/AppState.h"
#include "core/UserSettings.h"
#include "libs/sentra/SentraBook.h"
#include "library/ArticleForm.h"
#include "library/ArticleIndex.h"
#include "library/LibrarySearchForm.h"
#include "library/ProgramShell.h"
#include "player/form/PlayLessonForm.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace mvx;

class TestLibrarySearchWindow : public QObject
{
    Q_OBJECT

    QStringList m_messages;

    // Runs action; hands the modal dialog that comes up to onDialog.
    void WithDialog(const std::function<void()> &action, const std::function<void(QWidget *)> &onDialog)
    {
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (QWidget *w = QApplication::activeModalWidget(); w && !seen) {
                seen = true;
                onDialog(w);
            }
        });
        poll.start(50);
        action();
        QVERIFY(seen);
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
        ArticleForm::Destinations destinations;
        destinations.playerAt = &OpenLessonPlayer;
        ArticleForm::SetDestinations(destinations);
    }

    void aBundledWordOpensThePlayerThere()
    {
        // The longest word of sentence 2 of the first bundled article, and where it is.
        const ArticleTree tree = ArticleIndex::buildFromFile(QStringLiteral("BrxSpecialIdx.txt"));
        const ArticleNode *article = nullptr;
        for (const ArticleNode &n : tree.nodes)
            if (n.isArticle() && !article)
                article = &n;
        QVERIFY(article);
        const auto info = ArticleIndex::parseArticleKey(article->key);
        sentra::SentraBook book;
        QVERIFY(book.open(info->fileName(), false));
        const auto lesson = book.readLesson(info->lessonNo, false);
        QVERIFY(lesson && lesson->sentences.size() > 2);
        QString word;
        for (const QString &w : lesson->sentences[2].english.split(QRegularExpression(QStringLiteral("[^A-Za-z]+"))))
            if (w.size() > word.size())
                word = w;
        book.close();

        ArticleForm library;
        library.Load();
        library.show();
        library.SearchField()->setText(word.toUpper());
        int rowOfHit = -1;
        WithDialog([&] { QTest::keyClick(library.SearchField(), Qt::Key_Return); },
                   [&](QWidget *w) {
                       auto *dialog = qobject_cast<LibrarySearchForm *>(w);
                       QVERIFY(dialog);
                       QTableWidget *table = dialog->Table();
                       for (int row = 0; row < table->rowCount() && rowOfHit < 0; ++row)
                           if (table->item(row, 0)->text() == article->label && table->item(row, 1)->text() == "2")
                               rowOfHit = row;
                       QVERIFY2(rowOfHit >= 0, qPrintable(dialog->InfoText()));
                       QCOMPARE(table->item(rowOfHit, 2)->text(), lesson->sentences[2].english);
                       QCOMPARE(table->item(rowOfHit, 3)->text(), lesson->sentences[2].chinese);
                       if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty())
                           dialog->grab().save(dir + QStringLiteral("/library-search.png"));
                       table->setCurrentCell(rowOfHit, 2);
                       QTest::keyClick(table, Qt::Key_Return);
                   });
        QCOMPARE(m_messages, QStringList{});
        PlayLessonForm *player = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<PlayLessonForm *>(w); p && p->isVisible())
                    player = p;
            return player != nullptr;
        }));
        QCOMPARE(player->Controller().CurSentence(), 2);
        QCOMPARE(player->Controller().PlayStatus(), int(Stopped));
        QCOMPARE(App().curArticleTitle, article->label);
        QVERIFY(!library.isVisible());
        player->close();
        QVERIFY(QTest::qWaitFor([&] { return library.isVisible(); }));
    }

    void emptyQueryAndMissSaySo()
    {
        ArticleForm library;
        library.Load();
        library.SearchLibrary(QStringLiteral(" ?! "));
        QCOMPARE(m_messages, QStringList{"请输入要查的单词或汉字"});
        WithDialog([&] { library.SearchLibrary(QStringLiteral("qqxyzzy")); },
                   [&](QWidget *w) {
                       auto *dialog = qobject_cast<LibrarySearchForm *>(w);
                       QVERIFY(dialog);
                       QCOMPARE(dialog->Table()->rowCount(), 0);
                       QCOMPARE(dialog->InfoText(), QStringLiteral("没有找到"));
                       QTest::keyClick(dialog, Qt::Key_Escape);
                   });
    }

    void manyHitsAreCut()
    {
        LibrarySearchResult result;
        for (int i = 0; i < 1001; ++i)
            result.hits.push_back({0, QStringLiteral("t"), QStringLiteral("b.dat"), 0, i, QStringLiteral("e"), {}, {}});
        result.truncated = true;
        LibrarySearchForm dialog;
        dialog.Load();
        dialog.ShowResult(QStringLiteral("e"), result);
        QCOMPARE(dialog.Table()->rowCount(), 1000);
        QCOMPARE(dialog.InfoText(), QStringLiteral("只显示前 1000 条"));
    }
};

QTEST_MAIN(TestLibrarySearchWindow)
#include "test_library_searchwindow.moc"
