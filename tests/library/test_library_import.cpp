// The "添加课文" dialog headless with real files: the library window opens it, files are
// chosen, the preview shows the first sentences with times and Chinese, the import runs off
// the UI thread and the tree shows and selects the new article; refusals carry the book
// maker's own message, and a cancelled import changes nothing.
#include "SoundFixture.h"
#include "core/AppState.h"
#include "core/TextCodec.h"
#include "core/UserSettings.h"
#include "libs/bookmaker/BookMaker.h"
#include "libs/media/MediaPlayer.h"
#include "libs/sentra/SentraBook.h"
#include "libs/sentra/SentraFacade.h"
#include "library/AddLessonForm.h"
#include "library/ArticleForm.h"
#include "library/LessonImport.h"
#include "ui/MessageBox.h"
#include "ui/SkinLabel.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace mvx;

namespace {

const QStringList kEnglish{"Frogs live in forests.", "The frog is very small.", "It lives high in the mountains.",
                           "Scientists want to protect its home."};
const QStringList kChinese{"青蛙住在森林里。", "这种青蛙非常小。", "它生活在高山上。", "科学家想保护它的家园。"};

QString vttTime(qint64 ms)
{
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString f = it.next();
        QFile file(f);
        files[f] = QFileInfo(f).isDir() ? QByteArray("dir")
                   : file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                                                     : QByteArray("unreadable");
    }
    return files;
}

} // namespace

class TestLibraryImport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home;
    fixture::Speech m_speech;
    QStringList m_messages;
    QStringList m_chosen; // what the file dialog answers, in order

    QString path(const QString &name) const { return m_home->filePath(name); }

    // Runs the action on the open "添加课文" dialog once it is shown modally.
    static void whenDialog(std::function<void(AddLessonForm *)> action)
    {
        QTimer::singleShot(0, [action] {
            auto *dialog = qobject_cast<AddLessonForm *>(QApplication::activeModalWidget());
            if (!dialog) {
                qWarning("no import dialog");
                return;
            }
            action(dialog);
            if (dialog->isVisible()) // a failed check must not leave the test waiting
                dialog->reject();
        });
    }
    static bool waitForJob(AddLessonForm *dialog)
    {
        return QTest::qWaitFor([dialog] { return !dialog->Job().isRunning(); }, 60000);
    }

