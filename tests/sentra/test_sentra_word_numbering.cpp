// The pages in the real HTML view: word k of the marks is child k of the English label, the
// child that the recall masks cover, on the English page, the mixed page and the current-
// sentence markup; and a sentence holding a script shows it as text without running it.
#include "SentraFixtures.h"
#include "libs/sentra/SentraFacade.h"

#include <QApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEnginePage>
#include <QtTest>

#include <array>

using namespace mvx::sentra;

namespace {

// The mask loop of the recall mode, run on one English label: for each child from `start`, the
// flags it records (1 = key word by its colour, 2 = new word by its decoration) and its text.
const char *const MaskScript = R"(
(function (id, start) {
  var label = document.getElementById(id);
  if (!label) return null;
  var out = [];
  for (var i = 0; i < label.children.length; ++i) {
    var c = label.children[i];
    var flags = (c.style.color !== '' ? 1 : 0) + (c.style.textDecoration.indexOf('underline') >= 0 ? 2 : 0);
    out.push({tag: c.tagName, id: c.id, text: c.textContent, flags: flags, masked: i >= start});
  }
  return JSON.stringify(out);
}))";

} // namespace

class TestSentraWordNumbering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void masksHideTheMarkedWords_data();
    void masksHideTheMarkedWords();
    void scriptInSentenceIsText();

private:
    bool load(const QString &file);
    QVariant run(const QString &js);

    QWebEnginePage *m_page = nullptr;
    QString m_dir;
    QString m_book;
    int m_h = -1;
    QStringList m_words; // sentence 2's words
};

