#include "LessonPages.h"

#include "SentenceWords.h"
#include "libs/sentra/SentraFacade.h"

#include <QSaveFile>

#include <algorithm>

namespace mvx::sentra {

namespace {

const QString Crlf = QStringLiteral("\r\n");

// Escapes a book text for a page; line breaks and tabs become blanks so that each label
// stays on its own line (the mixed page is split by lines).
QString flatText(const QString &text)
{
    QString t = text.toHtmlEscaped();
    for (QChar &c : t) {
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == u'\f' || c == u'\v'
            || c == QChar(0x2028) || c == QChar(0x2029))
            c = u' ';
    }
    return t;
}

QString labelStyle(int colour, const QString &style, bool bold)
{
    QString s = QStringLiteral("color:") + LessonPages::htmlColour(colour);
    if (!style.trimmed().isEmpty())
        s += QStringLiteral("; ") + style.trimmed();
    if (bold)
        s += QStringLiteral("; font-weight:bold");
    return s.toHtmlEscaped();
}

QString pageHead()
{
    return QStringLiteral("<html>\r\n<head>\r\n"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                          "</head>\r\n<body>\r\n");
}

QString pageTail()
{
    return QStringLiteral("</body>\r\n</html>\r\n");
}

} // namespace

QString LessonPages::htmlColour(int rgb)
{
    return QString::asprintf("#%06X", unsigned(rgb) & 0xFFFFFFu);
}

QString LessonPages::englishLabel(const SentenceData &s, int noInLesson, int colour,
                                  int keywordColour, const QString &style)
{
    QString out;
    out.reserve(64 + s.english.size() * 3);
    out += QStringLiteral("<label id=ste%1 style=\"%2\"><span></span>")
               .arg(noInLesson)
               .arg(labelStyle(colour, style, s.isTitle));
    const QString keyStyle = QStringLiteral("color:") + htmlColour(keywordColour);
    const QString newStyle = QStringLiteral("text-decoration:underline; font-weight:bold");
    int k = 0;
    for (const SentenceWords::Piece &p : SentenceWords::split(s.english)) {
        if (!p.isWord) {
            out += flatText(p.text);
            continue;
        }
        ++k;
        const bool key = s.keywords.contains(k);
        const bool fresh = s.newwords.contains(k);
        out += QStringLiteral("<a id=wrd") + QString::number(k);
        if (key || fresh) {
            out += QStringLiteral(" style=\"");
            if (key)
                out += keyStyle;
            if (key && fresh)
                out += QStringLiteral("; ");
            if (fresh)
                out += newStyle;
            out += u'"';
        }
        out += u'>';
        out += flatText(p.text);
        out += QStringLiteral("</a>");
    }
    out += QStringLiteral("</label>");
    return out;
}

QString LessonPages::chineseLabel(const SentenceData &s, int noInLesson, int colour,
                                  const QString &style)
{
    return QStringLiteral("<label id=stc%1 style=\"%2\">%3</label>")
        .arg(noInLesson)
        .arg(labelStyle(colour, style, s.isTitle), flatText(s.chinese));
}

QString LessonPages::commentInner(const SentenceData &s)
{
    QString t = s.comment;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    for (QString &line : lines)
        line = flatText(line);
    return lines.join(QStringLiteral("<br>"));
}

QString LessonPages::commentLabel(const SentenceData &s, int noInLesson, int colour)
{
    QString out = QStringLiteral("<label id=stz%1 style=\"%2\">%3</label>")
                      .arg(noInLesson)
                      .arg(labelStyle(colour, QString(), false), commentInner(s));
    if (!s.comment.isEmpty())
        out += QStringLiteral("<br id=br%1>").arg(noInLesson);
    return out;
}

QString LessonPages::englishPage(const QList<SentenceData> &sentences, const PageColours &c,
                                 const QString &eStyle)
{
    QString page = pageHead();
    page.reserve(page.size() + sentences.size() * 400);
    for (int n = 0; n < sentences.size(); ++n) {
        page += englishLabel(sentences[n], n, c.english, c.keyword, eStyle);
        page += QStringLiteral("<br>") + Crlf;
    }
    return page + pageTail();
}

QString LessonPages::chinesePage(const QList<SentenceData> &sentences, const PageColours &c,
                                 const QString &cStyle)
{
    QString page = pageHead();
    page.reserve(page.size() + sentences.size() * 200);
    for (int n = 0; n < sentences.size(); ++n)
        page += chineseLabel(sentences[n], n, c.chinese, cStyle) + QStringLiteral("<br>") + Crlf;
    return page + pageTail();
}

QString LessonPages::commentPage(const QList<SentenceData> &sentences, const PageColours &c)
{
    QString page = pageHead();
    page += QStringLiteral("<a href=\"http://%1/edit\">编辑当前句的注释</a><br>")
                .arg(QLatin1String(CommentEditMarker))
            + Crlf;
    for (int n = 0; n < sentences.size(); ++n)
        page += commentLabel(sentences[n], n, c.comment) + Crlf;
    return page + pageTail();
}

QString LessonPages::mixedPage(const QList<SentenceData> &sentences, const PageColours &c,
                               const QString &eStyle, const QString &cStyle)
{
    QString page = pageHead();
    page.reserve(page.size() + sentences.size() * 600);
    QString tableStyle = eStyle.trimmed().toHtmlEscaped();
    page += QStringLiteral("<table border=\"0\" width=\"100%\" id=\"table1\" style=\"%1\">")
                .arg(tableStyle)
            + Crlf;
    const bool hasTitle = !sentences.isEmpty() && sentences.first().isTitle;
    const QString numberStyle = labelStyle(c.english, eStyle, false);
    for (int n = 0; n < sentences.size(); ++n) {
        page += QStringLiteral("<tr><td>");
        const int k = hasTitle ? n : n + 1;
        if (k >= 1)
            page += QStringLiteral("<label id=No%1 style=\"%2\">%1. </label>").arg(k).arg(numberStyle);
        page += englishLabel(sentences[n], n, c.english, c.keyword, eStyle);
        page += QStringLiteral("<br>") + Crlf;
        page += chineseLabel(sentences[n], n, c.chinese, cStyle);
        page += QStringLiteral("</td></tr>") + Crlf;
    }
    page += QStringLiteral("</table>") + Crlf;
    return page + pageTail();
}

bool LessonPages::writePage(const QString &path, const QString &html, QString *error)
{
    QSaveFile f(path);
    const QByteArray bytes = html.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace mvx::sentra
