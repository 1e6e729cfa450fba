// The player window with the real media back end, the real lesson pages and a real book:
// load, keys through the page's focus proxy, layout, later features, unload order.
#include "../support/BuiltHome.h"
#include "../sentra/SentraFixtures.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "core/UserSettings.h"
#include "dialogs/DisplaySettingForm.h"
#include "player/events/PlayerNotebook.h"
#include "player/form/PlayLessonForm.h"
#include "libs/notedict/ui/SpellForm.h"
#include "player/form/ReciteModeForm.h"
#include "player/form/WaveView.h"
#include "player/events/PlayerTextSide.h"
#include "player/pages/HtmlView.h"
#include "player/pages/LessonPages.h"
#include "player/playback/PageSide.h"
#include "player/playback/PlaybackController.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QToolTip>
#include <QAction>
#include <QtTest>

using namespace mvx;

class TestPlayerForm : public QObject
{
    Q_OBJECT

    QString m_book;
    QStringList m_messages;

    [[nodiscard]] static SkinImage *Button(PlayLessonForm &form, const QString &tag)
    {
        return form.Skin() ? form.Skin()->GetButton(tag) : nullptr;
    }
    static bool WaitFor(const std::function<bool()> &pred, int ms = 10000)
    {
        return QTest::qWaitFor(pred, ms);
    }

    // Each word of sentence n's English label, read from the page: "m" masked, "k" in a colour
    // of its own (a key word), "p" plain.
    [[nodiscard]] static QString WordLooks(PlayLessonForm &form, int n)
    {
        auto &pages = static_cast<pages::LessonPages &>(form.Pages());
        auto *view = static_cast<pages::HtmlView *>(form.ScriptView());
        const QString js = QStringLiteral("(function(){var l=__mvxAgent.el('%1','ste%2');var o='';"
                                          "for(var k=1;l&&k<l.children.length;k++){var w=l.children[k];"
                                          "o+=w.style.backgroundColor?'m':(w.style.color?'k':'p');}return o;})()")
                               .arg(pages.FrameOf(SentenceText::English))
                               .arg(n);
        return view->runAndWait(js, 3000).toString();
    }

private slots:
    void initTestCase()
    {
        testhome::UseBuiltHome();
        QVERIFY2(QFileInfo::exists(QStringLiteral(MVX_HOME "/blank.wav")), "blank.wav is staged into the home");
        m_book = fixtures::makeBook(QStringLiteral("form.dat"), {fixtures::sampleLesson()});
        SetMessageBoxHandler([this](const QString &text, int) {
            m_messages << text;
            return -1;
        });
    }
    void init()
    {
        m_messages.clear();
        SaveUserInt(QString::fromLatin1(Key::WindowRatio), 2);
        SaveUserInt(QString::fromLatin1(Key::Speed), 0);
        SaveUserBool(QString::fromLatin1(Key::AutoMaximize), false);
    }

    void loadsAndOpensALesson()
    {
        PlayLessonForm form;
        form.Load();
        QCOMPARE(form.Controller().PlayStatus(), int(NoLesson));
        QVERIFY(!Button(form, "btPlay")->isEnabled());
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        QCOMPARE(form.Controller().CurSentence(), 1); // after the title line
        QVERIFY(form.Controller().DigestReady());
        QVERIFY(qAbs(form.Controller().SndLength() - 1780) <= 30);
        QVERIFY(Button(form, "btPlay")->isEnabled());
        QVERIFY(!Button(form, "btStop")->isEnabled());
        QCOMPARE(form.findChild<QLabel *>("lbCurSentenceNo")->text(), QStringLiteral("共 3 句，当前是第 1 句"));
        QCOMPARE(form.findChild<QLabel *>("lbInfo2")->text(), QStringLiteral("静止状态"));
        QCOMPARE(Button(form, "btPlay")->toolTip(), QStringLiteral("播放(快捷键：G)"));
        // The waveform shows the sentence: dark samples on the white picture.
        QImage picture(form.WaveGraph()->PictureRect().size(), QImage::Format_RGB32);
        QPainter painter(&picture);
        form.WaveGraph()->RenderPicture(painter);
        painter.end();
        int dark = 0;
        for (int x = 0; x < picture.width(); x += 2)
            dark += qGray(picture.pixel(x, picture.height() / 2)) < 128 ? 1 : 0;
        QVERIFY2(dark > 10, "the digest was drawn");
    }

