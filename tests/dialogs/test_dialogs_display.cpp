// The display settings: the dialog's lists and conversions, the page colours in force by day
// and at night, texture pictures, and the dialog itself (OK stores, every other way out
// leaves the settings and the preview as they were).
#include "core/AppState.h"
#include "core/FontFallback.h"
#include "core/PageLook.h"
#include "core/UserSettings.h"
#include "dialogs/DisplayPreview.h"
#include "dialogs/DisplaySettingForm.h"
#include "dialogs/DisplaySettingsModel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace mvx;
using Model = DisplaySettingsModel;

namespace {

// Records what the dialog asks the pages to show.
class RecordingPreview final : public DisplayPreview
{
public:
    void Show(const DisplaySettings &candidate, bool night) override
    {
        shown.append(candidate);
        nights.append(night);
    }
    void End(bool keep) override { ends.append(keep); }
    QList<DisplaySettings> shown;
    QList<bool> nights;
    QList<bool> ends;
};

QString Stored(const char *key)
{
    return GetUserSetting(QString::fromLatin1(key), QStringLiteral("<absent>"));
}

// Every display key as stored, to compare before and after.
QStringList StoredDisplayKeys()
{
    QStringList all;
    for (const char *k : {Key::BackgroundColor, Key::KeywordColor, Key::EnglishColor, Key::ChineseColor,
                          Key::CommentColor, Key::CurSentenceColor, Key::ShowKeyword, Key::ShowNewword,
                          Key::TextureIdx, Key::EnglishFontName, Key::EnglishFontSize, Key::ChineseFontName,
                          Key::ChineseFontSize, Key::AutoRepeatTimes, Key::AutoRepeatGapSetting, Key::NightLook})
        all << Stored(k);
    return all;
}

bool Same(const DisplaySettings &a, const DisplaySettings &b)
{
    return a.backgroundColor == b.backgroundColor && a.keywordColor == b.keywordColor
           && a.englishColor == b.englishColor && a.chineseColor == b.chineseColor && a.commentColor == b.commentColor
           && a.curSentenceColor == b.curSentenceColor && a.showKeyword == b.showKeyword
           && a.showNewword == b.showNewword && a.textureIdx == b.textureIdx && a.englishFontName == b.englishFontName
           && a.englishFontSize == b.englishFontSize && a.chineseFontName == b.chineseFontName
           && a.chineseFontSize == b.chineseFontSize;
}

} // namespace

