#include "ManageSoundForm.h"

#include "WordSoundCopyCommand.h"
#include "core/AppState.h"
#include "ui/MessageBox.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

namespace mvx {

ManageSoundForm::ManageSoundForm(QWidget *parent)
    : SkinnedWindow(QStringLiteral("ManageSoundForm"), true, parent), m_checkboxes(App().skinRoot)
{
    setObjectName(QStringLiteral("ManageSoundForm"));
    SetDesignSize(6600, 4200);
    AddLabel(QStringLiteral("lbTitle"), QStringLiteral("声音管理"), 240, 90, 4500, 330);
    AddButton(QStringLiteral("btWinClose"), 6150, 75, 330, 330);
    m_status = AddLabel(QStringLiteral("lbStatus"), QString(), 360, 720, 4200, 330);
    AddButton(QStringLiteral("btCopyWord"), 4800, 660, 1425, 450);
    AddLabel(QStringLiteral("lbTts"), QStringLiteral("单词合成语音选择："), 360, 1560, 2200, 330);
    m_voices = new QComboBox(this);
    m_voices->setObjectName(QStringLiteral("cbTts"));
    m_voices->setGeometry(TwipsRect(2520, 1500, 3705, 390));
    AddImage(QStringLiteral("ImgCheckbox"), 0, QStringLiteral("ckNoCopyHint"), 360, 2310, 195, 195);
    AddSkinLabel(QStringLiteral("lbCheckbox"), 0, QStringLiteral("ckNoCopyHint"),
                 QStringLiteral("启动时不要弹出拷贝声音对话框"), 660, 2250, 4500, 330);
    AddButton(QStringLiteral("btOk"), 3210, 3450, 1425, 450);
    AddButton(QStringLiteral("btCancel"), 4800, 3450, 1425, 450);
}

QString ManageSoundForm::StatusText() const
{
    return m_status->text();
}

void ManageSoundForm::Form_Load()
{
    setWindowTitle(App().dialogCaption);
    m_checkboxes.InitInterface(FormName());
    m_checkboxes.AddCheckboxes(this);
    const auto toggle = [this] { m_checkboxes.ChangeSelection(QStringLiteral("ckNoCopyHint")); };
    for (SkinImage *box : findChildren<SkinImage *>(QStringLiteral("ImgCheckbox")))
        connect(box, &SkinImage::clicked, this, toggle);
    for (SkinLabel *label : findChildren<SkinLabel *>(QStringLiteral("lbCheckbox")))
        connect(label, &SkinLabel::clicked, this, toggle);

    m_manager.openManage();
    m_status->setText(m_manager.status());
    m_voices->clear();
    m_voices->addItems(m_manager.voices());
    m_voices->setCurrentIndex(m_manager.initialVoice());
    m_voices->setEnabled(m_voices->count() > 0);
    m_checkboxes.SelectButton(QStringLiteral("ckNoCopyHint"), m_manager.noCopyHint());
}

void ManageSoundForm::btCopyWord_click()
{
    if (RunWordSoundCopy(this))
        accept();
}

void ManageSoundForm::btOk_click()
{
    const QString warning = m_manager.confirm(m_voices->currentIndex(), NoCopyHintTicked());
    if (!warning.isEmpty())
        ShowMessageBox(warning, 1);
    accept();
}

void ManageSoundForm::btCancel_click()
{
    reject();
}

void ManageSoundForm::btWinClose_click()
{
    btCancel_click();
}

bool ManageSoundForm::Form_KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        btCancel_click();
        return true;
    }
    return false;
}

} // namespace mvx
