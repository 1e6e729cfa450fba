// mvxbrx-uishot <skin root> <output folder>: draws the message box and a sample of
// the player's skinned frame with the rendered skins and saves them as pictures
// (the screenshots in docs/). Run it headless with QT_QPA_PLATFORM=offscreen.
#include "core/AppState.h"
#include "ui/CCheckboxGroup.h"
#include "ui/CRadioGroup.h"
#include "ui/SkinImage.h"
#include "ui/SkinLabel.h"
#include "ui/SkinnedWindow.h"
#include "ui/lgMsgBoxForm.h"

#include <QApplication>
#include <QDir>
#include <QLabel>

namespace {

// The player's frame with its buttons, as the skin draws it.
class PlayerSample final : public mvx::SkinnedWindow
{
public:
    PlayerSample() : SkinnedWindow(QStringLiteral("PlayLessonForm"), false)
    {
        SetDesignSize(12600, 7800);
        const QString dir = mvx::App().skinRoot + QStringLiteral("/PlayLessonForm/");
        const int w = width();
        const int h = height();
        auto piece = [&](const QString &name, int x, int y) {
            auto *image = new mvx::SkinImage(this, name, 0, QString());
            image->loadPicture(dir + name + QStringLiteral(".png"));
            image->move(x, y);
            MarkAsBackground(image);
            return image;
        };
        for (int x = 0; x < w; x += 40)
            piece(QStringLiteral("ImgTop"), x, 0);
        for (int y = 40; y < h; y += 40) {
            piece(QStringLiteral("ImgLeft"), 0, y);
            piece(QStringLiteral("ImgRight"), w - 6, y);
        }
        for (int x = 0; x < w; x += 40)
            piece(QStringLiteral("ImgDown"), x, h - 6);
        piece(QStringLiteral("imgTopRight"), w - 6, 0);
        piece(QStringLiteral("ImgDownLeft"), 0, h - 6);
        piece(QStringLiteral("ImgDownRight"), w - 6, h - 6);

        int left = 780;
        for (const char *tag : {"btPlay", "btRepeatSentence", "btAutoRepeat", "btPlaySentence", "btABRepeatA",
                                "btABRepeatB", "btPause", "btStop", "btPrev", "btNext", "btMarkSentence", "btDigest",
                                "btPrint", "btSearch", "btMp3"}) {
            AddButton(QString::fromLatin1(tag), left, 540, 360, 360);
            left += 400;
        }
        int top = 1200;
        for (const char *tag : {"btSpell", "btSpeak", "btThink", "btWordSummary", "btNotebook", "btSetting", "btBrowse"}) {
            AddButton(QString::fromLatin1(tag), 180, top, 360, 360);
            top += 480;
        }
        AddButton(QStringLiteral("btWinHelp"), w * 15 - 1470, 60, 300, 300);
        AddButton(QStringLiteral("btWinMin"), w * 15 - 1155, 60, 300, 300);
        AddButton(QStringLiteral("btWinMax"), w * 15 - 810, 60, 300, 300);
        AddButton(QStringLiteral("btWinClose"), w * 15 - 510, 60, 300, 300);
        AddLabel(QStringLiteral("lbTitle"), QStringLiteral("全面学习 - 科学家谈睡眠"), 240, 75, 5000, 300);
        auto *page = AddLabel(QStringLiteral("wbScript"),
                              QStringLiteral("<p style='line-height:150%'><b>1</b> Scientists say a small change in daily "
                                             "habits can help people sleep better.<br><span style='color:#555'>科学家说，日常习惯的"
                                             "小小改变可以帮助人们睡得更好。</span></p>"
                                             "<p style='line-height:150%;background:#FFF4C2'><b>2</b> The study followed more than "
                                             "two thousand adults for one year.<br><span style='color:#555'>这项研究对两千多名成年人"
                                             "进行了为期一年的跟踪。</span></p>"),
                              780, 1200, 11520, 5100);
        page->setWordWrap(true);
        page->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        page->setStyleSheet(QStringLiteral("background:#FFFFFF; border:1px solid #D5DCE4; padding:10px;"));
        AddLabel(QStringLiteral("lbInfo"), QStringLiteral("00:03:4 / 00:07:9"), 780, 6420, 2400, 300);
        AddLabel(QStringLiteral("lbCurSentenceNo"), QStringLiteral("第 2 句 / 共 18 句"), 3480, 6420, 2400, 300);
        for (int i = 0; i < 3; ++i) {
            const QStringList tags{"ckShowEnglish", "ckShowChinese", "ckShowComment"};
            const QStringList texts{"英文", "中文", "注释"};
            AddImage(QStringLiteral("ImgCheckbox"), i, tags[i], 7200 + i * 1200, 6480, 195, 195);
            AddSkinLabel(QStringLiteral("lbCheckbox"), i, QString(), texts[i], 7440 + i * 1200, 6420, 800, 300);
        }
    }

    void Dress()
    {
        Load();
        m_boxes.AddCheckboxes(this);
        m_boxes.SelectButton(QStringLiteral("ckShowEnglish"), true);
        m_boxes.SelectButton(QStringLiteral("ckShowChinese"), true);
        Skin()->EnableButton(QStringLiteral("btPause"), false);
        Skin()->EnableButton(QStringLiteral("btStop"), false);
        Skin()->ButtonEnter(Skin()->GetButton(QStringLiteral("btRepeatSentence")));
    }

private:
    mvx::CCheckboxGroup m_boxes;
};

bool Save(QWidget *window, const QString &path)
{
    window->show();
    QApplication::processEvents();
    const bool ok = window->grab().save(path);
    fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
    window->hide();
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        fprintf(stderr, "usage: mvxbrx-uishot <skin root> <output folder>\n");
        return 2;
    }
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    mvx::App().skinRoot = args[1];
    QDir().mkpath(args[2]);

    mvx::lgMsgBoxForm box;
    box.Load();
    box.init(QStringLiteral("您还没有选择文章。请先在左边的文章目录中选择一篇文章，再点“学习文章”。"), 0);
    bool ok = Save(&box, args[2] + QStringLiteral("/ui-msgbox.png"));

    PlayerSample player;
    player.Dress();
    ok = Save(&player, args[2] + QStringLiteral("/ui-player-skin.png")) && ok;
    return ok ? 0 : 1;
}
