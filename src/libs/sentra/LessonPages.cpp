#include "LessonPages.h"

#include "PageFile.h"
#include "SentenceWords.h"
#include "libs/sentra/SentraFacade.h"


namespace mvx::sentra {

namespace {


// Appends a book text to a page, escaped; line breaks and tabs become blanks so that each
// label stays on its own line (the mixed page is split by lines).
void appendText(QString &out, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\r':
        case u'\n':
        case u'\t':
        case u'\f':
        case u'\v':
        case 0x2028:
        case 0x2029:
            out += u' ';
            break;
        default:
            out += c;
        }
    }
}

QString flatText(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    appendText(out, text);
    return out;
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

void LessonPages::appendEnglishLabel(QString &out, const SentenceData &s, int noInLesson,
                                     int colour, int keywordColour, const QString &style)
{
    out += QLatin1String("<label id=ste");
    out += QString::number(noInLesson);
    out += QLatin1String(" style=\"");
    out += labelStyle(colour, style, s.isTitle);
    out += QLatin1String("\"><span></span>");
    const QString keyStyle = QStringLiteral("color:") + htmlColour(keywordColour);
    int k = 0;
    for (const SentenceWords::Piece &p : SentenceWords::split(s.english)) {
        if (!p.isWord) {
            appendText(out, p.text);
            continue;
        }
        ++k;
        const bool key = s.keywords.contains(k);
        const bool fresh = s.newwords.contains(k);
        out += QLatin1String("<a id=wrd");
        out += QString::number(k);
        if (key || fresh) {
            out += QLatin1String(" style=\"");
            if (key)
                out += keyStyle;
            if (key && fresh)
                out += QLatin1String("; ");
            if (fresh)
                out += QLatin1String("text-decoration:underline; font-weight:bold");
            out += u'"';
        }
        out += u'>';
        appendText(out, p.text);
        out += QLatin1String("</a>");
    }
    out += QLatin1String("</label>");
}

QString LessonPages::englishLabel(const SentenceData &s, int noInLesson, int colour,
                                  int keywordColour, const QString &style)
{
    QString out;
    out.reserve(80 + style.size() + s.english.size() * 2);
    appendEnglishLabel(out, s, noInLesson, colour, keywordColour, style);
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

bool LessonPages::writePages(const QString &eFile, const QString &cFile, const QString &zFile,
                             const QString &ecFile, const QList<SentenceData> &sentences,
                             const PageColours &c, const QString &eStyle, const QString &cStyle,
                             QString *error)
{
    const QString head = pageHead();
    const QString tail = pageTail();
    QString label; // one label at a time, its buffer reused
    label.reserve(4096);

    PageFile e(eFile);
    e << head;
    for (int n = 0; n < sentences.size(); ++n) {
        label.resize(0);
        appendEnglishLabel(label, sentences[n], n, c.english, c.keyword, eStyle);
        e << label << QLatin1String("<br>\r\n");
    }
    e << tail;
    if (!e.finish(error))
        return false;

    PageFile ch(cFile);
    ch << head;
    for (int n = 0; n < sentences.size(); ++n)
        ch << chineseLabel(sentences[n], n, c.chinese, cStyle) << QLatin1String("<br>\r\n");
    ch << tail;
    if (!ch.finish(error))
        return false;

    PageFile z(zFile);
    z << head
      << QStringLiteral("<a href=\"http://%1/edit\">编辑当前句的注释</a><br>\r\n")
             .arg(QLatin1String(CommentEditMarker));
    for (int n = 0; n < sentences.size(); ++n)
        z << commentLabel(sentences[n], n, c.comment) << QLatin1String("\r\n");
    z << tail;
    if (!z.finish(error))
        return false;

    // The mixed page: one table row per sentence over two lines, the English line beginning
    // the row and the Chinese line ending it; only the table's first line begins "<table".
    PageFile ec(ecFile);
    ec << head
       << QStringLiteral("<table border=\"0\" width=\"100%\" id=\"table1\" style=\"%1\">\r\n")
              .arg(eStyle.trimmed().toHtmlEscaped());
    const bool hasTitle = !sentences.isEmpty() && sentences.first().isTitle;
    const QString numberStyle = labelStyle(c.english, eStyle, false);
    for (int n = 0; n < sentences.size(); ++n) {
        ec << QLatin1String("<tr><td>");
        const int k = hasTitle ? n : n + 1;
        if (k >= 1)
            ec << QStringLiteral("<label id=No%1 style=\"%2\">%1. </label>").arg(k).arg(numberStyle);
        label.resize(0);
        appendEnglishLabel(label, sentences[n], n, c.english, c.keyword, eStyle);
        ec << label << QLatin1String("<br>\r\n")
           << chineseLabel(sentences[n], n, c.chinese, cStyle) << QLatin1String("</td></tr>\r\n");
    }
    ec << QLatin1String("</table>\r\n") << tail;
    return ec.finish(error);
}

} // namespace mvx::sentra
