#include "LessonImport.h"

#include "ArticleIndex.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFileInfo>

namespace mvx {

LessonImport::LessonImport(QString indexPath)
    : m_indexPath(std::move(indexPath)), m_home(QFileInfo(m_indexPath).absolutePath())
{
}

ArticleTree LessonImport::tree() const
{
    const TextFileContent content = ReadTextFile(m_indexPath);
    return ArticleIndex::build(QFileInfo(m_indexPath).fileName(), content.ok ? content.lines : QStringList());
}

QStringList LessonImport::categories() const
{
    const ArticleTree tree = this->tree();
    QStringList out;
    QVector<QString> paths(tree.nodes.size());
    for (int i = 0; i < tree.nodes.size(); ++i) {
        const ArticleNode &n = tree.nodes[i];
        if (n.isArticle())
            continue;
        paths[i] = n.parent < 0 ? n.label : paths[n.parent] + QLatin1Char('/') + n.label;
        out << paths[i];
    }
    return out;
}

LessonTextKind LessonImport::kindOf(const QString &textPath)
{
    const QString suffix = QFileInfo(textPath).suffix().toLower();
    if (suffix == QLatin1String("lrc"))
        return LessonTextKind::Lrc;
    if (suffix == QLatin1String("srt") || suffix == QLatin1String("vtt"))
        return LessonTextKind::Subtitles;
    return LessonTextKind::PlainText;
}

QString LessonImport::proposeTitle(const QString &soundPath)
{
    QString name = QFileInfo(soundPath).completeBaseName();
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    name.replace(QLatin1Char('-'), QLatin1Char(' '));
    return name.simplified();
}

QString LessonImport::missing(const LessonChoices &c) const
{
    if (c.sound.trimmed().isEmpty())
        return QStringLiteral("请选择声音文件");
    if (c.text.trimmed().isEmpty())
        return QStringLiteral("请选择课文文本（LRC、字幕或纯文本）");
    const QStringList parts = c.category.split(QLatin1Char('/'));
    for (const QString &p : parts)
        if (p.trimmed().isEmpty())
            return QStringLiteral("请选择或输入类别（例如“我的课文/新闻”）");
    if (c.title.trimmed().isEmpty() && !c.titleLine)
        return QStringLiteral("请输入标题");
    if (c.title.contains(QLatin1Char('|')) || c.category.contains(QLatin1Char('|')))
        return QStringLiteral("标题和类别里不能有“|”");
    return {};
}

QString LessonImport::folderFor(const QString &category) const
{
    const QString top = category.section(QLatin1Char('/'), 0, 0).trimmed();
    const ArticleTree tree = this->tree();
    for (const ArticleNode &n : tree.nodes)
        if (n.parent < 0 && !n.isArticle() && n.label == top)
            return n.folder;
    return QString::fromLatin1(OwnFolder);
}

MakeBookOptions LessonImport::options(const LessonChoices &c) const
{
    MakeBookOptions o;
    o.audio = c.sound.trimmed();
    const QString text = c.text.trimmed();
    switch (c.kind) {
    case LessonTextKind::Lrc:
        o.lrc = text;
        break;
    case LessonTextKind::Subtitles:
        o.subtitles = text;
        o.regroup = c.regroup;
        break;
    case LessonTextKind::PlainText:
        o.text = text;
        break;
    }
    o.translation = c.translation.trimmed();
    o.comments = c.comments.trimmed();
    o.titleLine = c.titleLine;
    o.index = m_indexPath;
    o.category = c.category.trimmed();
    o.title = c.title.trimmed();

    // A file name the title can give on every file system, free in the folder.
    QString base = (o.title.isEmpty() ? proposeTitle(o.audio) : o.title).left(60);
    for (const QChar bad : QStringLiteral("/\\|:*?\"<>"))
        base.replace(bad, QLatin1Char('_'));
    base = base.trimmed();
    if (base.isEmpty() || base.startsWith(QLatin1Char('.')))
        base = QStringLiteral("课文") + base;
    const QDir folder(QDir(m_home).filePath(folderFor(o.category)));
    QString name = base + QStringLiteral(".dat");
    for (int n = 2; folder.exists(name); ++n)
        name = QStringLiteral("%1 (%2).dat").arg(base).arg(n);
    o.book = folder.filePath(name);
    return o;
}

InputError LessonImport::prepare(const LessonChoices &c, LessonPlan &plan, const MakeBookProgress &progress) const
{
    if (const QString m = missing(c); !m.isEmpty())
        return {{}, 0, m};
    return BookMaker::prepare(options(c), plan, progress);
}

MakeBookResult LessonImport::commit(const LessonChoices &c, LessonPlan &p) const
{
    const MakeBookOptions o = options(c);
    p.bookPath = o.book; // a name taken since the preview is not reused
    const QString folder = QFileInfo(o.book).absolutePath();
    const bool made = !QFileInfo::exists(folder);
    if (made && !QDir().mkpath(folder)) {
        MakeBookResult r;
        r.error = {folder, 0, QStringLiteral("无法建立文件夹")};
        return r;
    }
    const QString title = o.title.isEmpty() ? p.lesson.title : o.title;
    MakeBookResult r = BookMaker::commit(p, o.index, o.category, title);
    if (r.error.isError() && made)
        QDir().rmdir(folder); // only when still empty
    return r;
}

QList<PreviewRow> LessonImport::previewRows(const LessonPlan &plan, int max)
{
    QList<PreviewRow> rows;
    const auto &ss = plan.lesson.sentences;
    for (int i = 0; i < ss.size() && i < max; ++i)
        rows.append({i, ss[i].startMs, ss[i].endMs, ss[i].english, ss[i].chinese, ss[i].isTitle});
    return rows;
}

QString LessonImport::articleKey(const LessonPlan &plan, const MakeBookResult &result) const
{
    if (result.error.isError() || result.indexLine.isEmpty())
        return {};
    const QString bookFile = QFileInfo(plan.bookPath).fileName();
    const ArticleTree tree = this->tree();
    const QString bookPath = QFileInfo(plan.bookPath).absoluteFilePath();
    for (const ArticleNode &n : tree.nodes) {
        const auto info = ArticleIndex::parseArticleKey(n.key);
        if (!info || info->bookFile != bookFile || info->lessonNo != result.lessonNo)
            continue;
        if (QFileInfo(QDir(m_home).filePath(info->fileName())).absoluteFilePath() == bookPath)
            return n.key;
    }
    return {};
}

} // namespace mvx
