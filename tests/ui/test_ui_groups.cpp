// Radio, check-box and link groups and the page-event sink.
#include "UiTestSupport.h"

#include "ui/CCheckboxGroup.h"
#include "ui/CLinkGroup.h"
#include "ui/CRadioGroup.h"
#include "ui/LinkActions.h"
#include "ui/SkinLabel.h"
#include "ui/clsHtmlEventProc.h"

using namespace mvx;
using uitest::Centre;
using uitest::Shown;
using uitest::SkinFixture;

namespace {

// A window with three radio options (ImgOpMode / lbOpMode), two check boxes
// (ImgCheckbox / lbCheckbox) whose pictures and labels toggle them, and link labels.
class GroupForm : public SkinnedWindow
{
    Q_OBJECT

public:
    GroupForm() : SkinnedWindow(QStringLiteral("GroupForm"), true)
    {
        SetDesignSize(6000, 4500);
        const QStringList modes{"FirstTest", "DetailListen", "LastTest"};
        for (int i = 0; i < modes.size(); ++i) {
            AddImage("ImgOpMode", i, modes[i], 300, 600 + i * 400, 195, 195);
            AddSkinLabel("lbOpMode", i, QString(), modes[i], 600, 600 + i * 400, 2000, 300);
        }
        const QStringList boxes{"ckShowEnglish", "ckShowChinese"};
        for (int i = 0; i < boxes.size(); ++i) {
            SkinImage *box = AddImage("ImgCheckbox", i, boxes[i], 300, 2000 + i * 400, 195, 195);
            SkinLabel *label = AddSkinLabel("lbCheckbox", i, QString(), boxes[i], 600, 2000 + i * 400, 2000, 300);
            connect(box, &SkinImage::mousePressed, this, [this](SkinImage *b) { checkboxes.ChangeSelection(b->tag()); });
            connect(label, &SkinLabel::mousePressed, this, [this, box]() { checkboxes.ChangeSelection(box->tag()); });
        }
        const QStringList links{"web-https://example.org/lentoria", "help-", "help-mvxbrx_usage", "mail-help@example.org", "nothing"};
        for (int i = 0; i < links.size(); ++i)
            AddSkinLabel("lbLink", i, links[i], links[i], 3000, 600 + i * 400, 2800, 300);
    }

    CRadioGroup radio;
    CCheckboxGroup checkboxes;

protected:
    void Form_Load() override
    {
        radio.AddRadioButtons(this, "ImgOpMode");
        checkboxes.AddCheckboxes(this);
    }
};

class SinkTarget : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void EHtmlEventHandler() { ++calls; }
    int calls = 0;
};

SkinImage *Option(QWidget *window, const QString &array, int index)
{
    for (SkinImage *image : window->findChildren<SkinImage *>(array)) {
        if (image->index() == index)
            return image;
    }
    return nullptr;
}

void MakeSkin(const SkinFixture &skin)
{
    // PNG for the plain looks (preferred over the old GIFs), GIF only for the disabled ones.
    for (const char *name : {"radio", "radio-s", "checkbox", "checkbox-s"}) {
        skin.put("common", QLatin1String(name) + QStringLiteral(".png"), QSize(13, 13));
        skin.put("common", QLatin1String(name) + QStringLiteral(".gif"));
    }
    for (const char *name : {"radio-d", "radio-ds", "checkbox-d", "checkbox-ds"})
        skin.put("common", QLatin1String(name) + QStringLiteral(".gif"));
}

} // namespace

