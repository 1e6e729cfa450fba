#include "player/pages/LessonPages.h"

#include "player/pages/EcHtmlSplitter.h"
#include "player/pages/FontFallback.h"
#include "player/pages/PageBridge.h"
#include "player/pages/PageHost.h"

#include "core/AppState.h"
#include "core/PageLook.h"
#include "core/Helpers.h"
#include "core/UserSettings.h"
#include "core/WorkingFiles.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraTypes.h"
#include "player/playback/PlayerOperations.h"
#include "ui/clsHtmlEventProc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace mvx::pages {

namespace {

QString Js(const QVariant &value)
{
    // Arrays and objects through JSON; a lone string or number as a one-element array's item.
    const QJsonDocument doc(QJsonArray::fromVariantList({value}));
    const QByteArray json = doc.toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QVariantMap Props(std::initializer_list<std::pair<const char *, QString>> list)
{
    QVariantMap m;
    for (const auto &p : list) {
        m.insert(QString::fromLatin1(p.first), p.second);
    }
    return m;
}

QVariantList Op(std::initializer_list<QVariant> items)
{
    return QVariantList(items);
}

const QString EnglishFrameSeparate = QStringLiteral("English");
const QString ChineseFrameSeparate = QStringLiteral("Chinese");
const QString MixedFrame = QStringLiteral("EnglishChinese");
const QString CommentFrame = QStringLiteral("Comment");
const QString ESentenceFrame = QStringLiteral("ESentence");
const QString CSentenceFrame = QStringLiteral("CSentence");

QSet<int> NumberSet(const QVariant &list)
{
    QSet<int> out;
    for (const QVariant &v : list.toList()) {
        out.insert(v.toInt());
    }
    return out;
}

} // namespace

const std::array<QString, LessonPages::SinkCount> &LessonPages::SinkNames()
{
    static const std::array<QString, SinkCount> names = {
        QStringLiteral("ScriptHtmlEventHandler"),       QStringLiteral("EHtmlEventHandler"),
        QStringLiteral("CHtmlEventHandler"),            QStringLiteral("CmtHtmlEventHandler"),
        QStringLiteral("ECurSentenceHtmlEventHandler"), QStringLiteral("CCurSentenceHtmlEventHandler")};
    return names;
}

LessonPages::LessonPages(PageHost &host, QString home, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_home(std::move(home))
{
    for (auto &sink : m_sinks) {
        sink = std::make_unique<clsHtmlEventProc>();
    }
    m_show.englishShown = GetUserBool(QString::fromLatin1(Key::ShouldShowEnglish), true);
    m_show.chineseShown = GetUserBool(QString::fromLatin1(Key::ShouldShowChinese), true);
    m_show.commentShown = GetUserBool(QString::fromLatin1(Key::ShouldShowComment), true);
    m_show.mixedLayout = GetUserBool(QString::fromLatin1(Key::EnglishChineseMix), false);
    if (PageBridge *bridge = m_host.bridge()) {
        connect(bridge, &PageBridge::eventPosted, this, &LessonPages::OnPageEvent);
    }
    m_heldTimer.setInterval(10);
    connect(&m_heldTimer, &QTimer::timeout, this, &LessonPages::DeliverHeldEvents);
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(0);
    connect(&m_previewTimer, &QTimer::timeout, this, &LessonPages::ApplyPreview);
}

LessonPages::~LessonPages()
{
    CloseSentraBookLesson();
}

void LessonPages::SetEventDestination(QObject *destination, PlayerOperations *player)
{
    m_player = player;
    for (int i = 0; i < SinkCount; ++i) {
        m_sinks[i]->Set_Destination(destination, SinkNames()[i]);
    }
}

bool LessonPages::Waiting() const
{
    return m_host.isWaiting() || (m_player && m_player->IsBusy());
}

QVariant LessonPages::Query(const QString &script, int timeoutMs)
{
    const PlayerOperations::BusyScope busy(m_player);
    return m_host.runAndWait(script, timeoutMs);
}

void LessonPages::OnPageEvent(const PageEvent &event)
{
    int index = -1;
    for (int i = 0; i < SinkCount; ++i) {
        if (SinkNames()[i] == event.sink) {
            index = i;
        }
    }
    if (index < 0 || !m_sinks[index]->IsArmed()) {
        emit eventDropped(event);
        return;
    }
    // Nothing re-enters the player while it or the view waits: the event waits its turn,
    // behind any held before it.
    if (Waiting() || m_delivering || !m_held.empty()) {
        if (int(m_held.size()) >= MaxHeldEvents) {
            emit eventDropped(event);
            return;
        }
        m_held.emplace_back(index, event);
        if (!m_heldTimer.isActive()) {
            m_heldTimer.start();
        }
        return;
    }
    Deliver(index, event);
}

void LessonPages::Deliver(int sink, const PageEvent &event)
{
    const PageEvent outer = m_event; // an event handled further up the stack
    m_event = event;
    m_sinks[sink]->Invoke();
    m_event = outer;
}

void LessonPages::DeliverHeldEvents()
{
    if (m_delivering) {
        return;
    }
    m_delivering = true;
    while (!m_held.empty() && !Waiting()) {
        const auto [sink, event] = m_held.front();
        m_held.erase(m_held.begin());
        if (m_sinks[sink]->IsArmed()) {
            Deliver(sink, event);
        }
    }
    m_delivering = false;
    if (m_held.empty()) {
        m_heldTimer.stop();
    }
}

QString LessonPages::Path(const QString &relative) const
{
    const QString fs = ToFsPath(relative);
    return QFileInfo(fs).isAbsolute() ? fs : m_home + QLatin1Char('/') + fs;
}

QString LessonPages::PageColour(int settingsColour)
{
    return QLatin1Char('#') + ColourToHtml(settingsColour);
}

QString LessonPages::EnglishStyle()
{
    const DisplaySettings &d = App().display;
    return QStringLiteral("FONT-SIZE: ") + RealToText(d.englishFontSize) + QStringLiteral("pt; FONT-FAMILY: ")
           + FontFallback::EnglishFamily(d.englishFontName);
}

QString LessonPages::ChineseStyle()
{
    const DisplaySettings &d = App().display;
    return QStringLiteral("FONT-SIZE: ") + RealToText(d.chineseFontSize) + QStringLiteral("pt; FONT-FAMILY: ")
           + FontFallback::ChineseFamily(d.chineseFontName);
}

// ---- Loading ------------------------------------------------------------------------------

int LessonPages::LoadLessonPages(const QString &bookFile, int lessonNo, bool regenerate, LessonPagesResult &result)
{
    const int r = LoadSentraBookLesson(bookFile, lessonNo, WorkingFiles::TmpEHtml, WorkingFiles::TmpCHtml,
                                       WorkingFiles::TmpCommentHtml, WorkingFiles::TmpEcHtml, regenerate);
    if (r != 1) {
        return -1;
    }
    result.bookHandle = m_bookHandle;
    result.sentenceCount = m_sentenceCount;
    result.hasTitleSentence = m_hasTitle ? 1 : 0;
    result.lessonFirstSentence = m_firstSentence;
    return 1;
}

int LessonPages::LoadSentraBookLesson(const QString &szBookFileName, int nLessonNo, const QString &szEHtml,
                                      const QString &szCHtml, const QString &szCommentHtml, const QString &szEcHtml,
                                      bool bRegenerateHtml)
{
    m_error.clear();
    if (m_host.isWaiting()) {
        m_error = tr("课文页面正在载入，请稍候");
        return -1;
    }
    if (bRegenerateHtml) {
        // A reopen (layout or settings change) must not keep a second writer on the book.
        if (m_bookHandle != -1) {
            bcSentraBook_Close(m_bookHandle);
            m_bookHandle = -1;
        }
        auto failed = [&](const QString &text) {
            // The halves of an earlier lesson must not be shown for this one.
            QFile::remove(Path(WorkingFiles::TmpEcHtmlE));
            QFile::remove(Path(WorkingFiles::TmpEcHtmlC));
            if (m_bookHandle != -1) {
                bcSentraBook_Close(m_bookHandle);
                m_bookHandle = -1;
            }
            m_error = text;
            return -1;
        };
        m_bookHandle = bcSentraBook_Open(Path(szBookFileName), QStringLiteral("r+b"));
        if (m_bookHandle == -1) {
            return failed(tr("无法打开课文文件 %1").arg(QDir::toNativeSeparators(szBookFileName)));
        }
        // The colours in force: the stored ones by day, the night set at night.
        const PageLook look(App().display);
        const auto colour = [](const QString &hex) { return int(SwapRedBlue(PageLook::FromColor(QColor(hex)))); };
        int first = 0;
        int count = 0;
        int hasTitle = 0;
        std::vector<int> degrees(sentra::MaxSentencesPerLesson, 0);
        const int made = bcSentraBook_MakeHtml(
            m_bookHandle, Path(szEHtml), Path(szCHtml), Path(szCommentHtml), Path(szEcHtml), nLessonNo, -1,
            colour(look.English()), colour(look.Chinese()), colour(look.Comment()), colour(look.Keyword()), -1, -1, &first, &count, &hasTitle, degrees, EnglishStyle(),
            ChineseStyle(), 0);
        if (made == -1) {
            return failed(tr("无法生成课文页面：%1（第 %2 课）").arg(QDir::toNativeSeparators(szBookFileName)).arg(nLessonNo));
        }
        m_bookFile = szBookFileName;
        m_lessonNo = nLessonNo;
        m_firstSentence = first;
        m_sentenceCount = count;
        m_hasTitle = hasTitle != 0;
        m_degrees = std::move(degrees);
        if (!SplitEcHtml()) {
            return failed(m_error);
        }
    } else if (m_bookHandle == -1) {
        m_error = tr("没有打开的课文");
        return -1;
    }
    if (!LoadAllHtml()) {
        return -1;
    }
    return 1;
}

void LessonPages::CloseSentraBookLesson()
{
    if (m_bookHandle != -1) {
        bcSentraBook_Close(m_bookHandle);
    }
    m_bookHandle = -1;
}

int LessonPages::ReopenBook(const QString &bookFile)
{
    CloseSentraBookLesson();
    m_bookHandle = bcSentraBook_Open(Path(bookFile), QStringLiteral("r+b"));
    if (m_bookHandle != -1)
        m_bookFile = bookFile;
    return m_bookHandle;
}

void LessonPages::CloseLessonPages()
{
    CloseSentraBookLesson();
    ForgetDocuments();
    m_sentenceCount = 0;
}

bool LessonPages::SplitEcHtml()
{
    const DisplaySettings &d = App().display;
    const HalfFont e{FontFallback::EnglishFamily(d.englishFontName), d.englishFontSize};
    const HalfFont c{FontFallback::ChineseFamily(d.chineseFontName), d.chineseFontSize};
    QString error;
    if (!EcHtmlSplitter::SplitFile(Path(WorkingFiles::TmpEcHtml), Path(WorkingFiles::TmpEcHtmlE),
                                   Path(WorkingFiles::TmpEcHtmlC), e, c, &error)) {
        m_error = error;
        return false;
    }
    return true;
}

QString LessonPages::FramesetPageName(const PageShowState &show)
{
    return WorkingFiles::AllTmpFile + QLatin1Char('/') + (show.mixedLayout ? QStringLiteral("htmmix") : QStringLiteral("htm"))
           + QLatin1Char(show.englishShown ? '1' : '0') + QLatin1Char(show.chineseShown ? '1' : '0')
           + QLatin1Char(show.commentShown ? '1' : '0') + QStringLiteral(".htm");
}

bool LessonPages::LoadAllHtml()
{
    return LoadLessonHtmls(Path(FramesetPageName(m_show)));
}

void LessonPages::ForgetDocuments()
{
    DropSearchRanges();
    m_loaded = false;
    m_previewSaved = false; // the recorded look belonged to the documents that go
    m_previewTimer.stop();
    m_eFrame.clear();
    m_cFrame.clear();
    m_cmtFrame.clear();
    m_eCurFrame.clear();
    m_cCurFrame.clear();
    m_eIds.clear();
    m_cIds.clear();
    m_cmtIds.clear();
    m_cmtFilled.clear();
    m_noIds.clear();
}

bool LessonPages::LoadLessonHtmls(const QString &framesetFile)
{
    ForgetDocuments();
    QString error;
    const PlayerOperations::BusyScope busy(m_player);
    if (!m_host.loadAndWait(framesetFile, LoadTimeoutMs, &error)) {
        m_error = error;
        return false;
    }
    const auto &names = SinkNames();
    const QString eFrame = m_show.mixedLayout ? MixedFrame : EnglishFrameSeparate;
    const QString cFrame = m_show.mixedLayout ? MixedFrame : ChineseFrameSeparate;
    auto docStep = [](const QString &frame, const QString &sink, const QString &labels) {
        QVariantMap s{{"frame", frame}, {"sink", sink}, {"keydown", true}, {"selectstart", true}, {"contextmenu", true}};
        if (!labels.isEmpty()) {
            s.insert(QStringLiteral("labels"), labels);
        }
        return s;
    };
    QVariantList steps;
    steps.append(QVariantMap{{"frame", QString()}, {"sink", names[ScriptSink]}, {"keydown", true}});
    if (m_show.englishShown) {
        QVariantMap s = docStep(eFrame, names[ESink], QStringLiteral("ste"));
        if (m_show.mixedLayout) {
            s.insert(QStringLiteral("count"), QStringLiteral("No"));
        }
        steps.append(s);
    }
    if (m_show.chineseShown) {
        // In the mixed layout both texts share one document: the Chinese sink's document
        // handlers, set last, are the ones in force.
        steps.append(docStep(cFrame, names[CSink], QStringLiteral("stc")));
    }
    if (m_show.commentShown) {
        steps.append(docStep(CommentFrame, names[CmtSink], QStringLiteral("st")));
    }
    if (!m_show.chineseShown) {
        steps.append(docStep(CSentenceFrame, names[CCurSink], QString()));
    }
    if (!m_show.englishShown) {
        steps.append(docStep(ESentenceFrame, names[ECurSink], QString()));
    }
    const QVariant bound = Query(QStringLiteral("__mvxAgent.bind(") + Js(steps) + QLatin1Char(')'), LoadTimeoutMs);
    if (!bound.isValid()) {
        m_error = tr("课文页面没有响应：%1").arg(QDir::toNativeSeparators(framesetFile));
        return false;
    }
    const QVariantMap frames = bound.toMap();
    auto labelsOf = [&](const QString &frame, const QString &prefix) {
        return NumberSet(frames.value(frame).toMap().value(QStringLiteral("labels")).toMap().value(prefix));
    };
    auto found = [&](const QString &frame) { return frames.value(frame).toMap().value(QStringLiteral("found")).toBool(); };
    if (m_show.englishShown && found(eFrame)) {
        m_eFrame = eFrame;
        m_eIds = labelsOf(eFrame, QStringLiteral("ste"));
        m_noIds = labelsOf(eFrame, QStringLiteral("No"));
    }
    if (m_show.chineseShown && found(cFrame)) {
        m_cFrame = cFrame;
        m_cIds = labelsOf(cFrame, QStringLiteral("stc"));
    }
    if (m_show.commentShown && found(CommentFrame)) {
        m_cmtFrame = CommentFrame;
        m_cmtIds = labelsOf(CommentFrame, QStringLiteral("st"));
        m_cmtFilled = NumberSet(frames.value(CommentFrame).toMap().value(QStringLiteral("filled")).toMap().value(
            QStringLiteral("st")));
        const PageLook look(App().display);
        RunOp(Op({QStringLiteral("docStyle"), CommentFrame, look.CommentPage(), look.CommentPicture(),
                  look.Night() ? QVariant(QStringLiteral("dark")) : QVariant()}));
    }
    if (!m_show.chineseShown && found(CSentenceFrame)) {
        m_cCurFrame = CSentenceFrame;
    }
    if (!m_show.englishShown && found(ESentenceFrame)) {
        m_eCurFrame = ESentenceFrame;
    }
    m_loaded = true;
    emit pagesLoaded();
    return true;
}

bool LessonPages::Analyze(const QString &frame, int sink, const QString &prefix, QSet<int> &ids, QSet<int> *filled)
{
    if (frame.isEmpty()) {
        return false;
    }
    const QVariantList steps{QVariant(QVariantMap{{"frame", frame},
                                                  {"sink", SinkNames()[sink]},
                                                  {"selectstart", true},
                                                  {"contextmenu", true},
                                                  {"labels", prefix}})};
    const QVariantMap entry =
        Query(QStringLiteral("__mvxAgent.bind(") + Js(steps) + QLatin1Char(')'), QueryTimeoutMs)
            .toMap()
            .value(frame)
            .toMap();
    if (!entry.value(QStringLiteral("found")).toBool()) {
        return false;
    }
    ids = NumberSet(entry.value(QStringLiteral("labels")).toMap().value(prefix));
    if (filled) {
        *filled = NumberSet(entry.value(QStringLiteral("filled")).toMap().value(prefix));
    }
    return true;
}

bool LessonPages::AnalyzeELesson()
{
    return Analyze(m_eFrame, ESink, QStringLiteral("ste"), m_eIds, nullptr);
}

bool LessonPages::AnalyzeCLesson()
{
    return Analyze(m_cFrame, CSink, QStringLiteral("stc"), m_cIds, nullptr);
}

bool LessonPages::AnalyzeComment()
{
    return Analyze(m_cmtFrame, CmtSink, QStringLiteral("st"), m_cmtIds, &m_cmtFilled);
}

void LessonPages::RunOp(const QVariantList &op)
{
    // Wrapped by hand: a braced list holding one QVariantList would copy it, not nest it.
    QVariantList ops;
    ops.push_back(QVariant(op));
    RunOps(ops);
}

void LessonPages::RunOps(const QVariantList &ops)
{
    if (ops.isEmpty()) {
        return;
    }
    if (m_collect) {
        m_collect->append(ops);
        return;
    }
    m_host.run(QStringLiteral("__mvxAgent.batch(") + Js(ops) + QLatin1Char(')'));
}

void LessonPages::SetSentenceDegree(int n, int degree)
{
    if (n >= 0 && n < int(m_degrees.size())) {
        m_degrees[n] = degree;
    }
}

void LessonPages::SetAutoShow(bool english, bool chinese)
{
    m_autoShowEnglish = english;
    m_autoShowChinese = chinese;
}

QVariant LessonPages::FindInFrame(const QString &frame, const QString &text, bool wholeWord)
{
    return m_host.runAndWait(QStringLiteral("__mvxAgent.search(%1, %2, %3)").arg(Js(frame), Js(text), Js(wholeWord)),
                             QueryTimeoutMs);
}

void LessonPages::DropSearchRanges()
{
    m_host.run(QStringLiteral("window.__mvxAgent && __mvxAgent.dropRanges()"));
}

void LessonPages::SetSelectingByProgram(bool selecting)
{
    m_host.run(QStringLiteral("__mvxAgent.setState({selectingByProgram:%1})")
                   .arg(selecting ? QStringLiteral("true") : QStringLiteral("false")));
}

} // namespace mvx::pages
