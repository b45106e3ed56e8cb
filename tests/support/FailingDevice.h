#pragma once
// A device in front of a file that accepts `budget` bytes and then fails the way a
// full disk does (errno ENOSPC), for SafeSave::setDeviceWrapper.

#include "app/SafeSave.h"

#include <QIODevice>
#include <cerrno>
#include <functional>

class FailingDevice : public QIODevice {
public:
    FailingDevice(QIODevice* file, qint64 budget, std::function<void()> onWrite = {})
        : m_file(file), m_budget(budget), m_onWrite(std::move(onWrite))
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override
    {
        if (m_onWrite)
            m_onWrite();
        if (m_budget <= 0) {
            errno = ENOSPC;
            return -1;
        }
        const qint64 n = m_file->write(data, qMin(len, m_budget));
        m_budget -= n;
        return n;
    }

private:
    QIODevice* m_file;
    qint64 m_budget;
    std::function<void()> m_onWrite;
};

// Installs a FailingDevice in front of every save while it lives.
class ScopedDiskFull {
public:
    explicit ScopedDiskFull(qint64 budget, std::function<void()> onWrite = {})
    {
        SafeSave::setDeviceWrapper([budget, onWrite](QIODevice* file) {
            return std::make_unique<FailingDevice>(file, budget, onWrite);
        });
    }
    ~ScopedDiskFull() { SafeSave::setDeviceWrapper({}); }
};
