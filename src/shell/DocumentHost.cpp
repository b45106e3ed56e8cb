#include "DocumentHost.h"

namespace {
DocumentHost* g_host = nullptr;
}

DocumentHost::DocumentHost() { g_host = this; }

DocumentHost::~DocumentHost()
{
    if (g_host == this)
        g_host = nullptr;
}

DocumentHost* DocumentHost::instance() { return g_host; }

QWidget* DocumentHost::frameWidget() { return g_host ? g_host->hostWidget() : nullptr; }