class TestDialogsDisplay : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_home;

    void ResetSettings()
    {
        for (const char *k : {Key::BackgroundColor, Key::KeywordColor, Key::EnglishColor, Key::ChineseColor,
                              Key::CommentColor, Key::CurSentenceColor, Key::ShowKeyword, Key::ShowNewword,
                              Key::TextureIdx, Key::EnglishFontName, Key::EnglishFontSize, Key::ChineseFontName,
                              Key::ChineseFontSize, Key::AutoRepeatTimes, Key::AutoRepeatGapSetting, Key::NightLook})
            SaveUserSetting(QString::fromLatin1(k), DefaultFor(QString::fromLatin1(k)));
        LoadDisplaySettings();
    }

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>(qEnvironmentVariable("MVX_TEST_TMP") + "/dispXXXXXX");
        App().appPath = m_home->path();
        App().skinRoot = QStringLiteral(MVX_HOME) + "/ecminterface";
        QDir(m_home->path()).mkpath("alltmpfile");
        ResetSettings();
    }

    // ---- Lists and conversions ------------------------------------------------------------

    void repeatTimes_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("confirmed");
        QTest::addRow("100 is offered") << 100 << "100" << 100;
        QTest::addRow("7 is not offered") << 7 << "1" << 1;
        QTest::addRow("6 is the last small one") << 6 << "6" << 6;
        QTest::addRow("2, the default") << 2 << "2" << 2;
        QTest::addRow("0") << 0 << "1" << 1;
        QTest::addRow("negative") << -3 << "1" << 1;
    }
    void repeatTimes()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(int, confirmed);
        SaveUserInt(QString::fromLatin1(Key::AutoRepeatTimes), stored);
        LoadDisplaySettings();
        DisplaySettingForm form;
        form.Load();
        QCOMPARE(form.TimesList()->currentText(), shown);
        form.btOk_click();
        QCOMPARE(Stored(Key::AutoRepeatTimes), QString::number(confirmed));
        QCOMPARE(App().playback.autoRepeatTimes, confirmed);
    }

    void gapAndTexture_data()
    {
        QTest::addColumn<int>("gap");
        QTest::addColumn<QString>("gapShown");
        QTest::addColumn<int>("texture");
        QTest::addColumn<QString>("textureShown");
        QTest::addColumn<int>("textureStored");
        QTest::addRow("none") << 0 << "无" << 0 << "无" << 0;
        QTest::addRow("middle") << 2 << "1.5 倍句长" << 3 << "纹理 3" << 3;
        QTest::addRow("last") << 5 << "3 倍句长" << 10 << "纹理 10" << 10;
        QTest::addRow("out of range") << 6 << "无" << 11 << "无" << 0;
        QTest::addRow("far out") << -1 << "无" << 99 << "无" << 0;
    }
    void gapAndTexture()
    {
        QFETCH(int, gap);
        QFETCH(QString, gapShown);
        QFETCH(int, texture);
        QFETCH(QString, textureShown);
        QFETCH(int, textureStored);
        SaveUserInt(QString::fromLatin1(Key::AutoRepeatGapSetting), gap);
        SaveUserInt(QString::fromLatin1(Key::TextureIdx), texture);
        LoadDisplaySettings();
        DisplaySettingForm form;
        form.Load();
        QCOMPARE(form.GapList()->currentText(), gapShown);
        QCOMPARE(form.TextureList()->currentText(), textureShown);
        QCOMPARE(form.TextureList()->count(), 11);
        QCOMPARE(form.GapList()->count(), 6);
        form.btOk_click();
        QCOMPARE(Stored(Key::TextureIdx), QString::number(textureStored));
        QCOMPARE(Stored(Key::AutoRepeatGapSetting), QString::number(form.GapList()->currentIndex()));
    }

    void choosingTheThirdTextureStoresThree()
    {
        SaveUserInt(QString::fromLatin1(Key::TextureIdx), 0);
        LoadDisplaySettings();
        DisplaySettingForm form;
        form.Load();
        QCOMPARE(form.TextureList()->currentText(), QStringLiteral("无"));
        form.TextureList()->setCurrentIndex(3);
        form.btOk_click();
        QCOMPARE(Stored(Key::TextureIdx), QStringLiteral("3"));
        QCOMPARE(App().display.textureIdx, 3);
    }

    void colours_data()
    {
        QTest::addColumn<int>("settings");
        QTest::addColumn<QString>("hex");
        QTest::addRow("pure red") << 255 << "#FF0000";
        QTest::addRow("pure blue") << 16711680 << "#0000FF";
        QTest::addRow("green") << 0x00FF00 << "#00FF00";
        QTest::addRow("white") << 16777215 << "#FFFFFF";
        QTest::addRow("black") << 0 << "#000000";
        QTest::addRow("mixed bytes") << 0x336699 << "#996633";
    }
    void colours()
    {
        QFETCH(int, settings);
        QFETCH(QString, hex);
        QCOMPARE(PageLook::Hex(settings), hex);
        QCOMPARE(PageLook::FromColor(QColor(hex)), settings);
    }

    // The colour chooser's answer lands in the swatch, the sample and, on OK, the store.
    void chosenColourIsStoredRedLow()
    {
        DisplaySettingForm form;
        form.SetColourChooser([](QWidget *, const QColor &initial, const std::function<void(const QColor &)> &) {
            return initial == QColor(Qt::black) ? std::optional<QColor>(QColor(255, 0, 0)) : std::nullopt;
        });
        form.Load();
        form.ClickSwatch(Model::English);
        QVERIFY(form.EnglishSample()->styleSheet().contains("#FF0000"));
        QVERIFY(form.Swatch(Model::English)->styleSheet().contains("#FF0000"));
        form.btOk_click();
        QCOMPARE(Stored(Key::EnglishColor), QStringLiteral("255"));
        QCOMPARE(App().display.englishColor, 255);
    }

    void cancelledColourChooserChangesNothing()
    {
        RecordingPreview preview;
        DisplaySettingForm form;
        form.SetPreview(&preview);
        // The chooser moves its current colour about, then is cancelled.
        form.SetColourChooser([](QWidget *, const QColor &, const std::function<void(const QColor &)> &current) {
            current(QColor(0, 255, 0));
            return std::optional<QColor>();
        });
        form.Load();
        form.ClickSwatch(Model::Background);
        QCOMPARE(form.Model().Colour(Model::Background), 16777215);
        QVERIFY(preview.shown.size() >= 2);
        QCOMPARE(preview.shown.first().backgroundColor, 0x00FF00); // the chooser's current colour
        QCOMPARE(preview.shown.last().backgroundColor, 16777215);  // and back
    }

    // Cancel, the close button and the window system's close: nothing stored, nothing kept.
    void everyWayOutButOkLeavesAll_data()
    {
        QTest::addColumn<int>("way");
        QTest::addRow("cancel") << 0;
        QTest::addRow("close button") << 1;
        QTest::addRow("alt+f4") << 2;
        QTest::addRow("escape") << 3;
    }
    void everyWayOutButOkLeavesAll()
    {
        QFETCH(int, way);
        const QStringList before = StoredDisplayKeys();
        const DisplaySettings display = App().display;
        RecordingPreview preview;
        DisplaySettingForm form;
        form.SetPreview(&preview);
        form.SetColourChooser(
            [](QWidget *, const QColor &, const std::function<void(const QColor &)> &) { return QColor(Qt::yellow); });
        form.Load();
        form.show();
        form.ClickSwatch(Model::Comment);
        form.ToggleCheckbox("ShowKeyword");
        form.ToggleCheckbox("NightLook");
        form.TextureList()->setCurrentIndex(5);
        form.TimesList()->setCurrentIndex(6);
        QVERIFY(!preview.shown.isEmpty());
        QCOMPARE(preview.nights.last(), true);
        switch (way) {
        case 0: form.btCancel_click(); break;
        case 1: form.btWinClose_click(); break;
        case 2: form.close(); break;
        case 3: QTest::keyClick(&form, Qt::Key_Escape); break;
        }
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QCOMPARE(preview.ends, QList<bool>{false});
        QCOMPARE(StoredDisplayKeys(), before);
        QVERIFY(Same(App().display, display));
        QCOMPARE(NightLookOn(), false);
        QCOMPARE(App().playback.autoRepeatTimes, 2);
    }

    void okStoresEveryChoice()
    {
        RecordingPreview preview;
        DisplaySettingForm form;
        form.SetPreview(&preview);
        form.SetColourChooser(
            [](QWidget *, const QColor &, const std::function<void(const QColor &)> &) { return QColor(0, 0, 128); });
        form.Load();
        QVERIFY(form.IsChecked("ShowKeyword"));
        QVERIFY(form.IsChecked("ShowNewword"));
        QVERIFY(!form.IsChecked("NightLook"));
        form.ClickSwatch(Model::Marked);
        if (const QString dir = qEnvironmentVariable("MVX_DOC_SHOTS"); !dir.isEmpty()) {
            form.show();
            QVERIFY(form.grab().save(dir + "/display-settings.png"));
        }
        form.ToggleCheckbox("ShowNewword");
        form.ToggleCheckbox("NightLook");
        form.GapList()->setCurrentIndex(4);
        form.btOk_click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(preview.ends, QList<bool>{true});
        QCOMPARE(Stored(Key::CurSentenceColor), QString::number(128 << 16));
        QCOMPARE(Stored(Key::ShowNewword), QStringLiteral("0"));
        QCOMPARE(Stored(Key::ShowKeyword), QStringLiteral("-1")); // a true box is stored as -1
        QCOMPARE(Stored(Key::NightLook), QStringLiteral("-1"));
        QCOMPARE(Stored(Key::AutoRepeatGapSetting), QStringLiteral("4"));
        QCOMPARE(NightLookOn(), true);
        // A fresh load reads back what was stored.
        App().display = DisplaySettings();
        NightLookOn() = false;
        LoadDisplaySettings();
        QCOMPARE(App().display.curSentenceColor, 128 << 16);
        QCOMPARE(NightLookOn(), true);
    }

    void nightLookReading_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("night");
        QTest::addRow("true") << "-1" << true;
        QTest::addRow("one") << "1" << true;
        QTest::addRow("false") << "0" << false;
        QTest::addRow("letters") << "x" << false;
        QTest::addRow("empty") << "" << false;
    }
    void nightLookReading()
    {
        QFETCH(QString, stored);
        QFETCH(bool, night);
        SaveUserSetting(QString::fromLatin1(Key::NightLook), stored);
        LoadDisplaySettings();
        QCOMPARE(NightLookOn(), night);
        DisplaySettingForm form;
        form.Load();
        QCOMPARE(form.IsChecked("NightLook"), night);
        // At night the swatches show the night colours, greyed, and take no clicks.
        QCOMPARE(form.Swatch(Model::Background)->isEnabled(), !night);
        QCOMPARE(form.Swatch(Model::Background)->styleSheet().contains("#1E2228"), night);
    }

    void keyWordBoxFollowsItsSettingOnly()
    {
        SaveUserInt(QString::fromLatin1(Key::ShowKeyword), 0);
        LoadDisplaySettings();
        DisplaySettingForm form;
        form.Load();
        QVERIFY(!form.IsChecked("ShowKeyword"));
        QVERIFY(form.IsChecked("ShowNewword"));
    }

    // The font chooser opens on the family the pages draw with; the stored name changes only
    // when the learner picks a font. Italic lasts for the run, unstored.
    void fontChooser()
    {
        QFont opened;
        DisplaySettingForm form;
        form.SetFontChooser([&opened](QWidget *, const QFont &initial, const std::function<void(const QFont &)> &) {
            opened = initial;
            return std::optional<QFont>();
        });
        form.Load();
        form.btEnglishFont_click();
        QCOMPARE(opened.family(), FontFallback::EnglishFamily(QStringLiteral("MS Sans Serif")));
        QCOMPARE(opened.pointSizeF(), 12.0);
        form.btChineseFont_click();
        QCOMPARE(opened.family(), FontFallback::ChineseFamily(QStringLiteral("宋体")));
        form.btOk_click();
        QCOMPARE(Stored(Key::EnglishFontName), QStringLiteral("MS Sans Serif"));
        QCOMPARE(Stored(Key::ChineseFontName), QStringLiteral("宋体"));

        DisplaySettingForm second;
        second.SetFontChooser([](QWidget *, const QFont &initial, const std::function<void(const QFont &)> &) {
            QFont f = initial;
            f.setPointSizeF(10.5);
            f.setItalic(true);
            return std::optional<QFont>(f);
        });
        second.Load();
        second.btEnglishFont_click();
        QVERIFY(second.EnglishSample()->font().italic());
        second.btOk_click();
        QCOMPARE(Stored(Key::EnglishFontSize), QStringLiteral("10.5"));
        QCOMPARE(Stored(Key::EnglishFontName), FontFallback::EnglishFamily(QStringLiteral("MS Sans Serif")));
        QVERIFY(DisplaySettingsModel::EnglishItalic());
        QVERIFY(!DisplaySettingsModel::ChineseItalic());
        DisplaySettingForm third;
        third.Load();
        QVERIFY(third.EnglishSample()->font().italic());
    }

    // ---- Colours in force and pictures ---------------------------------------------------

    void contrast_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<double>("ratio");
        QTest::addRow("black on white") << "#000000" << "#FFFFFF" << 21.0;
        QTest::addRow("same colour") << "#3A3F47" << "#3A3F47" << 1.0;
        QTest::addRow("grey on white") << "#767676" << "#FFFFFF" << 4.54;
        QTest::addRow("order does not matter") << "#FFFFFF" << "#767676" << 4.54;
    }
    void contrast()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(double, ratio);
        QVERIFY2(qAbs(PageLook::Contrast(QColor(a), QColor(b)) - ratio) < 0.01,
                 qPrintable(QString::number(PageLook::Contrast(QColor(a), QColor(b)))));
    }

    void nightColoursAreReadable()
    {
        for (const QString &bg : PageLook::NightBackgrounds())
            for (const QString &text : PageLook::NightTexts())
                QVERIFY2(PageLook::Contrast(QColor(text), QColor(bg)) >= 4.5, qPrintable(text + " on " + bg));
        const PageLook look(DisplaySettings(), true);
        const QColor key(look.Keyword());
        const QColor cur(look.CurSentence());
        QVERIFY(key.hslSaturationF() >= 0.35);
        QVERIFY(cur.hslSaturationF() >= 0.35);
        const int apart = qAbs(key.hslHue() - cur.hslHue());
        QVERIFY(qMin(apart, 360 - apart) >= 60);
        // By day the stored colours are in force.
        const PageLook day(DisplaySettings(), false);
        QCOMPARE(day.Background(), QStringLiteral("#FFFFFF"));
        QCOMPARE(day.Keyword(), QStringLiteral("#FF0000"));
        QCOMPARE(day.CurSentence(), QStringLiteral("#0000FF"));
        QCOMPARE(day.CommentPicture(), QStringLiteral("my4.jpg"));
        QVERIFY(look.CommentPicture().isEmpty());
    }

    // The shipped tiles: faint (alpha at most 0.12), and every night text stays readable over
    // the darkest and the lightest pixel a tile makes of each night background.
    void shippedTexturesKeepNightTextReadable()
    {
        for (int n = 1; n <= 10; ++n) {
            const QString file = PageLook::TextureFile(QStringLiteral(MVX_HOME), n);
            QVERIFY2(file.endsWith(QString::number(n) + ".png"), qPrintable(file));
            const QImage tile = QImage(file).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(tile.size(), QSize(128, 128));
            int maxAlpha = 0;
            for (int y = 0; y < tile.height(); ++y)
                for (int x = 0; x < tile.width(); ++x)
                    maxAlpha = std::max(maxAlpha, qAlpha(tile.pixel(x, y)));
            QVERIFY2(maxAlpha <= 31 && maxAlpha > 0, qPrintable(QString::number(maxAlpha)));
            for (const QString &bg : PageLook::NightBackgrounds()) {
                const QColor base(bg);
                const double a = maxAlpha / 255.0;
                const QColor marked(int(base.red() * (1 - a) + 128 * a), int(base.green() * (1 - a) + 128 * a),
                                    int(base.blue() * (1 - a) + 128 * a));
                for (const QString &text : PageLook::NightTexts())
                    for (const QColor &under : {base, marked})
                        QVERIFY2(PageLook::Contrast(QColor(text), under) >= 4.5,
                                 qPrintable(QStringLiteral("%1 on %2 (tile %3)").arg(text, under.name()).arg(n)));
            }
        }
    }

    void textureFiles_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("found");
        QTest::addRow("png first") << QStringList{"2.png", "2.gif", "2.jpg"} << 2 << "2.png";
        QTest::addRow("gif before jpg") << QStringList{"3.gif", "3.jpg"} << 3 << "3.gif";
        QTest::addRow("jpg alone") << QStringList{"4.jpg"} << 4 << "4.jpg";
        QTest::addRow("none there") << QStringList{} << 1 << "";
        QTest::addRow("zero") << QStringList{"0.png"} << 0 << "";
        QTest::addRow("eleven") << QStringList{"11.png"} << 11 << "";
        QTest::addRow("a folder is no picture") << QStringList{"5.png/"} << 5 << "";
    }
    void textureFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(int, n);
        QFETCH(QString, found);
        const QString dir = m_home->path() + "/alltmpfile/";
        for (const QString &f : files) {
            if (f.endsWith('/')) {
                QDir().mkpath(dir + f);
                continue;
            }
            QFile file(dir + f);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        QCOMPARE(PageLook::TextureFile(m_home->path(), n), found.isEmpty() ? QString() : dir + found);
    }

    void texturePreviewShowsThePictureOrNothing()
    {
        QImage tile(8, 8, QImage::Format_ARGB32);
        tile.fill(QColor(128, 128, 128, 30));
        QVERIFY(tile.save(m_home->path() + "/alltmpfile/2.png"));
        SaveUserInt(QString::fromLatin1(Key::TextureIdx), 2);
        LoadDisplaySettings();
        DisplaySettingForm form;
        form.Load();
        QVERIFY(!form.TexturePreview()->pixmap().isNull());
        form.TextureList()->setCurrentIndex(3); // no picture for 3
        QVERIFY(form.TexturePreview()->pixmap().isNull());
        form.TextureList()->setCurrentIndex(0);
        QVERIFY(form.TexturePreview()->pixmap().isNull());
    }
};

QTEST_MAIN(TestDialogsDisplay)
#include "test_dialogs_display.moc"
