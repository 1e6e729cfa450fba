#include "player/pages/PagePrinting.h"

#include "player/pages/PageHost.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace mvx::pages {

namespace {

// Runs the event loop until done() is true or the time is up.
template <typename Done>
bool waitFor(Done done, int timeoutMs)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    if (!done())
        loop.exec();
    return done();
}

} // namespace

bool PrinterOutput::Print(QWebEngineView &view, QString *error, bool *cancelled)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_parent);
    if (dialog.exec() != QDialog::Accepted) {
        *cancelled = true;
        return true;
    }
    bool finished = false;
    bool ok = false;
    QObject::connect(&view, &QWebEngineView::printFinished, &view, [&](bool success) {
        finished = true;
        ok = success;
    });
    view.print(&printer);
    if (!waitFor([&] { return finished; }, PagePrinting::TimeoutMs) || !ok) {
        *error = QStringLiteral("打印机没有完成打印");
        return false;
    }
    return true;
}

bool PdfOutput::Print(QWebEngineView &view, QString *error, bool *)
{
    bool finished = false;
    bool ok = false;
    QObject::connect(view.page(), &QWebEnginePage::pdfPrintingFinished, &view, [&](const QString &, bool success) {
        finished = true;
        ok = success;
    });
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15));
    view.page()->printToPdf(m_file, layout);
    if (!waitFor([&] { return finished; }, PagePrinting::TimeoutMs) || !ok || !QFileInfo(m_file).size()) {
        *error = QStringLiteral("无法写入 PDF 文件 %1").arg(QDir::toNativeSeparators(m_file));
        return false;
    }
    return true;
}

bool PagePrinting::PrintFrame(PageHost &host, const QString &home, const QString &frame, PrintOutput &output,
                              QString *error)
{
    const QByteArray arg = QJsonDocument(QJsonArray{frame}).toJson(QJsonDocument::Compact);
    const QVariant html = host.runAndWait(QStringLiteral("__mvxAgent.printable(%1)")
                                              .arg(QString::fromUtf8(arg.mid(1, arg.size() - 2))),
                                          TimeoutMs);
    if (html.toString().isEmpty()) {
        *error = QStringLiteral("课文页面还没有载入");
        return false;
    }
    const QString file = QDir(home).filePath(QString::fromLatin1(PrintFile));
    QSaveFile out(file);
    const QByteArray bytes = html.toString().toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(file));
        return false;
    }
    // Loaded from the file, not set as HTML: a long lesson is past setHtml's size limit.
    QWebEngineView view;
    view.resize(800, 1000);
    bool loaded = false;
    bool ok = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&](bool success) {
        loaded = true;
        ok = success;
    });
    view.load(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    if (!waitFor([&] { return loaded; }, TimeoutMs) || !ok) {
        *error = QStringLiteral("打印页面没有载入");
        return false;
    }
    bool cancelled = false;
    return output.Print(view, error, &cancelled);
}

} // namespace mvx::pages
