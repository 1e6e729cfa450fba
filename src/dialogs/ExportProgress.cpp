#include "dialogs/ExportProgress.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <memory>

namespace mvx {

ExportOutcome RunExportWithProgress(QWidget *parent, const QString &label, const ExportJob &job)
{
    ExportOutcome outcome;
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    QProgressDialog dialog(label, QStringLiteral("取消"), 0, 0, parent);
    dialog.setObjectName(QStringLiteral("ExportProgress"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
        cancel = true;
        dialog.setLabelText(QStringLiteral("正在取消……"));
    });
    std::unique_ptr<QThread> worker(QThread::create([&] {
        outcome.result = job(cancel, [&](int d, int n) {
            total = n;
            done = d;
        }, &outcome.error);
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (total > 0 && dialog.maximum() != total)
            dialog.setMaximum(total);
        dialog.setValue(done);
    });
    worker->start();
    poll.start();
    dialog.show();
    loop.exec();
    worker->wait();
    poll.stop();
    outcome.cancelled = cancel.load() && outcome.result < 0;
    return outcome;
}

} // namespace mvx
