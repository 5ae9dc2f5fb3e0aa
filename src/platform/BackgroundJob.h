#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;
class QWidget;

// Long work of the window (export, print, copy) on a thread of its own: the
// window's thread shows its progress with Cancel and goes on handling events,
// so the window repaints, scrolls and opens its menus meanwhile.
class CBackgroundJob {
public:
    // The work, on the job's thread: an empty string when it succeeded, else
    // the reason it failed. It reports progress with Step.
    using Work = std::function<QString(CBackgroundJob& job)>;

    explicit CBackgroundJob(Work work);
    // Cancels the work and waits for it.
    ~CBackgroundJob();
    CBackgroundJob(const CBackgroundJob&) = delete;
    CBackgroundJob& operator=(const CBackgroundJob&) = delete;

    // On the job's thread: done of total units so far; false once cancelled.
    bool Step(qint64 done, qint64 total);
    bool IsCancelled() const { return m_cancel.load(std::memory_order_relaxed); }
    // The flag Cancel sets, for work that watches one itself.
    const std::atomic<bool>* CancelFlag() const { return &m_cancel; }

    // Asks the work to stop; it stops at its next Step.
    void Cancel() { m_cancel.store(true); }
    // Blocks until the work has ended (at once when it never started).
    void Wait();

    // Runs the work and returns when it has ended, handling the window's events
    // meanwhile; a progress dialog over parent ("label: N of M units") offers
    // Cancel while it runs. Returns the work's result; a cancelled job returns
    // an empty string and IsCancelled() is true.
    QString Exec(QWidget* parent, const QString& title, const QString& label, const QString& units);

private:
    Work m_work;
    std::atomic<bool> m_cancel{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    std::unique_ptr<QThread> m_thread;
    QString m_result;
};
