#pragma once
// The display settings dialog ("显示设置"): six colour swatches, the English and Chinese
// fonts with their samples, the page texture, the repeat count and gap, key-word and
// new-word marking and the night look. Every change is shown at once through the preview
// (when one is set); OK stores the choices and closes with Accepted (the caller then reloads
// the lesson), Cancel, the close button and Alt+F4 close with Rejected and leave the
// settings and the pages as they were.
#include "dialogs/DisplaySettingsModel.h"
#include "ui/CCheckboxGroup.h"
#include "ui/SkinnedWindow.h"

#include <QColor>
#include <QFont>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;

namespace mvx {

class DisplayPreview;
class SkinLabel;

class DisplaySettingForm final : public SkinnedWindow
{
    Q_OBJECT

public:
    // The platform choosers, replaceable for tests: each opens on the initial value, reports
    // the chooser's current value while it is open, and answers the value chosen, or nothing
    // when the learner cancels.
    using ColourChooser = std::function<std::optional<QColor>(QWidget *parent, const QColor &initial,
                                                               const std::function<void(const QColor &)> &current)>;
    using FontChooser = std::function<std::optional<QFont>(QWidget *parent, const QFont &initial,
                                                            const std::function<void(const QFont &)> &current)>;

    explicit DisplaySettingForm(QWidget *parent = nullptr);
    ~DisplaySettingForm() override;

    void SetPreview(DisplayPreview *preview) { m_preview = preview; }
    void SetColourChooser(ColourChooser chooser) { m_colourChooser = std::move(chooser); }
    void SetFontChooser(FontChooser chooser) { m_fontChooser = std::move(chooser); }

    [[nodiscard]] const DisplaySettingsModel &Model() const { return m_model; }
    [[nodiscard]] QLabel *Swatch(DisplaySettingsModel::Swatch swatch) const { return m_swatches[swatch]; }
    [[nodiscard]] QLabel *EnglishSample() const { return m_englishSample; }
    [[nodiscard]] QLabel *ChineseSample() const { return m_chineseSample; }
    [[nodiscard]] QLabel *TexturePreview() const { return m_texturePicture; }
    [[nodiscard]] QComboBox *TextureList() const { return m_texture; }
    [[nodiscard]] QComboBox *TimesList() const { return m_times; }
    [[nodiscard]] QComboBox *GapList() const { return m_gap; }
    [[nodiscard]] bool IsChecked(const QString &tag) const { return m_checkboxes.IsSelected(tag); }

    // A click on a swatch, a font button, a check box (tag) or its label.
    void ClickSwatch(DisplaySettingsModel::Swatch swatch);
    void ToggleCheckbox(const QString &tag);

    Q_INVOKABLE void btEnglishFont_click();
    Q_INVOKABLE void btChineseFont_click();
    Q_INVOKABLE void btOk_click();
    Q_INVOKABLE void btCancel_click();
    Q_INVOKABLE void btWinClose_click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool Form_KeyDown(QKeyEvent *event) override;

private:
    void ShowChoices();
    void ShowSwatch(DisplaySettingsModel::Swatch swatch);
    void ShowSamples();
    void ShowTexture();
    void ChooseFont(bool english);
    void Preview();
    void EndPreview(bool keep);

    DisplaySettingsModel m_model;
    CCheckboxGroup m_checkboxes;
    DisplayPreview *m_preview = nullptr;
    bool m_previewing = false;
    ColourChooser m_colourChooser;
    FontChooser m_fontChooser;
    QLabel *m_swatches[DisplaySettingsModel::SwatchCount] = {};
    QLabel *m_englishSample = nullptr;
    QLabel *m_chineseSample = nullptr;
    QComboBox *m_texture = nullptr;
    QLabel *m_texturePicture = nullptr;
    QComboBox *m_times = nullptr;
    QComboBox *m_gap = nullptr;
};

} // namespace mvx
