#include "SkinRenderer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace skingen {

namespace {

QString Escape(const QString &text)
{
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    return out;
}

QString Num(double v)
{
    return QString::number(v, 'g', 6);
}

// Replaces ${NAME} by its value; returns the first unknown name in *missing.
QString Fill(const QString &text, const Vars &vars, QString *missing)
{
    static const QRegularExpression placeholder(QStringLiteral("\\$\\{([A-Z0-9_]+)\\}"));
    QString out;
    qsizetype last = 0;
    auto it = placeholder.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        out += text.mid(last, match.capturedStart() - last);
        const QString key = match.captured(1);
        if (vars.contains(key))
            out += vars.value(key);
        else if (missing->isEmpty())
            *missing = key;
        last = match.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

bool WritePng(const QByteArray &svg, int width, int height, int scale, const QString &path, QString *error)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        *error = QStringLiteral("invalid SVG for %1").arg(path);
        return false;
    }
    QImage image(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter, QRectF(0, 0, width * scale, height * scale));
    }
    // A plain write: an interrupted run leaves the stamp untouched, so the build redoes it.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !image.save(&file, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

SkinRenderer::SkinRenderer(const QString &sourceDir, const QString &outputRoot)
    : m_source(sourceDir), m_outputRoot(outputRoot)
{
}

bool SkinRenderer::ReadSource(const QString &path, QString *text, QString *error)
{
    if (m_cache.contains(path)) {
        *text = m_cache.value(path);
        return true;
    }
    QFile file(m_source.filePath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(file.fileName());
        return false;
    }
    *text = QString::fromUtf8(file.readAll());
    m_cache.insert(path, *text);
    return true;
}

bool SkinRenderer::RenderOne(const SkinItem &item, const QString &look, const Vars &lookVars, QString *error)
{
    const QString where = QStringLiteral("line %1 (%2/%3%4): ").arg(item.line).arg(item.folder, item.name, look);
    Vars vars;
    const double w = item.width;
    const double h = item.height;
    vars["W"] = Num(w);
    vars["H"] = Num(h);
    vars["CX"] = Num(w / 2);
    vars["CY"] = Num(h / 2);
    vars["FS"] = QStringLiteral("12");
    vars["TEXT"] = QString();
    vars["BGA"] = QStringLiteral("1");
    vars["DY"] = QStringLiteral("0");
    vars["FONT"] = QStringLiteral("Noto Sans CJK SC, Noto Sans, sans-serif");
    for (auto it = lookVars.begin(); it != lookVars.end(); ++it)
        vars[it.key()] = it.value();
    for (auto it = item.params.begin(); it != item.params.end(); ++it)
        vars[it.key()] = it.key() == u"TEXT" ? Escape(it.value()) : it.value();
    // The caption's baseline sits a third of the font size below the centre line.
    const double fs = vars["FS"].toDouble();
    if (!vars.contains("TY"))
        vars["TY"] = Num(h / 2 + fs * 0.36);
    const double isize = vars.contains("ISIZE") ? vars["ISIZE"].toDouble() : std::min(w, h) * 0.7;
    vars["ISIZE"] = Num(isize);
    vars["IS"] = Num(isize / 24.0);
    if (!vars.contains("IX"))
        vars["IX"] = Num((w - isize) / 2);
    if (!vars.contains("IY"))
        vars["IY"] = Num((h - isize) / 2);
    if (!vars.contains("TX"))
        vars["TX"] = Num(vars["IX"].toDouble() + isize + 6);
    vars["W1"] = Num(w - 1);
    vars["H1"] = Num(h - 1);

    QString missing;
    QString icon;
    if (vars.contains("ICON")) {
        QString iconText;
        if (!ReadSource(QStringLiteral("icons/") + vars["ICON"] + QStringLiteral(".svg"), &iconText, error)) {
            *error = where + *error;
            return false;
        }
        icon = Fill(iconText, vars, &missing);
    }
    vars["ICON"] = icon;
    QString templ;
    if (!ReadSource(QStringLiteral("templates/") + item.templateName + QStringLiteral(".svg"), &templ, error)) {
        *error = where + *error;
        return false;
    }
    const QString svg = Fill(templ, vars, &missing);
    if (!missing.isEmpty()) {
        *error = where + QStringLiteral("no value for ${%1}").arg(missing);
        return false;
    }
    const QString folder = m_outputRoot + u'/' + item.folder;
    if (!QDir().mkpath(folder)) {
        *error = where + QStringLiteral("cannot make %1").arg(folder);
        return false;
    }
    const QString base = folder + u'/' + item.name + look;
    const QByteArray bytes = svg.toUtf8();
    if (!WritePng(bytes, item.width, item.height, 1, base + QStringLiteral(".png"), error)
        || !WritePng(bytes, item.width, item.height, 2, base + QStringLiteral("@2x.png"), error)) {
        *error = where + *error;
        return false;
    }
    m_written += 2;
    return true;
}

bool SkinRenderer::RenderAll(const SkinManifest &manifest, QString *error)
{
    for (const SkinItem &item : manifest.items) {
        const QString style = item.params.value(QStringLiteral("STYLE"));
        const auto looks = manifest.styles.value(style);
        if (item.isButton) {
            for (const QString &look : ButtonLooks()) {
                // A look the style leaves out takes the normal look's values.
                Vars vars = looks.value(QString());
                const Vars own = looks.value(look);
                for (auto it = own.begin(); it != own.end(); ++it)
                    vars[it.key()] = it.value();
                if (!RenderOne(item, look, vars, error))
                    return false;
            }
        } else if (!RenderOne(item, QString(), looks.value(QString()), error)) {
            return false;
        }
    }
    return true;
}

} // namespace skingen
