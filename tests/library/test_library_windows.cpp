// The library window, the step dialog and the word-sound windows, headless: buttons are
// pressed through their click methods, messages are answered by a handler, and the
// settings and the windows that open are read back.
#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "libs/comm/CommLib.h"
#include "libs/notedict/NoteDictLib.h"
#include "libs/notedict/ui/NoteDictWindows.h"
#include "libs/notedict/ui/NotebookForm.h"
#include "library/ArticleForm.h"
#include "library/CopyWordSndForm.h"
#include "library/LearnStepsForm.h"
#include "library/ManageSoundForm.h"
#include "library/WordSoundCopyCommand.h"
#include "library/WordSoundManager.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace mvx;

namespace {

// Stands in for the library window as the step dialog's caller.
class StepCaller final : public QObject
{
    Q_OBJECT
public:
    QStringList steps;
    Q_INVOKABLE void LearnArticle(const QString &step) { steps << step; }
};

// Runs the action on the modal window of type T once it is open.
template <typename T>
void whenModal(std::function<void(T *)> action)
{
    QTimer::singleShot(0, [action] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget()))
            action(w);
        else
            qWarning() << "no modal window of the expected kind";
    });
}

const QString kArticleKey = QStringLiteral("sentra|文化习俗.dat|1|0|brxspecial-0003");

} // namespace

class TestLibraryWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_home;
    QStringList m_messages;
    int m_answer = -1;

    std::unique_ptr<ArticleForm> openLibrary()
    {
        auto form = std::make_unique<ArticleForm>();
        form->Load();
        form->show();
        return form;
    }
    [[nodiscard]] static QString currentKey(ArticleForm &form)
    {
        QTreeWidgetItem *item = form.tree()->currentItem();
        return item ? item->data(0, Qt::UserRole).toString() : QString();
    }

