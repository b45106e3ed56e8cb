#pragma once
// Runs painting jobs on a thread of its own, one after the other in the order they were
// posted, while the caller's thread writes the next documents: a long run of letters
// uses the second core. Jobs own what they paint (copies made by the caller), so the
// two threads never share a document. At most `queued` jobs wait; posting more blocks
// until one is done, which keeps memory flat however long the run.

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

class QThread;

class PaintThread {
public:
    // A job runs on the thread; false, with `error` set, stops the run.
    using Job = std::function<bool(QString* error)>;

    explicit PaintThread(int queued = 8);
    // Waits for the posted jobs.
    ~PaintThread();
    PaintThread(const PaintThread&) = delete;
    PaintThread& operator=(const PaintThread&) = delete;

    // The thread the jobs run on; objects a job uses are moved to it before posting.
    QThread* thread() const { return m_thread; }
    // Queues `job`; false (with the error) when a job before it failed.
    bool post(Job job, QString* error);
    // Waits until every posted job has run; false with the first job's error.
    bool wait(QString* error);
    // Jobs posted and not started yet.
    int waiting();
    // Processor time the thread has used so far, and the calling thread's: a caller that
    // can do part of a job's work itself does it while it has used less, so that both
    // threads keep their cores busy whatever else runs on the machine.
    double cpuSeconds() const { return m_cpu.load(std::memory_order_relaxed); }
    static double callerCpuSeconds();

private:
    void run();

    QThread* m_thread = nullptr;
    const int m_queued;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_jobs;
    int m_running = 0;
    bool m_stop = false;
    bool m_failed = false;
    QString m_error;
    std::atomic<double> m_cpu{0};
};
