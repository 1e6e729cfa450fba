#include "player/form/WordSummaryModeForm.h"

#include "core/AppState.h"
#include "ui/DialogKeys.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"

#include <QKeyEvent>
#include <QMetaObject>

namespace mvx {

namespace {
const char *const kTags[] = {"Keywords", "Newwords"};
const char *const kCaptions[] = {"联动关键词", "联动生词"};
} // namespace

WordSummaryModeForm::WordSummaryModeForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("WordSummaryModeForm"), true, parent), m_boxes(App().skinRoot)
{
    setObjectName(QStringLiteral("WordSummaryModeForm"));
    SetDesignSize(4800, 3000);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("词句联动模式"), 240, 90, 3000, 330);
    AddButton(QStringLiteral("btWinClose"), 4350, 75, 330, 330);
    AddLabel(QStringLiteral("lbNote"), QStringLiteral("请注意：词句联动是从当前句开始的"), 600, 660, 3900, 330);
    for (int i = 0; i < 2; ++i) {
        AddImage(QStringLiteral("ImgCheckbox"), i, QString::fromLatin1(kTags[i]), 600, 1230 + i * 480, 195, 195);
        AddSkinLabel(QStringLiteral("lbCheckbox"), i, QString::fromLatin1(kTags[i]), QString::fromUtf8(kCaptions[i]),
                     900, 1170 + i * 480, 2400, 330);
    }
    AddButton(QStringLiteral("btOk"), 1500, 2250, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 3090, 2250, 1425, 450);
}

const QString &WordSummaryModeForm::NeitherMessage()
{
    static const QString text = QStringLiteral("关键词和生词都不联动是不合理的。");
    return text;
}

void WordSummaryModeForm::Form_Load()
{
    m_boxes.InitInterface(FormName());
    m_boxes.AddCheckboxes(this);
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this, [this](SkinImage *b) { m_boxes.ChangeSelection(b->property("tag").toString()); });
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, [this](SkinLabel *l) { m_boxes.ChangeSelection(l->property("tag").toString()); });
    for (const char *tag : kTags)
        m_boxes.SelectButton(QString::fromLatin1(tag), true);
}

void WordSummaryModeForm::btOk_click()
{
    const bool keywords = IsTicked(QStringLiteral("Keywords"));
    const bool newwords = IsTicked(QStringLiteral("Newwords"));
    if (!keywords && !newwords) {
        ShowMessageBox(NeitherMessage(), 1);
        return;
    }
    accept();
    if (m_caller)
        QMetaObject::invokeMethod(m_caller, "WordSummary", Q_ARG(bool, keywords), Q_ARG(bool, newwords));
}

void WordSummaryModeForm::btCancel_click()
{
    reject();
}

void WordSummaryModeForm::btWinClose_click()
{
    btCancel_click();
}

bool WordSummaryModeForm::Form_KeyDown(QKeyEvent *event)
{
    return ConfirmOrCancelByKey(event, [this] { btOk_click(); }, [this] { btCancel_click(); });
}

} // namespace mvx
