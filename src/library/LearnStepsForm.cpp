#include "LearnStepsForm.h"

#include "core/AppState.h"
#include "core/UserSettings.h"
#include "ui/DialogKeys.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>

namespace mvx {

namespace {
const char *const kSteps[] = {"FirstTest", "DetailListen", "LastTest"};
const char *const kCaptions[] = {"初听练习", "全面学习", "过关测验"};
} // namespace

QString LearnStepsForm::InfoFor(const QString &step)
{
    if (step == QLatin1String("DetailListen"))
        return QStringLiteral("用逆向听写，跟读对比等多种手段逐句精听精学文章内容");
    if (step == QLatin1String("LastTest"))
        return QStringLiteral("测验一下，看看您是否基本听懂了本文章的全部内容");
    return QStringLiteral("听一遍文章内容，然后做练习，看自己能听懂多少");
}

LearnStepsForm::LearnStepsForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("LearnStepsForm"), true, parent), m_options(App().skinRoot)
{
    setObjectName(QStringLiteral("LearnStepsForm"));
    SetDesignSize(5700, 3900);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("学习步骤选择"), 240, 90, 3600, 330);
    AddButton(QStringLiteral("btWinClose"), 5250, 75, 330, 330);
    for (int i = 0; i < 3; ++i) {
        AddImage(QStringLiteral("ImgOpMode"), i, QString::fromLatin1(kSteps[i]), 600, 780 + i * 480, 240, 240);
        AddSkinLabel(QStringLiteral("lbOpMode"), i, QString::fromLatin1(kSteps[i]), QString::fromUtf8(kCaptions[i]),
                     930, 750 + i * 480, 2400, 300);
    }
    m_info = AddLabel(QStringLiteral("lbInfo"), QString(), 600, 2280, 4700, 600);
    m_info->setWordWrap(true);
    AddButton(QStringLiteral("btOk"), 2400, 3150, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 3990, 3150, 1425, 450);
}

void LearnStepsForm::Form_Load()
{
    m_options.AddRadioButtons(this, QStringLiteral("ImgOpMode"));
    m_options.InitInterface(FormName());
    for (SkinImage *image : findChildren<SkinImage *>(QStringLiteral("ImgOpMode")))
        connect(image, &SkinImage::clicked, this, [this](SkinImage *img) {
            m_options.SelectButtonByImg(img);
            m_info->setText(InfoFor(SelectedStep()));
        });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbOpMode")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { SelectStep(l->property("tag").toString()); });
    SelectStep(GetUserSetting(QString::fromLatin1(Key::DefaultLearnStep), QStringLiteral("FirstTest")));
}

void LearnStepsForm::SelectStep(const QString &step)
{
    const bool known = step == QLatin1String(kSteps[0]) || step == QLatin1String(kSteps[1]) || step == QLatin1String(kSteps[2]);
    m_options.SelectButton(known ? step : QString::fromLatin1(kSteps[0]));
    m_info->setText(InfoFor(SelectedStep()));
}

QString LearnStepsForm::InfoText() const
{
    return m_info->text();
}

void LearnStepsForm::btOk_click()
{
    const QString step = SelectedStep();
    SaveUserSetting(QString::fromLatin1(Key::DefaultLearnStep), step);
    accept();
    if (m_caller)
        QMetaObject::invokeMethod(m_caller, "LearnArticle", Q_ARG(QString, step));
}

void LearnStepsForm::btCancel_click()
{
    reject();
}

void LearnStepsForm::btWinClose_click()
{
    btCancel_click();
}

bool LearnStepsForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btOk_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
