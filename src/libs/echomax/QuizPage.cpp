#include "libs/echomax/QuizPage.h"

namespace mvx {

namespace {

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

QString radio(int question, const QString &value, const QString &caption)
{
    return QStringLiteral("<label class=\"opt\"><input type=\"radio\" name=\"radio%1\" value=\"%2\"> %3</label>\n")
        .arg(question)
        .arg(value, esc(caption));
}

} // namespace

QString RenderQuizPage(const QuizSource &quiz, const QString &title)
{
    QString html;
    html += QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>%1</title>\n<style>\n"
        "body { font-family: \"Noto Sans CJK SC\", \"Noto Sans\", \"DejaVu Sans\", sans-serif; font-size: 11pt;"
        " margin: 12px 16px; color: #202020; background: #ffffff; }\n"
        "h2 { font-size: 13pt; margin: 0 0 10px 0; }\n"
        ".q { margin: 0 0 12px 0; }\n"
        ".text { margin: 0 0 2px 0; }\n"
        ".zh { margin: 0 0 4px 0; color: #505050; }\n"
        ".opt { display: block; margin: 2px 0 2px 18px; cursor: pointer; }\n"
        "</style></head>\n<body>\n<h2>%1</h2>\n")
                .arg(esc(title));
    for (int k = 0; k < quiz.questions.size(); ++k) {
        const QuizQuestion &q = quiz.questions[k];
        html += QStringLiteral("<div class=\"q\">\n<p class=\"text\">%1. %2</p>\n").arg(k + 1).arg(esc(q.text));
        if (!q.chinese.isEmpty())
            html += QStringLiteral("<p class=\"zh\">%1</p>\n").arg(esc(q.chinese));
        if (q.kind == QuizQuestion::Kind::TrueFalse) {
            html += radio(k, QStringLiteral("T"), QStringLiteral("True"));
            html += radio(k, QStringLiteral("F"), QStringLiteral("False"));
        } else {
            for (int c = 0; c < q.choices.size(); ++c) {
                const QString letter(QChar(u'A' + c));
                html += radio(k, letter, letter + QStringLiteral(". ") + q.choices[c]);
            }
        }
        html += QStringLiteral("</div>\n");
    }
    html += QStringLiteral("<p><input type=\"button\" name=\"Submit1\" value=\"提交答案\"></p>\n</body></html>\n");
    return html;
}

} // namespace mvx
