#include "player/excerpt/Excerpts.h"

#include "core/StartUp.h"
#include "core/UserSettings.h"
#include "libs/sentra/SentraFacade.h"
#include "libs/sentra/SentraFacadeSound.h"
#include "player/excerpt/ExcerptFiles.h"

#include <QDir>
#include <QFileInfo>

namespace mvx::excerpt {

namespace {

QByteArray Lines(const QStringList &texts)
{
    return texts.join(QStringLiteral("\r\n")).toUtf8();
}

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

const QString kAskAgain = QStringLiteral("下次摘录句子还要提醒您这一点吗？");

} // namespace

Excerpts::Excerpts(QString home, ExcerptFiles &files, ExcerptQuestions &questions)
    : m_home(std::move(home)), m_files(files), m_questions(questions)
{
}

QString Excerpts::ProposedName(int curSentence, bool hasTitleSentence, const QString &title)
{
    const int shown = hasTitleSentence ? curSentence : curSentence + 1;
    QString t = title;
    t.replace(u'/', u'-').replace(u'\\', u'-');
    for (QChar &c : t)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return QStringLiteral("%1 - %2").arg(shown).arg(t.trimmed());
}

bool Excerpts::IsValidName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.toUtf8().size() > MaxNameBytes)
        return false;
    for (const QChar c : name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    return true;
}

QString Excerpts::BadNameMessage()
{
    return QStringLiteral("摘录段的名字不能含有 / 或 \\，不能是 . 或 ..，也不能太长");
}

QString Excerpts::SegmentFolder() const
{
    return QDir(m_home).filePath(QStringLiteral("segment"));
}

bool Excerpts::SentenceSound(const ExcerptSpot &spot, bool wholeSentence, QByteArray &mp3, QString *error)
{
    int lessonNo = -1, startMs = 0, endMs = 0;
    if (bcSentence_GetHeardSpan(spot.bookHandle, spot.noInAll, &lessonNo, &startMs, &endMs) != 0) {
        *error = QStringLiteral("课文没有打开");
        return false;
    }
    HandleStretches source(spot.bookHandle);
    Clip clip;
    bool ok = false;
    if (!wholeSentence && spot.status == RepeatingStatus) {
        // The learner chose the part's ends: exactly that, unpadded.
        const qint64 a = qint64(startMs) + std::max(0, spot.repeatStartMs);
        const qint64 b = qint64(startMs) + std::max(spot.repeatStartMs, spot.repeatEndMs);
        ok = StretchClip(source, lessonNo, {a, b}, clip, error);
    } else {
        ok = SentenceClip(source, lessonNo, {startMs, endMs}, PadMsSetting(), clip, error);
    }
    return ok && EncodeClip(clip, mp3, error);
}

bool Excerpts::DigestSeg(const QString &name, const ExcerptSpot &spot)
{
    if (!IsValidName(name)) {
        m_questions.Tell(BadNameMessage());
        return false;
    }
    const QString folder = SegmentFolder();
    const QString mp3Path = QDir(folder).filePath(name + QStringLiteral(".mp3"));
    const QString txtPath = QDir(folder).filePath(name + QStringLiteral(".txt"));
    if (m_files.Exists(mp3Path) && !m_questions.Ask(QStringLiteral("叫这个名字的摘录段已存在，覆盖吗？")))
        return false;

    QByteArray mp3;
    QString error;
    m_questions.SetBusy(true);
    const bool soundOk = SentenceSound(spot, false, mp3, &error);
    m_questions.SetBusy(false);
    if (!soundOk) {
        m_questions.Tell(QStringLiteral("摘录段 %1 没有保存：声音没有做成（%2）。").arg(Native(mp3Path), error));
        return false;
    }
    const QByteArray text = Lines({bcSentence_GetPureEnglish(spot.bookHandle, spot.noInAll),
                                   bcSentence_GetChinese(spot.bookHandle, spot.noInAll), QString()});
    if (!m_files.MakeFolder(folder)) {
        m_questions.Tell(QStringLiteral("摘录段没有保存：无法建立文件夹 %1。").arg(Native(folder)));
        return false;
    }
    const QString failed = m_files.WriteAll({{mp3Path, mp3}, {txtPath, text}});
    if (!failed.isEmpty()) {
        m_questions.Tell(QStringLiteral("摘录段没有保存：无法写入 %1。").arg(Native(failed)));
        return false;
    }
    const QString hintKey = QString::fromLatin1(Key::DigestHint);
    if (GetUserBool(hintKey, true)
        && !m_questions.Ask(QStringLiteral("摘录下来的内容，可以在“文章目录”界面上，点击“难句复习”按钮，启动“Morvex听力复习机”进行复习")
                            + QStringLiteral("\n\n") + kAskAgain))
        SaveUserBool(hintKey, false);
    return true;
}