private slots:
    void initTestCase()
    {
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
        AddLessonForm::SetFileChooser([this](QWidget *, const QString &, const QString &) {
            return m_chosen.isEmpty() ? QString() : m_chosen.takeFirst();
        });
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/importXXXXXX");
        QVERIFY(m_home->isValid());
        QDir::setCurrent(m_home->path());
        App().appPath = m_home->path();
        App().skinRoot = QStringLiteral(MVX_HOME) + "/ecminterface";
        for (const char *folder : {"brxspecial", "alltmpfile", "notebook", "downloads"})
            QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteTextFile("BrxSpecialIdx.txt", {"CLAS0001科技||brxspecial", "CLAS0002动物"}, TextEncoding::Gb18030));
        SaveUserSetting(QString::fromLatin1(Key::LastArticle), QString());
        m_speech = fixture::makeSpeech({900, 1600, 1400, 1800}, {500, 450, 600, 500});
        QVERIFY(fixture::writeSound(path("downloads/forest_frogs-01.wav"), m_speech.samples, m_speech.rate, fixture::Wav));
        m_messages.clear();
        m_chosen.clear();
        ArticleForm::SetDestinations({});
    }

    // Bilingual WebVTT, two sentences in the first cue and one over two cues.
    void writeVtt(const QString &name)
    {
        const auto &sp = m_speech.speech;
        const qint64 middle = (sp[2].first + sp[2].second) / 2;
        QVERIFY(WriteTextFile(path(name),
                              {"WEBVTT", "", vttTime(sp[0].first - 100) + " --> " + vttTime(sp[1].second + 50),
                               kEnglish[0] + " " + kEnglish[1], kChinese[0] + kChinese[1], "",
                               vttTime(sp[2].first - 100) + " --> " + vttTime(middle), "It lives high", "它生活在", "",
                               vttTime(middle) + " --> " + vttTime(sp[2].second + 100), "in the mountains.", "高山上。", "",
                               vttTime(sp[3].first - 100) + " --> " + vttTime(sp[3].second + 100), "[Music]", "",
                               vttTime(sp[3].first - 50) + " --> " + vttTime(sp[3].second + 100), kEnglish[3], kChinese[3]},
                              TextEncoding::Utf8));
    }

    // Where the book goes and what is still missing, from the learner's choices.
    void choicesBecomeOptions_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("titleLine");
        QTest::addColumn<QString>("book"); // relative to the home; empty: refused
        QTest::addRow("existing category, its folder") << "科技/动物" << "Frogs" << false << "brxspecial/Frogs.dat";
        QTest::addRow("a name already taken") << "科技" << "Taken" << false << "brxspecial/Taken (2).dat";
        QTest::addRow("signs a file name cannot hold") << "科技" << "A/B: c?" << false << "brxspecial/A_B_ c_.dat";
        QTest::addRow("new top category, own folder") << "新类/子类" << "New" << false << "mylessons/New.dat";
        QTest::addRow("title line: named after the sound") << "科技" << "" << true << "brxspecial/forest frogs 01.dat";
        QTest::addRow("no title and no title line") << "科技" << "" << false << "";
        QTest::addRow("empty category level") << "科技/" << "T" << false << "";
        QTest::addRow("bar in the title") << "科技" << "a|b" << false << "";
    }

    void choicesBecomeOptions()
    {
        QFETCH(QString, category);
        QFETCH(QString, title);
        QFETCH(bool, titleLine);
        QFETCH(QString, book);
        QFile taken(path("brxspecial/Taken.dat"));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.close();
        const LessonImport import(path("BrxSpecialIdx.txt"));
        const LessonChoices c{path("downloads/forest_frogs-01.wav"), path("downloads/a.srt"), LessonTextKind::Subtitles,
                              {}, {}, titleLine, true, category, title};
        QCOMPARE(import.missing(c).isEmpty(), !book.isEmpty());
        if (book.isEmpty())
            return;
        const MakeBookOptions o = import.options(c);
        QCOMPARE(o.book, path(book));
        QCOMPARE(o.subtitles, c.text);
        QVERIFY(o.regroup && o.lrc.isEmpty() && o.text.isEmpty());
        QCOMPARE(o.index, path("BrxSpecialIdx.txt"));
    }

    void importsSubtitlesFromTheLibraryWindow()
    {
        writeVtt("downloads/frogs.vtt");
        QStringList opened;
        ArticleForm::Destinations destinations;
        destinations.player = [&opened](QWidget *, const QString &book, int lesson) {
            opened << QStringLiteral("%1 %2").arg(book).arg(lesson);
            return true;
        };
        ArticleForm::SetDestinations(destinations);
        ArticleForm form;
        form.Load();
        form.show();
        m_chosen = QStringList{path("downloads/forest_frogs-01.wav"), path("downloads/frogs.vtt")};
        QStringList preview;
        whenDialog([&](AddLessonForm *dialog) {
            QVERIFY(dialog->DispatchClick("btChooseSound"));
            QVERIFY(dialog->DispatchClick("btChooseText"));
            LessonChoices c = dialog->Choices();
            QCOMPARE(c.kind, LessonTextKind::Subtitles);
            QCOMPARE(c.title, QString("forest frogs 01")); // proposed from the sound's name
            auto *category = dialog->findChild<QComboBox *>("cboCategory");
            QCOMPARE(category->count(), 2);
            QCOMPARE(category->itemText(1), QString("科技/动物"));
            category->setCurrentIndex(1);
            for (SkinLabel *label : dialog->findChildren<SkinLabel *>("lbCheckbox"))
                if (label->property("tag").toString() == "ckRegroup")
                    emit label->clicked(label);
            QVERIFY(dialog->Choices().regroup);

            dialog->btPreview_click();
            QVERIFY(dialog->Job().isRunning()); // off the UI thread
            QVERIFY(waitForJob(dialog));
            QTableWidget *table = dialog->PreviewTable();
            for (int r = 0; r < table->rowCount(); ++r)
                preview << QStringList{table->item(r, 1)->text(), table->item(r, 3)->text(), table->item(r, 4)->text()}
                               .join('|');
            QVERIFY(dialog->StatusText().contains("跳过了 1 条"));
            // MVX_IMPORT_SCREENSHOT=file.png keeps a picture of the dialog with its preview.
            if (const QString shot = qEnvironmentVariable("MVX_IMPORT_SCREENSHOT"); !shot.isEmpty())
                dialog->grab().save(shot);
            QVERIFY(!QFileInfo::exists(path("brxspecial/forest frogs 01.dat"))); // nothing written yet
            dialog->btImport_click();
            QVERIFY(waitForJob(dialog));
        });
        form.btAddLesson_click();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        const auto &sp = m_speech.speech;
        QCOMPARE(preview, (QStringList{vttTime(sp[0].first - 100).left(7) + "|" + kEnglish[0] + "|" + kChinese[0] + kChinese[1],
                                       preview.value(1).section('|', 0, 0) + "|" + kEnglish[1] + "|",
                                       vttTime(sp[2].first - 100).left(7) + "|" + kEnglish[2] + "|它生活在 高山上。",
                                       vttTime(sp[3].first - 50).left(7) + "|" + kEnglish[3] + "|" + kChinese[3]}));

        // The tree was read again and shows the new article, selected, under its category.
        QTreeWidgetItem *item = form.tree()->currentItem();
        QVERIFY(item);
        QCOMPARE(item->text(0), QString("forest frogs 01"));
        QCOMPARE(item->parent()->text(0), QString("动物"));
        QVERIFY(form.library().ArticleSelected());
        const auto info = form.library().GetSelectedItemInfo();
        QVERIFY(info.has_value());
        QCOMPARE(info->fileName(), QString("brxspecial/forest frogs 01.dat"));
        sentra::SentraBook book;
        QVERIFY(book.open(path(info->fileName()), false));
        const auto lesson = book.readLesson(info->lessonNo);
        QVERIFY(lesson.has_value());
        QCOMPARE(lesson->sentences.size(), 4);
        QCOMPARE(lesson->sentences[3].english, kEnglish[3]);
        // The learn command hands it to the player.
        form.LearnArticle("DetailListen");
        QCOMPARE(opened, QStringList{"brxspecial/forest frogs 01.dat 0"});

        // The player's road to sound: the sentence's sound made from the book, played through
        // the media back end to its end.
        const int handle = bcSentraBook_Open(path(info->fileName()), "rb");
        QVERIFY(handle != -1);
        int first = -1;
        int count = 0;
        QCOMPARE(bcSentraBook_GetLessonInfo(handle, info->lessonNo, &first, &count, 0), 0);
        QCOMPARE(count, 4);
        int samples = 0;
        QCOMPARE(bcSentence_MakeSndFile(handle, first + 1, 0, 0, &samples, path("alltmpfile/base"), -1, 0), 0);
        bcSentraBook_Close(handle);
        const qint64 ms = lesson->sentences[1].endMs - lesson->sentences[1].startMs;
        QVERIFY(qAbs(samples - ms * 22050 / 1000) <= 2);
        MediaPlayer player;
        QSignalSpy ends(&player, &MediaPlayer::endOfStream);
        player.setURL(path("alltmpfile/base.wav"));
        QTRY_COMPARE(player.openState(), int(MediaPlayer::MediaOpen));
        QVERIFY(qAbs(player.duration() * 1000 - ms) <= 2);
        player.play();
        QTRY_VERIFY(player.currentPosition() > 0.2);
        QTRY_COMPARE_WITH_TIMEOUT(ends.size(), 1, 20000);
    }

    void theTreesMenuOffersIt()
    {
        ArticleForm form;
        form.Load();
        form.show();
        QStringList offered;
        QTimer::singleShot(0, [&offered] {
            if (QWidget *popup = QApplication::activePopupWidget()) {
                for (QAction *a : popup->actions())
                    offered << a->text();
                popup->close();
            }
        });
        // The menu key of the tree asks for its context menu.
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(10, 10));
        QApplication::sendEvent(form.tree()->viewport(), &menuKey);
        QCOMPARE(offered, (QStringList{"添加课文", "学习记录"}));
    }

    void refusalsCarryTheCommandsMessage()
    {
        // Cues that overlap by a second: the same message as the command line gives.
        QVERIFY(WriteTextFile(path("downloads/bad.srt"),
                              {"1", "00:00:00,100 --> 00:00:02,000", "One.", "", "2", "00:00:01,000 --> 00:00:03,000", "Two."},
                              TextEncoding::Utf8));
        MakeBookOptions o;
        o.book = path("brxspecial/x.dat");
        o.audio = path("downloads/forest_frogs-01.wav");
        o.subtitles = path("downloads/bad.srt");
        LessonPlan plan;
        const QString expected = BookMaker::prepare(o, plan).toString();
        QVERIFY(expected.contains("bad.srt:6:"));
        QVERIFY(WriteTextFile(path("downloads/one.srt"), {"1", "00:00:00,100 --> 00:00:02,000", "One."}, TextEncoding::Utf8));
        QFile fake(path("downloads/fake.mp3"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("ID3 but not really a sound");
        fake.close();

        const auto before = snapshot(m_home->path());
        AddLessonForm dialog(path("BrxSpecialIdx.txt"));
        dialog.Load();
        dialog.SetChoices({path("downloads/forest_frogs-01.wav"), path("downloads/bad.srt"), LessonTextKind::Subtitles,
                           {}, {}, false, false, "科技", "坏字幕"});
        dialog.btImport_click();
        QVERIFY(waitForJob(&dialog));
        QCOMPARE(m_messages, QStringList{expected});
        QCOMPARE(dialog.StatusText(), expected);

        // A sound the decoders cannot read is named.
        m_messages.clear();
        dialog.SetChoices({fake.fileName(), path("downloads/one.srt"), LessonTextKind::Subtitles, {}, {}, false, false,
                           "科技", "坏声音"});
        dialog.btPreview_click();
        QVERIFY(waitForJob(&dialog));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages.first().startsWith(fake.fileName() + ": "), qPrintable(m_messages.first()));
        QVERIFY(snapshot(m_home->path()) == before);
    }

    void cancellingAnImportChangesNothing()
    {
        // Half a minute of MP3, so the reading is still going when the cancel comes.
        std::vector<float> samples;
        for (int i = 0; i < 15; ++i)
            samples.insert(samples.end(), m_speech.samples.begin(), m_speech.samples.end());
        QVERIFY(fixture::writeSound(path("downloads/long.mp3"), samples, m_speech.rate, fixture::Mp3));
        QVERIFY(WriteTextFile(path("downloads/long.lrc"), {"[00:00.10]One.", "[00:05.00]Two."}, TextEncoding::Utf8));
        const auto before = snapshot(m_home->path());
        AddLessonForm dialog(path("BrxSpecialIdx.txt"));
        dialog.Load();
        dialog.SetChoices({path("downloads/long.mp3"), path("downloads/long.lrc"), LessonTextKind::Lrc, {}, {}, false,
                           false, "新类别/子类", "取消的课"});
        dialog.btImport_click();
        QVERIFY(dialog.Job().isRunning());
        dialog.btCancel_click();
        QVERIFY(waitForJob(&dialog));
        QVERIFY(dialog.Job().cancelled());
        QCOMPARE(dialog.StatusText(), BookMaker::CancelledMessage);
        QVERIFY(m_messages.isEmpty());
        QVERIFY(snapshot(m_home->path()) == before);
        // The same choices import when not cancelled, into a new top category's own folder.
        dialog.btImport_click();
        QVERIFY(waitForJob(&dialog));
        QVERIFY2(!dialog.Job().error().isError(), qPrintable(dialog.Job().error().toString()));
        QVERIFY(QFileInfo::exists(path(QStringLiteral("%1/取消的课.dat").arg(LessonImport::OwnFolder))));
        QVERIFY(dialog.Job().articleKey().endsWith(QStringLiteral("|%1-0005").arg(LessonImport::OwnFolder)));
    }
};

QTEST_MAIN(TestLibraryImport)
#include "test_library_import.moc"