private slots:
    void initTestCase()
    {
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return m_answer;
        });
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/winXXXXXX");
        QDir::setCurrent(m_home->path());
        App().appPath = m_home->path();
        App().skinRoot = QStringLiteral(MVX_HOME) + "/ecminterface";
        App().wordSndLibFound = false;
        App().wordSndLibDir.clear();
        App().wordSndLibSource = 0;
        for (const char *folder : {"brxspecial", "alltmpfile", "notebook"})
            QDir().mkpath(folder);
        QVERIFY(WriteTextFile("BrxSpecialIdx.txt",
                              {"CLAS0001文化习俗||brxspecial", "CLAS0002节日", "FILE春节|sentra|文化习俗.dat|1|0",
                               "CLAS0001科技||brxspecial", "FILE火星|sentra|science.dat|0|0"},
                              TextEncoding::Gb18030));
        for (const char *key : {Key::LastArticle, Key::DefaultLearnStep})
            SaveUserSetting(QString::fromLatin1(key), QString());
        SaveUserSetting(QString::fromLatin1(Key::CopySndHint), "1");
        m_messages.clear();
        m_answer = -1;
        ArticleForm::SetDestinations({});
    }

    void learningACategoryAsksForAnArticle()
    {
        auto form = openLibrary();
        QCOMPARE(currentKey(*form), QString("ROOT0001-0001")); // first start
        QVERIFY(form->tree()->topLevelItem(0)->isExpanded());
        form->btRepeat_click(); // a dialog would block here
        QCOMPARE(m_messages, QStringList{"您还没有选择文章。"});
        QVERIFY(form->isVisible());
    }

    void theStepDialogPreselectsStoresAndCallsBack_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("chosen");
        QTest::addRow("nothing stored yet") << "" << "FirstTest" << "LastTest";
        QTest::addRow("full study stored") << "DetailListen" << "DetailListen" << "DetailListen";
        QTest::addRow("an unknown step stored") << "Sing" << "FirstTest" << "FirstTest";
    }

    void theStepDialogPreselectsStoresAndCallsBack()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, chosen);
        SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), stored);
        StepCaller caller;
        LearnStepsForm dialog;
        dialog.SetCallingForm(&caller);
        dialog.Load();
        QCOMPARE(dialog.SelectedStep(), shown);
        QCOMPARE(dialog.InfoText(), LearnStepsForm::InfoFor(shown));
        dialog.SelectStep(chosen);
        QCOMPARE(dialog.InfoText(), LearnStepsForm::InfoFor(chosen));
        dialog.btOk_click();
        QCOMPARE(caller.steps, QStringList{chosen});
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::DefaultLearnStep), {}), chosen);
        QVERIFY(!dialog.isVisible());
    }

    void cancellingTheStepDialogCallsNothing()
    {
        SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), "LastTest");
        StepCaller caller;
        LearnStepsForm dialog;
        dialog.SetCallingForm(&caller);
        dialog.Load();
        dialog.SelectStep("FirstTest");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(caller.steps.isEmpty());
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::DefaultLearnStep), {}), QString("LastTest"));
    }

    void learningAnArticleOpensThePlayer()
    {
        QStringList opened;
        ArticleForm::Destinations destinations;
        destinations.player = [&opened](QWidget *, const QString &book, int lesson) {
            opened << QStringLiteral("%1 %2").arg(book).arg(lesson);
            return true;
        };
        ArticleForm::SetDestinations(destinations);
        SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), "DetailListen");
        auto form = openLibrary();
        QVERIFY(form->selectNodeByKey(kArticleKey));
        whenModal<LearnStepsForm>([](LearnStepsForm *steps) { steps->btOk_click(); });
        form->btRepeat_click();
        QCOMPARE(opened, QStringList{"brxspecial/文化习俗.dat 1"});
        QCOMPARE(App().curArticleTitle, QString("春节"));
        QVERIFY(!form->isVisible()); // hidden behind the player
        QVERIFY(m_messages.isEmpty());
    }

    // The closing test on an article whose book cannot be read: said so, no test, the
    // library stays.
    void aTestOnAnUnreadableBookSaysSo()
    {
        SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), "LastTest");
        auto form = openLibrary();
        QVERIFY(form->selectNodeByKey(kArticleKey));
        whenModal<LearnStepsForm>([](LearnStepsForm *steps) { steps->btOk_click(); });
        form->btRepeat_click();
        QCOMPARE(m_messages, QStringList{"无法读取这篇文章的句子库文件：brxspecial/文化习俗.dat"});
        QVERIFY(form->isVisible());
    }

    void exitSavesTheSelectionForTheNextWindow_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addRow("an article") << kArticleKey;
        QTest::addRow("a category") << "ROOT00010002-0002";
        QTest::addRow("the second top category") << "ROOT0002-0004";
    }

    void exitSavesTheSelectionForTheNextWindow()
    {
        QFETCH(QString, key);
        {
            auto form = openLibrary();
            QVERIFY(form->selectNodeByKey(key));
            form->btExit_click();
            QVERIFY(!form->isVisible());
        }
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::LastArticle), {}), key);
        auto again = openLibrary();
        QCOMPARE(currentKey(*again), key);
        QCOMPARE(again->library().selectedKey(), key);
    }

    // The reviewer in the program home starts, though PATH holds none.
    void theReviewerIsLookedForInTheHomeFirst()
    {
        const QByteArray path = qgetenv("PATH");
        QTemporaryDir emptyPath;
        qputenv("PATH", emptyPath.path().toUtf8());
        QFile script(m_home->filePath("mvxreviewer"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > reviewer-ran.txt\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
        auto form = openLibrary();
        form->btReviewer_click();
        qputenv("PATH", path);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(m_home->filePath("reviewer-ran.txt")), 10000);
        QCOMPARE(FindReviewerProgram(m_home->path()), m_home->filePath("mvxreviewer"));
    }

    // A link is underlined while the pointer rests on it, and only then: moving on to the
    // window's background or straight onto another control takes the underline away.
    void aLinkIsUnderlinedOnlyUnderThePointer()
    {
        auto form = openLibrary();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QList<SkinLabel *> links = form->findChildren<SkinLabel *>("lbLink");
        QVERIFY(links.size() > 2);
        SkinLabel *link = links[1];
        QPoint background;
        for (int y = form->height() - 4; y > 0 && background.isNull(); y -= 7)
            for (int x = 4; x < form->width() && background.isNull(); x += 7)
                if (!form->childAt(x, y))
                    background = QPoint(x, y);
        QVERIFY(!background.isNull());
        const auto underlined = [](QLabel *l) { return l->font().underline(); };

        QTest::mouseMove(link, link->rect().center());
        QTRY_VERIFY(underlined(link));
        QTest::mouseMove(form.get(), background);
        QTRY_VERIFY(!underlined(link));

        QTest::mouseMove(link, link->rect().center());
        QTRY_VERIFY(underlined(link));
        QTest::mouseMove(form->tree()->viewport(), form->tree()->viewport()->rect().center());
        QTRY_VERIFY(!underlined(link));

        QTest::mouseMove(links[2], links[2]->rect().center()); // from one link to the next
        QTRY_VERIFY(underlined(links[2]));
        QVERIFY(!underlined(link));
    }

    void theNotebook_data()
    {
        QTest::addColumn<bool>("withWord");
        QTest::addRow("empty notebook") << false;
        QTest::addRow("a word in it") << true;
    }

    void theNotebook()
    {
        QFETCH(bool, withWord);
        if (withWord)
            QCOMPARE(bcNote_AddWord("notebook/brxspecial_note", "notebook/brxspecial_note.lib", "apple", "n. 苹果", {},
                                    {}, {}),
                     1);
        auto form = openLibrary();
        bool shown = false;
        QStringList hidden;
        if (withWord)
            whenModal<NotebookForm>([&](NotebookForm *notebook) {
                shown = true;
                for (const char *b : {"btShowSource", "btMatchWithSrc", "Sort", "btDelete"})
                    if (!notebook->model().isButtonVisible(QString::fromLatin1(b)))
                        hidden << QString::fromLatin1(b);
                notebook->close();
            });
        form->btNotebook_click();
        QCOMPARE(shown, withWord);
        if (withWord) {
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(hidden, (QStringList{"btShowSource", "btMatchWithSrc", "Sort"}));
        } else {
            QCOMPARE(m_messages.size(), 1);
            QVERIFY(m_messages[0].startsWith("单词笔记本现在没有单词\r\n\r\n"));
        }
    }

    void theManageWindowShowsAndStores()
    {
        App().wordSoundCentre = vcSndCenter_Open(-1, 16, 22050, 1);
        SaveUserSetting(QString::fromLatin1(Key::CopySndHint), "0");
        {
            ManageSoundForm form;
            form.Load();
            QCOMPARE(form.StatusText(), QString("目前状态：单词真人发音无"));
            QVERIFY(form.NoCopyHintTicked());
            QCOMPARE(form.VoiceList()->count(), int(vcSndCenter_GetTtsVoiceList(App().wordSoundCentre).size()));
            form.SetNoCopyHint(false);
            form.btCancel_click(); // nothing stored
        }
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::CopySndHint), {}), QString("0"));
        {
            ManageSoundForm form;
            form.Load();
            form.SetNoCopyHint(false);
            form.btOk_click();
        }
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::CopySndHint), {}), QString("-1"));
        QVERIFY(m_messages.isEmpty());
        vcSndCenter_Close(App().wordSoundCentre);
        App().wordSoundCentre = -1;
    }

    void copyingFromAChosenFolder()
    {
        const QString disc = m_home->path() + "/../usb-" + QFileInfo(m_home->path()).fileName();
        QDir().mkpath(disc + "/snd/w");
        QVERIFY(WriteTextFile(disc + "/snd/vocabranewsnd.idx", {"MVXSNDLIB\t1", "hello\tw/hello.wav"}, TextEncoding::Utf8));
        QVERIFY(WriteTextFile(disc + "/snd/w/hello.wav", {"not really a sound"}, TextEncoding::Utf8));
        QStringList asked;
        SetWordSoundFolderChooser([&asked, disc](QWidget *) {
            asked << disc;
            return disc;
        });
        CopyWordSndForm form;
        form.Load();
        form.show();
        QCOMPARE(form.StatusText(), QString("目前状态：单词真人发音无"));
        m_answer = 0; // "no disc" offer declined: nothing is copied
        form.btCopyWord_click();
        QVERIFY(asked.isEmpty());
        QVERIFY(form.isVisible());
        m_answer = -1;
        m_messages.clear();
        form.btCopyWord_click();
        SetWordSoundFolderChooser({});
        QDir(disc).removeRecursively();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(m_messages.size(), 2);
        QVERIFY(m_messages[0].startsWith(WordSoundManager::NoDiscMessage()));
        QCOMPARE(m_messages[1], WordSoundManager::CopiedMessage());
        QVERIFY(QFileInfo::exists("snd/w/hello.wav"));
        QVERIFY(App().wordSndLibFound);
        QCOMPARE(App().wordSndLibDir, m_home->path() + "/snd/");
        QVERIFY(!form.isVisible());
    }

    void escapeInTheCopyWindowContinues()
    {
        CopyWordSndForm form;
        form.Load();
        form.show();
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    // The step dialog with the program's skin: every option shows its circle, one of them
    // filled; MVX_STEPS_SCREENSHOT names a file for the picture.
    void theStepDialogDrawsEveryOption()
    {
        SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), "DetailListen");
        LearnStepsForm steps;
        steps.Load();
        steps.show();
        QVERIFY(QTest::qWaitForWindowExposed(&steps));
        const QList<SkinImage *> options = steps.findChildren<SkinImage *>("ImgOpMode");
        QCOMPARE(options.size(), 3);
        QStringList shown;
        for (SkinImage *option : options) {
            QVERIFY(!option->picture().isNull());
            shown << QFileInfo(option->picturePath()).baseName();
        }
        QCOMPARE(shown, (QStringList{"radio", "radio-s", "radio"}));
        const QImage shot = steps.grab().toImage();
        const QString target = qEnvironmentVariable("MVX_STEPS_SCREENSHOT");
        if (!target.isEmpty())
            QVERIFY(shot.save(target));
    }

    // Renders the library window over the bundled lessons; MVX_SCREENSHOT names the file.
    void theLibraryWindowReadsWell()
    {
        const QString home = QStringLiteral(MVX_HOME);
        if (!QFileInfo::exists(home + "/BrxSpecialIdx.txt"))
            QSKIP("the bundled lessons are not built in this build folder");
        QDir::setCurrent(home);
        App().appPath = home;
        auto form = openLibrary();
        QVERIFY(form->tree()->topLevelItemCount() >= 2);
        form->selectNodeByKey(form->tree()->topLevelItem(0)->child(0)->data(0, Qt::UserRole).toString());
        form->tree()->expandAll();
        const QImage shot = form->grab().toImage();
        QCOMPARE(shot.size(), form->size());
        QVERIFY(shot.pixelColor(shot.width() / 2, 2) != shot.pixelColor(shot.width() / 2, shot.height() - 3));
        const QString target = qEnvironmentVariable("MVX_SCREENSHOT");
        if (!target.isEmpty())
            QVERIFY(shot.save(target));
    }
};

QTEST_MAIN(TestLibraryWindows)
#include "test_library_windows.moc"
