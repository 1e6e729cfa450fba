#include "player/events/PrintModeForm.h"

#include "core/AppState.h"
#include "ui/DialogKeys.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"

#include <QKeyEvent>
#include <QMetaObject>

namespace mvx {

namespace {
const char *const kPrintModes[] = {"rbEnglish", "rbChinese"};
const char *const kCaptions[] = {"打印英文", "打印中文"};
} // namespace

PrintModeForm::PrintModeForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("PrintModeForm"), true, parent), m_modes(App().skinRoot)
{
    setObjectName(QStringLiteral("PrintModeForm"));
    SetDesignSize(4800, 2700);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("打印文章"), 240, 90, 3600, 330);
    AddButton(QStringLiteral("btWinClose"), 4350, 75, 330, 330);
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgOpPrintMode"), i, QString::fromLatin1(kPrintModes[i]), 600, 780 + i * 480, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpPrintMode"), i, QString::fromLatin1(kPrintModes[i]), QString::fromUtf8(kCaptions[i]),
                     930, 750 + i * 480, 2400, 300);
    }
    AddButton(QStringLiteral("btOk"), 1500, 1980, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 3090, 1980, 1425, 450);
}

void PrintModeForm::Form_Load()
{
    setWindowTitle(QStringLiteral("打印文章"));
    m_modes.AddRadioButtons(this, QStringLiteral("ImgOpPrintMode"));
    m_modes.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpPrintMode")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) { m_modes.SelectButtonByImg(img); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpPrintMode")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectMode(l->property("tag").toString()); });
    m_modes.SelectButton(QStringLiteral("rbEnglish"));
}

void PrintModeForm::btOk_click()
{
    const QString mode = SelectedMode();
    accept();
    if (m_caller)
        QMetaObject::invokeMethod(m_caller, "PrintDoc", Q_ARG(QString, mode));
}

void PrintModeForm::btCancel_click()
{
    reject();
}

void PrintModeForm::btWinClose_click()
{
    reject();
}

bool PrintModeForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btOk_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
