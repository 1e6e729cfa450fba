#include "player/form/ReciteModeForm.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "ui/DialogKeys.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"

#include <QKeyEvent>
#include <QMetaObject>

namespace mvx {

namespace {
const char *const kModes[] = {"rbThink", "rbShuffle"};
const char *const kCaptions[] = {"文章默想模式", "单句组合模式"};
} // namespace

ReciteModeForm::ReciteModeForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("ReciteModeForm"), true, parent), m_options(App().skinRoot)
{
    setObjectName(QStringLiteral("ReciteModeForm"));
    SetDesignSize(4800, 2700);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("背诵模式"), 240, 90, 3000, 330);
    AddButton(QStringLiteral("btWinClose"), 4350, 75, 330, 330);
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgOpReciteMode"), i, QString::fromLatin1(kModes[i]), 600, 780 + i * 480, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpReciteMode"), i, QString::fromLatin1(kModes[i]),
                     QString::fromUtf8(kCaptions[i]), 930, 750 + i * 480, 2400, 300);
    }
    AddButton(QStringLiteral("btOk"), 1500, 1950, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 3090, 1950, 1425, 450);
}

void ReciteModeForm::Form_Load()
{
    m_options.AddRadioButtons(this, QStringLiteral("ImgOpReciteMode"));
    m_options.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpReciteMode")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) { m_options.SelectButtonByImg(img); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpReciteMode")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectMode(l->property("tag").toString()); });
    SelectMode(GetUserSetting(QString::fromLatin1(Key::ReciteMode), QStringLiteral("rbThink")));
}

// Any stored value other than the masked recall selects the shuffled sentences.
void ReciteModeForm::SelectMode(const QString &mode)
{
    m_options.SelectButton(QString::fromLatin1(mode == QLatin1String(kModes[0]) ? kModes[0] : kModes[1]));
}

void ReciteModeForm::btOk_click()
{
    const QString mode = SelectedMode();
    SaveUserSetting(QString::fromLatin1(Key::ReciteMode), mode);
    accept();
    if (m_caller)
        QMetaObject::invokeMethod(m_caller, "ToRecite", Q_ARG(QString, mode));
}

void ReciteModeForm::btCancel_click()
{
    reject();
}

void ReciteModeForm::btWinClose_click()
{
    btCancel_click();
}

bool ReciteModeForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btOk_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
