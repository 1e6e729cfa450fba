#include "dialogs/DisplaySettingForm.h"

#include "core/FontFallback.h"
#include "core/PageLook.h"
#include "dialogs/DisplayPreview.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/SkinPalette.h"
#include "ui/Twips.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace mvx {

namespace {

using Model = DisplaySettingsModel;

const QString kShowKeyword = QStringLiteral("ShowKeyword");
const QString kShowNewword = QStringLiteral("ShowNewword");
const QString kNightLook = QStringLiteral("NightLook");

struct SwatchPlace
{
    Model::Swatch swatch;
    const char *name;
    const char *caption;
    int left;
    int top;
};

// Left column: background, English, Chinese; right column: comment, current sentence, key words.
const SwatchPlace kSwatches[] = {
    {Model::Background, "piBackground", "背景颜色", 360, 720}, {Model::English, "piEnglish", "原文颜色", 360, 1170},
    {Model::Chinese, "piChinese", "译文颜色", 360, 1620},      {Model::Comment, "piComment", "注释颜色", 3960, 720},
    {Model::Marked, "piMarked", "当前句颜色", 3960, 1170},     {Model::Keyword, "piKeyword", "关键词颜色", 3960, 1620},
};

std::optional<QColor> PlatformColour(QWidget *parent, const QColor &initial,
                                     const std::function<void(const QColor &)> &current)
{
    QColorDialog dialog(initial, parent);
    QObject::connect(&dialog, &QColorDialog::currentColorChanged, &dialog, current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

std::optional<QFont> PlatformFont(QWidget *parent, const QFont &initial, const std::function<void(const QFont &)> &current)
{
    QFontDialog dialog(initial, parent);
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog, current);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedFont();
}

QString ColourStyle(const QString &hex, bool greyed)
{
    return QStringLiteral("background-color:%1; border:1px solid %2;").arg(hex, greyed ? "#C3CCD6" : "#7D93AB");
}

} // namespace

DisplaySettingForm::DisplaySettingForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("DisplaySettingForm"), true, parent),
      m_checkboxes(App().skinRoot),
      m_colourChooser(&PlatformColour),
      m_fontChooser(&PlatformFont)
{
    setObjectName(QStringLiteral("DisplaySettingForm"));
    SetDesignSize(7800, 6780);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("Morvex英语"), 240, 90, 1800, 330);
    // The window's name in the title band, beside the product name, in the band's text colour.
    QLabel *caption = AddLabel(QStringLiteral("lbCaption"), QStringLiteral("显示设置"), 2100, 90, 3000, 330);
    QPalette band = caption->palette();
    band.setColor(QPalette::WindowText, skin::palette::TitleText);
    caption->setPalette(band);
    AddButton(QStringLiteral("btWinClose"), 7350, 75, 330, 330);
    for (const SwatchPlace &s : kSwatches) {
        AddLabel(QStringLiteral("lb") + QLatin1String(s.name + 2), QString::fromUtf8(s.caption), s.left, s.top + 30,
                 1500, 330);
        SkinLabel *swatch = AddSkinLabel(QLatin1String(s.name), 0, QLatin1String(s.name), QString(), s.left + 1560,
                                         s.top, 1200, 360);
        swatch->setCursor(Qt::PointingHandCursor);
        connect(swatch, &SkinLabel::clicked, this, [this, which = s.swatch] { ClickSwatch(which); });
        m_swatches[s.swatch] = swatch;
    }
    m_englishSample = AddLabel(QStringLiteral("lbEnglishSample"), QStringLiteral("English is very important."), 360,
                               2220, 5100, 540);
    m_chineseSample = AddLabel(QStringLiteral("lbChineseSample"), QStringLiteral("好好学习，天天向上"), 360, 2880,
                               5100, 540);
    for (QLabel *sample : {m_englishSample, m_chineseSample})
        sample->setStyleSheet(QStringLiteral("border:1px solid #C3CCD6; padding-left:4px;"));
    AddButton(QStringLiteral("btEnglishFont"), 5760, 2265, 1425, 450);
    AddButton(QStringLiteral("btChineseFont"), 5760, 2925, 1425, 450);

    AddLabel(QStringLiteral("lbTexture"), QStringLiteral("背景纹理"), 360, 3630, 1500, 330);
    m_texture = new QComboBox(this);
    m_texture->setObjectName(QStringLiteral("cbTexture"));
    m_texture->setGeometry(TwipsRect(1920, 3570, 1800, 390));
    m_texturePicture = AddLabel(QStringLiteral("piTexture"), QString(), 3960, 3510, 1920, 510);
    m_texturePicture->setStyleSheet(QStringLiteral("border:1px solid #C3CCD6;"));

    AddLabel(QStringLiteral("lbReadTimes"), QStringLiteral("自动逐句复读时，每句朗读次数"), 360, 4290, 4200, 330);
    m_times = new QComboBox(this);
    m_times->setObjectName(QStringLiteral("cbReadTimes"));
    m_times->setGeometry(TwipsRect(4680, 4230, 1800, 390));
    AddLabel(QStringLiteral("lbAutoGap"), QStringLiteral("自动逐句复读时，两句之间的间隔"), 360, 4800, 4200, 330);
    m_gap = new QComboBox(this);
    m_gap->setObjectName(QStringLiteral("cbAutoGap"));
    m_gap->setGeometry(TwipsRect(4680, 4740, 1800, 390));

    const struct
    {
        const QString &tag;
        const char *caption;
        int left;
        int top;
    } boxes[] = {{kShowKeyword, "关键词变色  颜色", 360, 5400},
                 {kShowNewword, "生词加下划线", 3960, 5400},
                 {kNightLook, "夜间模式（深色背景）", 360, 5850}};
    int index = 0;
    for (const auto &b : boxes) {
        AddImage(QStringLiteral("ImgCheckbox"), index, b.tag, b.left, b.top + 45, 195, 195);
        AddSkinLabel(QStringLiteral("lbCheckbox"), index, b.tag, QString::fromUtf8(b.caption), b.left + 300, b.top,
                     3000, 330);
        ++index;
    }
    AddButton(QStringLiteral("btOk"), 4140, 6150, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 5760, 6150, 1425, 450);
}

