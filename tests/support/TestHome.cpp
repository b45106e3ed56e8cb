#include "TestHome.h"

TestHome::TestHome() : m_oldHome(qgetenv("HOME"))
{
    qputenv("HOME", m_dir.path().toUtf8());
    qunsetenv("HomeDrive");
    qunsetenv("HomePath");
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");
}

TestHome::~TestHome() { qputenv("HOME", m_oldHome); }