bool Excerpts::DigestToSentra(const ExcerptSpot &spot)
{
    const QString install = GetSentraInstallPath();
    if (install.isEmpty()) {
        m_questions.Tell(QStringLiteral("您没有安装《Sentra》软件，无法摘录"));
        return false;
    }
    const QDir p(install);
    const QString userSnd = p.filePath(QStringLiteral("usersnd"));
    const QString hintKey = QString::fromLatin1(Key::SentraUserSndHint);
    if (GetUserBool(hintKey, true)
        && !m_questions.Ask(QStringLiteral("摘录的句子的声音存放在 ") + Native(userSnd)
                            + QStringLiteral(" 文件夹下，请不要随便删除该文件夹及其内容 ") + QStringLiteral("\n\n")
                            + kAskAgain))
        SaveUserBool(hintKey, false);

    // The sound file name is the library's; only its last part is used, inside usersnd.
    const QString f = QFileInfo(bcSentence_GetFileNameEnglish(spot.bookHandle, spot.noInAll, 80)).fileName();
    if (f.isEmpty() || f == QLatin1String("..")) {
        m_questions.Tell(QStringLiteral("课文没有打开"));
        return false;
    }
    QByteArray mp3;
    QString error;
    m_questions.SetBusy(true);
    const bool soundOk = SentenceSound(spot, true, mp3, &error);
    m_questions.SetBusy(false);
    const QString mp3Path = QDir(userSnd).filePath(f + QStringLiteral(".mp3"));
    if (!soundOk) {
        m_questions.Tell(QStringLiteral("句子没有交给《Sentra》：%1 的声音没有做成（%2）。").arg(Native(mp3Path), error));
        return false;
    }
    if (!m_files.MakeFolder(userSnd)) {
        m_questions.Tell(QStringLiteral("句子没有交给《Sentra》：无法建立文件夹 %1。").arg(Native(userSnd)));
        return false;
    }
    const QByteArray text = Lines({bcSentence_GetMiddleEnglish(spot.bookHandle, spot.noInAll),
                                   bcSentence_GetChinese(spot.bookHandle, spot.noInAll),
                                   bcSentence_GetComment(spot.bookHandle, spot.noInAll)});
    const QString failed = m_files.WriteAll({{mp3Path, mp3}, {p.filePath(QStringLiteral("DigestFile.txt")), text}});
    if (!failed.isEmpty()) {
        m_questions.Tell(QStringLiteral("句子没有交给《Sentra》：无法写入 %1。").arg(Native(failed)));
        return false;
    }
    const QString program = p.filePath(QStringLiteral("sentra"));
    if (!m_files.StartProgram(program, {QStringLiteral("DigestFile")}, p.path())) {
        m_questions.Tell(QStringLiteral("无法启动《Sentra》（%1）。句子已存入 %2。").arg(Native(program), Native(p.path())));
        return false;
    }
    return true;
}

} // namespace mvx::excerpt