DisplaySettingForm::~DisplaySettingForm() = default;

void DisplaySettingForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    m_checkboxes.InitInterface(FormName());
    m_checkboxes.AddCheckboxes(this);
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this, [this, box] { ToggleCheckbox(box->property("tag").toString()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, [this, label] { ToggleCheckbox(label->tag()); });

    m_model.Load(App().display, App().playback);
    // The lists are filled before their signals are connected: loading previews nothing.
    m_texture->clear();
    m_texture->addItems(Model::TextureEntries());
    m_times->clear();
    m_times->addItems(Model::TimesEntries());
    m_gap->clear();
    m_gap->addItems(Model::GapEntries());
    ShowChoices();
    connect(m_texture, &QComboBox::currentIndexChanged, this, [this](int entry) {
        m_model.SetTextureEntry(entry);
        ShowTexture();
        Preview();
    });
    connect(m_times, &QComboBox::currentIndexChanged, this, [this](int entry) { m_model.SetTimesEntry(entry); });
    connect(m_gap, &QComboBox::currentIndexChanged, this, [this](int entry) { m_model.SetGapEntry(entry); });
}

void DisplaySettingForm::ShowChoices()
{
    m_texture->setCurrentIndex(m_model.TextureEntry());
    m_times->setCurrentIndex(m_model.TimesEntry());
    m_gap->setCurrentIndex(m_model.GapEntry());
    m_checkboxes.SelectButton(kShowNewword, m_model.ShowNewword());
    m_checkboxes.SelectButton(kShowKeyword, m_model.ShowKeyword());
    m_checkboxes.SelectButton(kNightLook, m_model.NightLook());
    for (int s = 0; s < Model::SwatchCount; ++s)
        ShowSwatch(Model::Swatch(s));
    ShowSamples();
    ShowTexture();
}

void DisplaySettingForm::ShowSwatch(Model::Swatch swatch)
{
    const PageLook look(m_model.CandidateDisplay(), m_model.NightLook());
    QString hex = PageLook::Hex(m_model.Colour(swatch));
    if (look.Night()) {
        switch (swatch) {
        case Model::Background: hex = look.Background(); break;
        case Model::Keyword: hex = look.Keyword(); break;
        case Model::English: hex = look.English(); break;
        case Model::Chinese: hex = look.Chinese(); break;
        case Model::Comment: hex = look.Comment(); break;
        case Model::Marked: hex = look.CurSentence(); break;
        case Model::SwatchCount: break;
        }
    }
    m_swatches[swatch]->setEnabled(!look.Night());
    m_swatches[swatch]->setStyleSheet(ColourStyle(hex, look.Night()));
}

