#pragma once
// Printing a lesson page as it is shown: the agent writes the frame's live document to
// "alltmpfile/tmpprint.htm" (beside the pages, so pictures resolve), an off-screen view loads
// it and prints it through a PrintOutput: the printer chosen in Qt's print dialog, or a PDF
// file (tests, and a learner who wants one).
#include <QString>

class QWebEngineView;
class QWidget;

namespace mvx::pages {

class PageHost;

class PrintOutput
{
public:
    virtual ~PrintOutput() = default;
    // Prints the loaded view; false with *error set on failure. *cancelled is set when the
    // learner cancelled (nothing printed, no error).
    virtual bool Print(QWebEngineView &view, QString *error, bool *cancelled) = 0;
};

// Asks for a printer with QPrintDialog (parent: the dialog's owner), then prints to it.
class PrinterOutput final : public PrintOutput
{
public:
    explicit PrinterOutput(QWidget *parent) : m_parent(parent) {}
    bool Print(QWebEngineView &view, QString *error, bool *cancelled) override;

private:
    QWidget *m_parent;
};

// Writes a PDF file.
class PdfOutput final : public PrintOutput
{
public:
    explicit PdfOutput(QString file) : m_file(std::move(file)) {}
    bool Print(QWebEngineView &view, QString *error, bool *cancelled) override;

private:
    QString m_file;
};

class PagePrinting final
{
public:
    static constexpr int TimeoutMs = 60000;
    static constexpr auto PrintFile = "alltmpfile/tmpprint.htm";

    // home: the program folder. Serialises the frame's document, loads it off screen and
    // prints it. Returns false with *error for a failure; a cancelled dialog returns true.
    static bool PrintFrame(PageHost &host, const QString &home, const QString &frame, PrintOutput &output,
                           QString *error);
};

} // namespace mvx::pages