    // The picture buttons explain themselves when the pointer rests on them, even while
    // another window is the active one (as on a display without a window manager).
    void buttonTipsShowOnHover_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("tip");
        QTest::addRow("main row") << "btPlay" << "播放(快捷键：G)";
        QTest::addRow("left column") << "btSpell" << "拼写练习(快捷键：Alt+S)";
        QTest::addRow("window button") << "btWinClose" << "关闭";
    }
    void buttonTipsShowOnHover()
    {
        QFETCH(QString, tag);
        QFETCH(QString, tip);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget other;
        other.setGeometry(form.geometry().right() + 20, 0, 100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!form.isActiveWindow());
        SkinImage *button = Button(form, tag);
        QVERIFY(button && button->isVisible());
        QTest::mouseMove(button, button->rect().center());
        QVERIFY(WaitFor([] { return QToolTip::isVisible(); }, 5000));
        QCOMPARE(QToolTip::text(), tip);
        QToolTip::hideText();
        QVERIFY(WaitFor([] { return !QToolTip::isVisible(); }, 3000));
    }

    void keysReachTheWindowFromAPage()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // A click into the page gives the focus to the view's focus proxy.
        QWidget *proxy = form.ScriptView()->focusProxy() ? form.ScriptView()->focusProxy() : form.ScriptView();
        QTest::mouseClick(proxy, Qt::LeftButton, {}, QPoint(40, 40));
        proxy->setFocus();
        QVERIFY(WaitFor([&] { return proxy->hasFocus(); }, 3000));
        QTest::keyClick(proxy, Qt::Key_J);
        QVERIFY(WaitFor([&] { return form.Controller().CurSentence() == 2; }));
        QTest::keyClick(proxy, Qt::Key_H);
        QVERIFY(WaitFor([&] { return form.Controller().CurSentence() == 1; }));
        QTest::keyClick(proxy, Qt::Key_S); // Stop is disabled in status 1: nothing
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        QTest::keyClick(proxy, Qt::Key_G);
        QCOMPARE(form.Controller().PlayStatus(), int(Playing));
        QVERIFY(Button(form, "btStop")->isEnabled());
        QTest::keyClick(proxy, Qt::Key_S);
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
    }

    void showMenuSwitchesTextsAndLayout()
    {
        SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), true);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        auto *chinese = form.findChild<QAction *>(QStringLiteral("ckShowChinese"));
        auto *mixed = form.findChild<QAction *>(QStringLiteral("rbMix"));
        QVERIFY(chinese && mixed);
        chinese->trigger(); // checked -> unchecked: hide the Chinese page
        QVERIFY(WaitFor([&] { return !form.Pages().ShowState().chineseShown; }));
        QVERIFY(!chinese->isChecked());
        mixed->trigger();
        QVERIFY(WaitFor([&] { return form.Pages().ShowState().mixedLayout; }));
        QVERIFY(mixed->isChecked());
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        form.close();
        // The choice is what the next player starts with.
        QVERIFY(!GetUserBool(QString::fromLatin1(Key::ShouldShowChinese), true));
        QVERIFY(GetUserBool(QString::fromLatin1(Key::EnglishChineseMix), false));
        SaveUserBool(QString::fromLatin1(Key::ShouldShowChinese), true);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
    }

    // The masked recall in the real pages, in both layouts: every word after the title turns
    // grey, Q uncovers word 1 first, C the rest and moves on, a layout change is refused, and
    // stopping (also while a sentence plays) brings the key words' colour back.
    void recallMasksAndUncoversInThePages_data()
    {
        QTest::addColumn<bool>("mixed");
        QTest::addRow("separate pages") << false;
        QTest::addRow("mixed layout") << true;
    }
    void recallMasksAndUncoversInThePages()
    {
        QFETCH(bool, mixed);
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), mixed);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QCOMPARE(form.Controller().CurSentence(), 1);
        const QString title = WordLooks(form, 0);
        form.ToRecite(QStringLiteral("rbThink"));
        QVERIFY(form.Pages().ShowState().maskActive);
        QCOMPARE(WordLooks(form, 0), title); // the title is never masked
        QCOMPARE(WordLooks(form, 1), QStringLiteral("mmmmmmmmm"));
        QCOMPARE(WordLooks(form, 3), QStringLiteral("mmmmmmmm"));
        QVERIFY(Button(form, "btStopThinking")->isVisible() && Button(form, "btStopThinking")->isEnabled());
        QVERIFY(!Button(form, "btThink")->isVisible());
        for (const char *off : {"btPlay", "btSpell", "btSearch", "btAutoRepeat"})
            QVERIFY2(!Button(form, off)->isEnabled(), off);

        QTest::keyClick(&form, Qt::Key_Q);
        QCOMPARE(WordLooks(form, 1), QStringLiteral("kmmmmmmmm"));
        if (const QString shot = qEnvironmentVariable("MVX_RECALL_SCREENSHOT"); !shot.isEmpty() && !mixed) {
            QTest::qWait(500);
            form.Snapshot().save(shot);
        }
        QTest::keyClick(&form, Qt::Key_C);
        QCOMPARE(WordLooks(form, 1), QStringLiteral("kpppppkpp"));
        QCOMPARE(form.Controller().CurSentence(), 2);
        form.findChild<QAction *>(QString::fromLatin1(mixed ? "rbSeperate" : "rbMix"))->trigger();
        QCOMPARE(m_messages, QStringList{QStringLiteral("正在全文背诵的时候，不能改变显示的布局")});
        QCOMPARE(form.Pages().ShowState().mixedLayout, mixed);

        form.Controller().btPlaySentence_click(); // a double click plays while masked
        QCOMPARE(form.Controller().PlayStatus(), int(Playing));
        QVERIFY(form.DispatchClick("btStopThinking"));
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        QVERIFY(!form.Pages().ShowState().maskActive);
        QCOMPARE(WordLooks(form, 1), QStringLiteral("kpppppkpp"));
        QCOMPARE(WordLooks(form, 2), QStringLiteral("pppppppp"));
        QVERIFY(Button(form, "btThink")->isVisible() && Button(form, "btPlay")->isEnabled());
        QVERIFY(!Button(form, "btStopThinking")->isVisible());
        SaveUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
    }

    // The recitation dialog starts from the stored choice (anything unknown is the shuffled
    // sentences) and hands the chosen one back to its caller.
    void reciteDialogStoresAndCallsBack()
    {
        SaveUserSetting(QString::fromLatin1(Key::ReciteMode), QStringLiteral("x"));
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        ReciteModeForm dialog(&form);
        dialog.Load();
        QCOMPARE(dialog.SelectedMode(), QStringLiteral("rbShuffle"));
        dialog.SelectMode(QStringLiteral("rbThink"));
        dialog.SetCallingForm(&form);
        dialog.btOk_click();
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::ReciteMode), QString()), QStringLiteral("rbThink"));
        QVERIFY(form.Pages().ShowState().maskActive);
        form.btWinClose_click();
        QVERIFY(!form.FormLoaded());
        QVERIFY(!form.Pages().ShowState().maskActive); // unloading ends the recall
    }

    // Alt+S: the spelling drill from the current sentence to the lesson's end, the player
    // hidden meanwhile; an unchanged book is opened again with the pages and the current
    // sentence kept, and the sentence sounds again.
    void spellDrillReturnsToTheSameSentence_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addRow("from the middle") << 2 << 2;
        QTest::addRow("from the last sentence") << 3 << 1;
    }
    void spellDrillReturnsToTheSameSentence()
    {
        QFETCH(int, current);
        QFETCH(int, count);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        form.Controller().SetCurSentence(current);
        int seen = -1;
        bool playerHidden = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *spell = qobject_cast<SpellForm *>(w);
                if (spell && spell->isVisible()) {
                    seen = spell->Session().Count();
                    playerHidden = !form.isVisible();
                    spell->btWinClose_click();
                }
            }
        });
        poll.start(20);
        QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
        poll.stop();
        QCOMPARE(seen, count);
        QVERIFY(playerHidden);
        QVERIFY(form.isVisible());
        QVERIFY(form.Controller().BookHandle() != -1);
        QCOMPARE(form.Controller().CurSentence(), current);
        QCOMPARE(form.Controller().PlayStatus(), int(Stopped));
        const int before = form.Controller().CurPos();
        form.Controller().btPlaySentence_click();
        QCOMPARE(form.Controller().PlayStatus(), int(Playing));
        QVERIFY(WaitFor([&] { return form.Controller().CurPos() > before + 100; }));
        QVERIFY(m_messages.isEmpty());
    }

    // The display settings from the player's button, with the real pages: the night look shows
    // in the page while the dialog is open and Cancel takes it back; with OK it is stored and
    // the rebuilt pages draw it. The usage tips come from the help button whatever the choice.
    void displaySettingsShowAtOnceAndApply()
    {
        SaveUserBool(QString::fromLatin1(Key::NightLook), false);
        LoadDisplaySettings();
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        auto *view = static_cast<pages::HtmlView *>(form.ScriptView());
        const QString frame = static_cast<pages::LessonPages &>(form.Pages()).FrameOf(SentenceText::English);
        auto background = [&] {
            return view->runAndWait(QStringLiteral("(function(){var d=__mvxAgent.doc('%1');"
                                                   "return d.defaultView.getComputedStyle(d.body).backgroundColor;})()")
                                        .arg(frame),
                                    3000)
                .toString();
        };
        const QString day = background();
        const QString night = QStringLiteral("rgb(30, 34, 40)");
        QVERIFY(day != night);
        // A mark on the shown page: gone once the pages are made again.
        auto probe = [&](bool set) {
            return view->runAndWait(QStringLiteral("(function(){var b=__mvxAgent.doc('%1').body;%2"
                                                   "return b.dataset.probe||'';})()")
                                        .arg(frame, set ? QStringLiteral("b.dataset.probe='1';") : QString()),
                                    3000)
                .toString();
        };
        for (const bool ok : {false, true}) {
            QString during;
            if (ok)
                QCOMPARE(probe(true), QStringLiteral("1"));
            QTimer::singleShot(100, &form, [&] {
                QWidget *dialog = nullptr;
                QVERIFY(WaitFor([&] {
                    for (QWidget *w : QApplication::topLevelWidgets())
                        if (w->inherits("mvx::DisplaySettingForm") && w->isVisible())
                            dialog = w;
                    return dialog != nullptr;
                }));
                QMetaObject::invokeMethod(dialog, [dialog] {
                    static_cast<DisplaySettingForm *>(dialog)->ToggleCheckbox(QStringLiteral("NightLook"));
                });
                QVERIFY(WaitFor([&] { return background() == night; }));
                during = background();
                if (ok)
                    form.Controller().EnterBusy(); // OK lands while a sentence's sound opens
                static_cast<DisplaySettingForm *>(dialog)->DispatchClick(ok ? "btOk" : "btCancel");
            });
            QVERIFY(form.DispatchClick("btSetting"));
            QCOMPARE(during, night);
            if (ok) {
                QTest::qWait(1200);
                QCOMPARE(probe(false), QStringLiteral("1")); // not made again inside the wait
                form.Controller().LeaveBusy();
                QVERIFY(WaitFor([&] { return probe(false).isEmpty(); })); // but soon after it
            }
            if (!ok) {
                QVERIFY(WaitFor([&] { return background() == day; }));
                QCOMPARE(NightLookOn(), false);
                QCOMPARE(GetUserSetting(QString::fromLatin1(Key::NightLook), "0"), QStringLiteral("0"));
            }
        }
        QVERIFY(WaitFor([&] { return form.Controller().PlayStatus() == Stopped; }));
        QCOMPARE(background(), night);
        QCOMPARE(GetUserSetting(QString::fromLatin1(Key::NightLook), "0"), QStringLiteral("-1"));
        SaveUserBool(QString::fromLatin1(Key::NightLook), false);
        LoadDisplaySettings();
    }

    // The usage tips wait for a running wait to end, from the timer and from the help
    // button alike; a stored 0 stops only the timer's window.
    void tipsWaitForAWaitToEnd()
    {
        SaveAppSetting(App().appName, QStringLiteral("User"), QStringLiteral("PlayLesson"), QStringLiteral("1"));
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        auto tipsUp = [] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->inherits("mvx::QmrTipsForm") && w->isVisible())
                    return w;
            return static_cast<QWidget *>(nullptr);
        };
        for (const bool fromTimer : {true, false}) {
            int shown = 0;
            QTimer poll;
            connect(&poll, &QTimer::timeout, &form, [&] {
                if (QWidget *tips = tipsUp()) {
                    ++shown;
                    QMetaObject::invokeMethod(tips, "btOk_click");
                }
            });
            poll.start(20);
            form.Controller().EnterBusy(); // a sentence change waits for its sound
            if (fromTimer)
                form.StartTimerHint();
            else
                form.btWinHelp_click();
            QTest::qWait(1300);
            QCOMPARE(shown, 0);
            form.Controller().LeaveBusy();
            QVERIFY(WaitFor([&] { return shown == 1; }, 3000));
        }
        // Not wanted at start: the timer shows nothing, the help button still does.
        SaveAppSetting(App().appName, QStringLiteral("user"), QStringLiteral("PlayLesson"), QStringLiteral("0"));
        int shown = 0;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &form, [&] {
            if (QWidget *tips = tipsUp()) {
                ++shown;
                QMetaObject::invokeMethod(tips, "btOk_click");
            }
        });
        poll.start(20);
        form.StartTimerHint();
        QTest::qWait(900);
        QCOMPARE(shown, 0);
        form.btWinHelp_click();
        QVERIFY(WaitFor([&] { return shown == 1; }, 3000));
        SaveAppSetting(App().appName, QStringLiteral("User"), QStringLiteral("PlayLesson"), QStringLiteral("1"));
    }

    void notebookWithoutWordsSaysHowTheyGetThere()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QVERIFY(form.DispatchClick("btNotebook"));
        // A lesson without notebook words says how they get there.
        QCOMPARE(m_messages, QStringList{PlayerNotebook::NoWordsMessage()});
    }

    // The repeat text ("复读起点 ...") is read whole inside the window, at the default size and
    // in a window too narrow for one line.
    void repeatTextFitsTheWindow_data()
    {
        QTest::addColumn<int>("width");
        QTest::addRow("default size") << 0;
        QTest::addRow("narrow window") << 330;
    }
    void repeatTextFitsTheWindow()
    {
        QFETCH(int, width);
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        if (width > 0)
            form.resize(width, form.height());
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_R);
        auto *label = form.findChild<QLabel *>("lbRepeatStatus");
        QVERIFY(WaitFor([&] { return label->text().startsWith(QStringLiteral("复读起点 ")); }));
        QVERIFY(label->isVisible());
        QVERIFY2(form.rect().contains(label->geometry()), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5")
                     .arg(label->x()).arg(label->y()).arg(label->width()).arg(label->height()).arg(form.width())));
        const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().width();
        QVERIFY(needed <= (label->wordWrap() ? label->height() : label->width()));
        QVERIFY(label->wordWrap() == (width > 0));
        QTest::keyClick(&form, Qt::Key_S);
        QVERIFY(WaitFor([&] { return label->text().isEmpty(); }));
    }

    void layoutFollowsTheWindowSize()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        QList<int> labels;
        for (const QSize size : {QSize(900, 650), QSize(1900, 1300)}) {
            form.resize(size);
            QTest::qWait(20);
            // The ruler's labels cover the picture's whole width, however wide it grew.
            const WaveWindow &wave = form.Controller().Wave();
            labels << wave.RulerMarkCount();
            QVERIFY(wave.RulerTickX(wave.RulerMarkCount()) <= wave.PictureWidth());
            QVERIFY(wave.RulerMarkCount() == WaveWindow::MaxRulerLabel
                    || wave.RulerTickX(wave.RulerMarkCount() + 1) > wave.PictureWidth());
            const int w = PixelsToTwips(form.width());
            const int h = PixelsToTwips(form.height());
            const QRect script = form.ScriptView()->geometry();
            QVERIFY(qAbs(PixelsToTwips(script.right() + 1) - (w - 180)) <= 15);
            QVERIFY(qAbs(PixelsToTwips(script.bottom() + 1) - (h - 600)) <= 15);
            QVERIFY(qAbs(PixelsToTwips(Button(form, "btWinClose")->x()) - (w - 510)) <= 15);
            QVERIFY(qAbs(PixelsToTwips(form.WaveGraph()->geometry().right() + 1) - (w - 495)) <= 15);
            QCOMPARE(form.Controller().Wave().PictureWidth(), form.WaveGraph()->width());
        }
        QVERIFY2(labels[1] > labels[0], "growing the window shows more ruler labels");
    }

    // The tools right of the button row never cover a button: at the window's first size they
    // move into the title band; in a wide window they sit on the row.
    void rowToolsNeverCoverAButton()
    {
        PlayLessonForm form;
        form.OpenLesson(m_book, 0, true);
        form.show();
        const char *const tools[] = {"btStudyRecord", "btHardOnly", "btTimingMenu", "btShowMenu", "cbSpeed", "lbHotkey"};
        for (const QSize size : {QSize(840, 620), QSize(1400, 800)}) {
            form.resize(size);
            QTest::qWait(20);
            QList<QRect> taken;
            for (SkinImage *b : form.findChildren<SkinImage *>())
                if (b->isVisible())
                    taken << b->geometry();
            for (const char *name : tools) {
                auto *tool = form.findChild<QWidget *>(QLatin1String(name));
                QVERIFY2(tool && tool->isVisible(), name);
                QVERIFY2(form.rect().contains(tool->geometry()), name);
                for (const QRect &button : taken)
                    QVERIFY2(!button.intersects(tool->geometry()), name);
                taken << tool->geometry();
            }
            if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty() && size.width() < 1000) {
                QTest::qWait(1500); // the pages painted
                form.grab().save(dir + QStringLiteral("/player-narrow.png"));
            }
            const bool onTheRow = form.findChild<QWidget *>("btStudyRecord")->y() == TwipsToPixels(540);
            QCOMPARE(onTheRow, size.width() > 1000);
        }
    }

    void closingWhilePlayingStopsThenStoresTheZoom()
    {
        SaveUserBool(QString::fromLatin1(Key::ShouldShowComment), true);
        auto *form = new PlayLessonForm;
        form->OpenLesson(m_book, 0, true);
        form->show();
        QSignalSpy closed(form, &PlayLessonForm::closed);
        form->Controller().btPlay_Click();
        QTest::qWait(200);
        const QString sound = form->Controller().SentenceSndFile() + QStringLiteral(".wav");
        QVERIFY(QFileInfo::exists(sound));
        form->close();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(form->Controller().PlayStatus(), int(NoLesson));
        QCOMPARE(form->Pages().ShowState().commentShown, true);
        QCOMPARE(GetUserInt(QString::fromLatin1(Key::WindowRatio), -1), form->Controller().Wave().Ratio());
        QVERIFY(!GetUserBool(QString::fromLatin1(Key::AutoMaximize), true));
        QVERIFY(!QFileInfo::exists(sound));
        delete form;
    }

    // Closed as the window system closes it, a player that deletes itself on close is
    // destroyed with its page view: no closed player stays alive hidden.
    void aClosedPlayerIsDestroyed()
    {
        QPointer<PlayLessonForm> form = new PlayLessonForm;
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->OpenLesson(m_book, 0, true);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.data()));
        QPointer<QWidget> view = form->ScriptView();
        QVERIFY(!view.isNull());
        form->close();
        QTRY_VERIFY_WITH_TIMEOUT(form.isNull(), 5000);
        QVERIFY(view.isNull());
    }

    void aBookThatCannotBeOpenedLeavesAnEmptyPlayer()
    {
        PlayLessonForm form;
        form.OpenLesson(QStringLiteral(MVX_HOME "/no-such-book.dat"), 0, true);
        QCOMPARE(form.Controller().PlayStatus(), int(NoLesson));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(!Button(form, "btPlay")->isEnabled());
    }
};

QTEST_MAIN(TestPlayerForm)
#include "test_player_form.moc"