void DisplaySettingForm::ShowSamples()
{
    const auto show = [](QLabel *sample, const Model::Font &f, const QString &family, int colour) {
        QFont font(family);
        font.setPointSizeF(f.size > 0 ? f.size : 12);
        font.setItalic(f.italic);
        sample->setFont(font);
        sample->setStyleSheet(QStringLiteral("border:1px solid #C3CCD6; padding-left:4px; color:%1;")
                                  .arg(PageLook::Hex(colour)));
    };
    show(m_englishSample, m_model.EnglishFont(), FontFallback::EnglishFamily(m_model.EnglishFont().name),
         m_model.Colour(Model::English));
    show(m_chineseSample, m_model.ChineseFont(), FontFallback::ChineseFamily(m_model.ChineseFont().name),
         m_model.Colour(Model::Chinese));
}

void DisplaySettingForm::ShowTexture()
{
    const QString file = PageLook::TextureFile(App().appPath, m_model.TextureEntry());
    if (file.isEmpty()) {
        m_texturePicture->clear();
        m_texturePicture->setProperty("textureFile", QString());
        return;
    }
    // The tile over the page background in force, as the pages will show it.
    const QPixmap tile(file);
    QPixmap picture(m_texturePicture->size());
    picture.fill(QColor(PageLook(m_model.CandidateDisplay(), m_model.NightLook()).Background()));
    if (!tile.isNull()) {
        QPainter painter(&picture);
        painter.drawTiledPixmap(picture.rect(), tile);
    }
    m_texturePicture->setPixmap(picture);
    m_texturePicture->setProperty("textureFile", file);
}

void DisplaySettingForm::ClickSwatch(Model::Swatch swatch)
{
    if (!m_swatches[swatch]->isEnabled())
        return; // the night colours are fixed
    const int before = m_model.Colour(swatch);
    const auto current = [this, swatch](const QColor &c) {
        if (!c.isValid())
            return;
        m_model.SetColour(swatch, PageLook::FromColor(c));
        Preview();
    };
    const std::optional<QColor> chosen = m_colourChooser(this, PageLook::ToColor(before), current);
    m_model.SetColour(swatch, chosen && chosen->isValid() ? PageLook::FromColor(*chosen) : before);
    ShowSwatch(swatch);
    ShowSamples();
    ShowTexture();
    Preview();
}

void DisplaySettingForm::btEnglishFont_click()
{
    ChooseFont(true);
}

void DisplaySettingForm::btChineseFont_click()
{
    ChooseFont(false);
}

void DisplaySettingForm::ChooseFont(bool english)
{
    const Model::Font before = english ? m_model.EnglishFont() : m_model.ChineseFont();
    // The chooser opens on the family the pages really use.
    QFont initial(english ? FontFallback::EnglishFamily(before.name) : FontFallback::ChineseFamily(before.name));
    initial.setPointSizeF(before.size > 0 ? before.size : 12);
    initial.setItalic(before.italic);
    const auto set = [this, english](const Model::Font &f) {
        if (english)
            m_model.SetEnglishFont(f);
        else
            m_model.SetChineseFont(f);
    };
    const auto toChoice = [](const QFont &f) { return Model::Font{f.family(), f.pointSizeF(), f.italic()}; };
    const auto current = [&](const QFont &f) {
        set(toChoice(f));
        Preview();
    };
    const std::optional<QFont> chosen = m_fontChooser(this, initial, current);
    set(chosen ? toChoice(*chosen) : before);
    ShowSamples();
    Preview();
}

void DisplaySettingForm::ToggleCheckbox(const QString &tag)
{
    const bool on = m_checkboxes.ChangeSelection(tag);
    if (tag == kShowKeyword)
        m_model.SetShowKeyword(on);
    else if (tag == kShowNewword)
        m_model.SetShowNewword(on);
    else if (tag == kNightLook) {
        m_model.SetNightLook(on);
        for (int s = 0; s < Model::SwatchCount; ++s)
            ShowSwatch(Model::Swatch(s));
        ShowTexture();
    } else
        return;
    Preview();
}

void DisplaySettingForm::Preview()
{
    if (!m_preview)
        return;
    m_previewing = true;
    m_preview->Show(m_model.CandidateDisplay(), m_model.NightLook());
}

void DisplaySettingForm::EndPreview(bool keep)
{
    if (m_preview && m_previewing)
        m_preview->End(keep);
    m_previewing = false;
}

void DisplaySettingForm::btOk_click()
{
    EndPreview(true);
    m_model.Confirm();
    accept();
}

void DisplaySettingForm::btCancel_click()
{
    EndPreview(false);
    reject();
}

void DisplaySettingForm::btWinClose_click()
{
    btCancel_click();
}

void DisplaySettingForm::Form_Unload()
{
    EndPreview(false); // a close by any other way leaves the pages as they were
}

bool DisplaySettingForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btCancel_click();
        return true;
    }
    return false;
}

} // namespace mvx