bool TestSentraWordNumbering::load(const QString &file)
{
    QEventLoop loop;
    bool ok = false;
    auto c = connect(m_page, &QWebEnginePage::loadFinished, &loop, [&](bool done) {
        ok = done;
        loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    m_page->load(QUrl::fromLocalFile(file));
    loop.exec();
    disconnect(c);
    return ok;
}

QVariant TestSentraWordNumbering::run(const QString &js)
{
    QEventLoop loop;
    QVariant result;
    m_page->runJavaScript(js, [&](const QVariant &v) {
        result = v;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
}

void TestSentraWordNumbering::initTestCase()
{
    m_page = new QWebEnginePage(this);
    m_dir = fixtures::tmpDir();
    LessonData l = fixtures::sampleLesson();
    l.sentences[2].english = QStringLiteral("\"Well,\" the U.S. farmer said, it's a well-known sign (of spring)!");
    l.sentences[3].english = QStringLiteral("Safe <script>window.pwned = 1;</script> & sound.");
    l.sentences[3].chinese = QStringLiteral("<img src=x onerror=\"window.pwned = 2\">");
    m_book = fixtures::makeBook(QStringLiteral("numbering.dat"), {l});
    m_h = bcSentraBook_Open(m_book, QStringLiteral("r+b"));
    QVERIFY(m_h >= 0);
    // Marks made the way the player makes them: word number and the anchor's text length.
    int flag = 0;
    QCOMPARE(bcSentence_SetKeywordByNo(m_h, 2, 4, 6, 0, &flag), 0);   // farmer
    QCOMPARE(bcSentence_SetKeywordByNo(m_h, 2, 8, 10, 0, &flag), 0);  // well-known
    QCOMPARE(bcSentence_SetNewwordByNo(m_h, 2, 8, 10, -1, &flag), 0); // well-known
    QCOMPARE(bcSentence_SetNewwordByNo(m_h, 2, 11, 6, 0, &flag), 0);  // spring
    std::array<int, MaxSentencesPerLesson> degrees{};
    int first = 0, count = 0, title = 0;
    QCOMPARE(bcSentraBook_MakeHtml(m_h, m_dir + "/tmpehtml.htm", m_dir + "/tmpchtml.htm",
                                   m_dir + "/tmpcommenthtml.htm", m_dir + "/tmpechtml.htm", 0, -1,
                                   0x000000, 0x000080, 0x404040, 0xFF0000, -1, -1, &first, &count,
                                   &title, degrees, QStringLiteral("FONT-SIZE: 12pt"),
                                   QStringLiteral("FONT-SIZE: 11pt"), 0),
             1);
    // The current-sentence frame as the player fills it.
    QFile cur(m_dir + "/cursentence.htm");
    QVERIFY(cur.open(QIODevice::WriteOnly));
    cur.write(QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                             "<font face=\"MS Sans Serif\" size=1.5pt>%1</font></body></html>")
                  .arg(bcSentence_MakeEHtml(m_h, 2, 2, 0, 0xFF0000, -1, -1, 0, 0))
                  .toUtf8());
    cur.close();
    m_words = {"Well", "the", "U.S", "farmer", "said", "it's", "a", "well-known", "sign", "of", "spring"};
}

void TestSentraWordNumbering::masksHideTheMarkedWords_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("maskStart");
    QTest::addRow("English page, masks from child 1") << "tmpehtml.htm" << 1;
    QTest::addRow("mixed page with Chinese, masks from child 0") << "tmpechtml.htm" << 0;
    QTest::addRow("mixed page without Chinese, masks from child 1") << "tmpechtml.htm" << 1;
    QTest::addRow("current-sentence page") << "cursentence.htm" << 1;
}

void TestSentraWordNumbering::masksHideTheMarkedWords()
{
    QFETCH(QString, file);
    QFETCH(int, maskStart);
    QVERIFY(load(m_dir + u'/' + file));
    const QVariant v = run(QStringLiteral("%1('ste2', %2)").arg(QLatin1String(MaskScript)).arg(maskStart));
    const QJsonArray children = QJsonDocument::fromJson(v.toString().toUtf8()).array();
    QCOMPARE(children.size(), m_words.size() + 1);

    // Child 0 is the empty lead; child k is the anchor "wrd" + k holding word k.
    QCOMPARE(children[0].toObject()["tag"].toString(), QStringLiteral("SPAN"));
    QCOMPARE(children[0].toObject()["text"].toString(), QString());
    QCOMPARE(children[0].toObject()["flags"].toInt(), 0);
    for (int k = 1; k <= m_words.size(); ++k) {
        const QJsonObject c = children[k].toObject();
        QCOMPARE(c["tag"].toString(), QStringLiteral("A"));
        QCOMPARE(c["id"].toString(), QStringLiteral("wrd%1").arg(k));
        QCOMPARE(c["text"].toString(), m_words[k - 1]);
        QVERIFY(c["masked"].toBool());
        // The flags the mask records are the marks stored under the same number.
        const int expected = k == 4 ? 1 : k == 8 ? 3 : k == 11 ? 2 : 0;
        QCOMPARE(c["flags"].toInt(), expected);
    }
    // Masking covers no text but the words: whatever child the loop starts at.
    QStringList maskedText;
    for (const auto &c : children) {
        if (c.toObject()["masked"].toBool() && !c.toObject()["text"].toString().isEmpty())
            maskedText << c.toObject()["text"].toString();
    }
    QCOMPARE(maskedText, m_words);

    if (file == QLatin1String("tmpechtml.htm")) {
        // The number label is the label's sibling, never one of its children.
        QCOMPARE(run(QStringLiteral("document.getElementById('ste2').previousElementSibling.id")).toString(),
                 QStringLiteral("No2"));
        QCOMPARE(run(QStringLiteral("document.getElementById('ste2').parentElement.tagName")).toString(),
                 QStringLiteral("TD"));
    }
}

void TestSentraWordNumbering::scriptInSentenceIsText()
{
    for (const QString file : {"tmpehtml.htm", "tmpechtml.htm", "tmpchtml.htm"}) {
        QVERIFY(load(m_dir + u'/' + file));
        QCOMPARE(run(QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));
        QCOMPARE(run(QStringLiteral("document.getElementsByTagName('script').length")).toInt(), 0);
        QCOMPARE(run(QStringLiteral("document.getElementsByTagName('img').length")).toInt(), 0);
    }
    QVERIFY(load(m_dir + "/tmpehtml.htm"));
    QCOMPARE(run(QStringLiteral("document.getElementById('ste3').textContent")).toString(),
             QStringLiteral("Safe <script>window.pwned = 1;</script> & sound."));
    QVERIFY(load(m_dir + "/tmpchtml.htm"));
    QCOMPARE(run(QStringLiteral("document.getElementById('stc3').textContent")).toString(),
             QStringLiteral("<img src=x onerror=\"window.pwned = 2\">"));
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestSentraWordNumbering test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sentra_word_numbering.moc"
