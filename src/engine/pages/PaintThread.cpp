#include "PaintThread.h"

#include <QThread>

#include <ctime>

PaintThread::PaintThread(int queued) : m_queued(qMax(1, queued))
{
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

PaintThread::~PaintThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread->wait();
    delete m_thread;
}

bool PaintThread::post(Job job, QString* error)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || int(m_jobs.size()) < m_queued; });
    if (m_failed) {
        if (error)
            *error = m_error;
        return false;
    }
    m_jobs.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
    return true;
}

bool PaintThread::wait(QString* error)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failed || (m_jobs.empty() && m_running == 0); });
    if (m_failed && error)
        *error = m_error;
    return !m_failed;
}

double PaintThread::callerCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

int PaintThread::waiting()
{
    std::lock_guard lock(m_mutex);
    return int(m_jobs.size());
}

void PaintThread::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            ++m_running;
        }
        QString error;
        const bool ok = m_failed || job(&error);
        // What the job held (its document copy) is freed on this thread, where it lives.
        job = nullptr;
        m_cpu.store(callerCpuSeconds(), std::memory_order_relaxed);
        {
            std::lock_guard lock(m_mutex);
            --m_running;
            if (!ok && !m_failed) {
                m_failed = true;
                m_error = error;
            }
        }
        m_changed.notify_all();
    }
}
