#include "BackgroundJob.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

namespace {

// The progress dialog shows after this long, so quick jobs flash nothing.
constexpr int kShowAfterMs = 400;
constexpr int kRefreshMs = 100;

// A progress figure in the dialog's int range.
int Scaled(qint64 value, qint64 total) {
    constexpr qint64 kMax = 1 << 30;
    return total <= kMax ? static_cast<int>(value) : static_cast<int>(value * kMax / total);
}

} // namespace

CBackgroundJob::CBackgroundJob(Work work) : m_work(std::move(work)) {}

CBackgroundJob::~CBackgroundJob() {
    Cancel();
    Wait();
}

bool CBackgroundJob::Step(qint64 done, qint64 total) {
    m_done.store(done, std::memory_order_relaxed);
    m_total.store(total, std::memory_order_relaxed);
    return !IsCancelled();
}

void CBackgroundJob::Wait() {
    if (m_thread) {
        m_thread->wait();
    }
}

QString CBackgroundJob::Exec(QWidget* parent, const QString& title, const QString& label,
                             const QString& units) {
    m_thread.reset(QThread::create([this] { m_result = m_work(*this); }));
    QEventLoop loop;
    QObject::connect(m_thread.get(), &QThread::finished, &loop, &QEventLoop::quit);

    // Owned by parent, which may go while the job runs.
    QPointer<QProgressDialog> dialog = new QProgressDialog(parent);
    dialog->setObjectName(QStringLiteral("JobProgressDialog"));
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::NonModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(kShowAfterMs);
    dialog->setRange(0, 0);
    dialog->setLabelText(label);
    QObject::connect(dialog, &QProgressDialog::canceled, dialog, [this] { Cancel(); });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &refresh, [&] {
        const qint64 total = m_total.load(std::memory_order_relaxed);
        const qint64 done = m_done.load(std::memory_order_relaxed);
        if (dialog == nullptr) {
            return;
        }
        if (total <= 0) {
            dialog->setValue(0); // busy until the work says how much there is
            return;
        }
        dialog->setMaximum(Scaled(total, total));
        dialog->setValue(Scaled(std::min(done, total), total));
        dialog->setLabelText(
            QStringLiteral("%1: %2 of %3 %4").arg(label).arg(done).arg(total).arg(units));
    });
    refresh.start(kRefreshMs);
    m_thread->start();
    loop.exec();
    m_thread->wait();
    refresh.stop();
    delete dialog.data();
    return IsCancelled() ? QString() : m_result;
}