class TestUiGroups : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_skin = std::make_unique<SkinFixture>();
        MakeSkin(*m_skin);
    }
    void cleanup()
    {
        m_skin.reset();
        ResetLinkActions();
    }

    void radioSelection()
    {
        GroupForm form;
        form.Load();
        CRadioGroup &radio = form.radio;
        QCOMPARE(radio.Count(), 3);
        SkinImage *first = Option(&form, "ImgOpMode", 0);
        SkinImage *second = Option(&form, "ImgOpMode", 1);

        // Nothing chosen until the window chooses, but every option shows its circle.
        QCOMPARE(radio.GetSelectedTag(), QString());
        QCOMPARE(radio.GetSelectedIdx(), -1);
        for (const char *tag : {"FirstTest", "DetailListen", "LastTest", ""})
            QVERIFY(!radio.IsSelected(tag));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Shown(Option(&form, "ImgOpMode", i)), "common/radio.png");

        radio.SelectButton("DetailListen");
        QCOMPARE(Shown(second), "common/radio-s.png");
        QCOMPARE(Shown(Option(&form, "ImgOpMode", 2)), "common/radio.png"); // never chosen, still drawn
        QVERIFY(radio.IsSelected("DetailListen"));
        QVERIFY(radio.IsSelectedByImg(second));
        QCOMPARE(radio.GetSelectedIdx(), 1);

        // Choosing the chosen option again reloads nothing.
        second->setPicture(QPixmap(13, 13));
        radio.SelectButton("DetailListen");
        QCOMPARE(Shown(second), QString());

        // An unknown tag chooses option 0 and releases the other.
        radio.SelectButton("NoSuchStep");
        QCOMPARE(radio.GetSelectedTag(), "FirstTest");
        QCOMPARE(Shown(first), "common/radio-s.png");
        QCOMPARE(Shown(second), "common/radio.png");

        radio.SelectButtonByIdx(2);
        QCOMPARE(radio.GetSelectedTag(), "LastTest");
        radio.SelectButtonByImg(second);
        QCOMPARE(radio.GetSelectedTag(), "DetailListen");
        QCOMPARE(radio.GetInternalIdx(2), 2);
        QCOMPARE(radio.GetInternalIdx(7), -1);

        radio.ClearSelection();
        QCOMPARE(radio.GetSelectedTag(), QString());
        QCOMPARE(Shown(second), "common/radio.png");
    }

    void radioEnableLabelsAndVisibility()
    {
        GroupForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CRadioGroup &radio = form.radio;
        radio.SelectButton("LastTest");
        radio.EnableButton("LastTest", false);
        QCOMPARE(Shown(radio.GetButton("LastTest")), "common/radio-ds.gif");
        radio.EnableButton("FirstTest", false);
        QCOMPARE(Shown(radio.GetButton("FirstTest")), "common/radio-d.gif");
        radio.EnableButton("LastTest", true);
        QCOMPARE(Shown(radio.GetButton("LastTest")), "common/radio-s.png");
        QVERIFY(radio.GetButton("LastTest")->isEnabled());

        QCOMPARE(radio.GetLabel("DetailListen")->property("index").toInt(), 1);
        QCOMPARE(radio.GetLabel("unknown")->property("index").toInt(), 0);

        radio.HideAll();
        QVERIFY(!radio.GetButton("FirstTest")->isVisible());
        QVERIFY(!radio.GetLabel("FirstTest")->isVisible());
        radio.ShowAll();
        QVERIFY(radio.GetButton("FirstTest")->isVisible());
        QVERIFY(!radio.GetLabel("FirstTest")->isVisible()); // labels stay as they were
        radio.ShowButton("FirstTest");
        QVERIFY(radio.GetLabel("FirstTest")->isVisible());
    }

    void checkboxesByPictureAndLabel()
    {
        GroupForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        CCheckboxGroup &boxes = form.checkboxes;
        SkinImage *english = boxes.GetButton("ckShowEnglish");
        QCOMPARE(Shown(english), "common/checkbox.png"); // every box starts unchecked in look
        QVERIFY(!boxes.IsSelected("ckShowEnglish"));

        QTest::mouseClick(english, Qt::LeftButton, {}, Centre(english));
        QVERIFY(boxes.IsSelected("ckShowEnglish"));
        QCOMPARE(Shown(english), "common/checkbox-s.png");

        // Its label toggles it exactly as the box does, and a second click restores both.
        QWidget *label = boxes.GetLabel("ckShowEnglish");
        QTest::mouseClick(label, Qt::LeftButton, {}, Centre(label));
        QVERIFY(!boxes.IsSelected("ckShowEnglish"));
        QCOMPARE(Shown(english), "common/checkbox.png");
        QTest::mouseClick(label, Qt::LeftButton, {}, Centre(label));
        QVERIFY(boxes.IsSelected("ckShowEnglish"));
        QCOMPARE(Shown(english), "common/checkbox-s.png");
    }

    void checkboxRules()
    {
        GroupForm form;
        form.Load();
        CCheckboxGroup &boxes = form.checkboxes;
        QVERIFY(!boxes.ChangeSelection("unknown"));
        QVERIFY(!boxes.IsSelected("unknown"));
        boxes.SelectButton("unknown", true); // box 0
        QVERIFY(boxes.IsSelected("ckShowEnglish"));
        QVERIFY(!boxes.IsSelected("ckShowChinese"));

        boxes.EnableButton("ckShowEnglish", false);
        QCOMPARE(Shown(boxes.GetButton("ckShowEnglish")), "common/checkbox-ds.gif");
        boxes.EnableButton("ckShowChinese", false);
        QCOMPARE(Shown(boxes.GetButton("ckShowChinese")), "common/checkbox-d.gif");
        boxes.EnableButton("ckShowChinese", true);
        QCOMPARE(Shown(boxes.GetButton("ckShowChinese")), "common/checkbox.png");

        // A window folder picture (tag + "-s", PNG preferred over BMP) wins when one is given.
        m_skin->put("GroupForm", "ckShowChinese-s.bmp");
        m_skin->put("GroupForm", "ckShowChinese-s.png");
        boxes.InitInterface("GroupForm");
        boxes.SelectButton("ckShowChinese", true);
        QCOMPARE(Shown(boxes.GetButton("ckShowChinese")), "GroupForm/ckShowChinese-s.png");
        boxes.SelectButton("ckShowChinese", false); // no window picture: the common one
        QCOMPARE(Shown(boxes.GetButton("ckShowChinese")), "common/checkbox.png");

        boxes.HideButton("ckShowChinese");
        QVERIFY(boxes.GetButton("ckShowChinese")->isHidden());
        QVERIFY(boxes.GetLabel("ckShowChinese")->isHidden());
        boxes.ShowButton("ckShowChinese");
        QVERIFY(!boxes.GetLabel("ckShowChinese")->isHidden());
    }

    void linkActions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::addRow("web- opens the address") << 0 << "web:https://example.org/lentoria";
        QTest::addRow("help- alone opens the help file") << 1 << "help:mvxbrxspecial.chm";
        QTest::addRow("help-page opens the topic") << 2 << "help:mvxbrxspecial.chm::htmlsrc/mvxbrx_usage.htm";
        QTest::addRow("mail- starts a message") << 3 << "mail:help@example.org";
        QTest::addRow("any other tag does nothing") << 4 << QString();
    }
    void linkActions()
    {
        QFETCH(int, index);
        QFETCH(QString, expected);
        QStringList calls;
        SetLinkActions({[&](const QString &a) { calls << "web:" + a; }, [&](const QString &a) { calls << "help:" + a; },
                        [&](const QString &a) { calls << "mail:" + a; }});
        GroupForm form;
        CLinkGroup links;
        links.InitLabelHelpFile("mvxbrxspecial.chm");
        links.AddLinkLabels(&form);
        QCOMPARE(links.Count(), 5);
        auto *label = form.findChildren<QLabel *>("lbLink").at(index);
        links.ButtonEnter(label);
        QVERIFY(label->font().underline());
        links.ButtonDown(label);
        QVERIFY(!label->font().underline());
        QCOMPARE(calls, expected.isEmpty() ? QStringList() : QStringList{expected});
    }

    void linkHover()
    {
        GroupForm form;
        CLinkGroup links;
        links.AddLinkLabels(&form);
        const auto labels = form.findChildren<QLabel *>("lbLink");
        links.ButtonEnter(labels[0]);
        links.ButtonEnter(labels[1]);
        QVERIFY(!labels[0]->font().underline());
        QVERIFY(labels[1]->font().underline());
        QCOMPARE(links.CurrentLink(), labels[1]);
        links.ClearCurLink();
        QVERIFY(!labels[1]->font().underline());
        QCOMPARE(links.CurrentLink(), nullptr);
    }

    void htmlEventSink()
    {
        SinkTarget window;
        clsHtmlEventProc sink;
        QVERIFY(!sink.IsArmed());
        QVERIFY(!sink.Invoke()); // not armed: nothing happens
        QCOMPARE(window.calls, 0);

        // Armed: the named method runs once per event, its name matched without case.
        sink.Set_Destination(&window, "ehtmleventhandler");
        QVERIFY(sink.IsArmed());
        QVERIFY(sink.Invoke());
        QVERIFY(sink.Invoke());
        QCOMPARE(window.calls, 2);

        clsHtmlEventProc toMissing;
        toMissing.Set_Destination(&window, "NoSuchHandler");
        QVERIFY(!toMissing.Invoke());

        auto *gone = new SinkTarget;
        clsHtmlEventProc toGone;
        toGone.Set_Destination(gone, "EHtmlEventHandler");
        delete gone;
        QVERIFY(!toGone.Invoke()); // a destination that has gone is not called
        QCOMPARE(window.calls, 2);
    }

private:
    std::unique_ptr<SkinFixture> m_skin;
};

QTEST_MAIN(TestUiGroups)
#include "test_ui_groups.moc"
