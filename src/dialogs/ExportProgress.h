#pragma once
// Runs a long export off the UI thread behind a cancellable progress dialog. The job gets
// the cancel flag (checked between its steps) and a progress callback (done, total), and
// returns a count, or -1 with its error (an empty error after a cancel). The window stays
// responsive; nothing of the job touches widgets.
#include <QString>
#include <atomic>
#include <functional>

class QWidget;

namespace mvx {

using ExportJob = std::function<int(const std::atomic<bool> &cancel, const std::function<void(int, int)> &progress,
                                    QString *error)>;

struct ExportOutcome
{
    int result = -1;
    QString error;
    bool cancelled = false;
};

ExportOutcome RunExportWithProgress(QWidget *parent, const QString &label, const ExportJob &job);

} // namespace mvx
