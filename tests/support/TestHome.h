#pragma once
// A throw-away HOME for one test: created in the system's temporary folder and
// removed afterwards, so no test ever touches the real user's folders.

#include <QByteArray>
#include <QTemporaryDir>

class TestHome {
public:
    TestHome();
    ~TestHome();
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    bool isValid() const { return m_dir.isValid(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
};
