#include "CrashRecovery.h"

#include "DocumentFiles.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"
#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QUuid>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QList<CrashRecovery*> g_live;
int g_signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char c = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const auto n = ::write(g_signalPipe[0], &c, 1);
}

} // namespace

CrashRecovery::CrashRecovery(frmMDIParent* frame, const QString& folder)
    : QObject(frame), m_frame(frame), m_store(folder)
{
    g_live << this;
    connect(&m_timer, &QTimer::timeout, this, &CrashRecovery::saveChanged);
    m_timer.start(intervalMs());
    // Before the first document opens, so restored windows stand behind it.
    QTimer::singleShot(0, this, &CrashRecovery::offerRestore);
}

CrashRecovery::~CrashRecovery()
{
    g_live.removeAll(this);
    // A normal end: every window still open has passed its close check.
    for (const QString& id : std::as_const(m_ids))
        forget(id);
}

int CrashRecovery::intervalMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QX_TEXT_RECOVERY_INTERVAL_MS", &ok);
    return ok && ms > 0 ? ms : 2 * 60 * 1000;
}

void CrashRecovery::catchTerminationSignal()
{
    if (g_signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[1], &c, 1);
        for (CrashRecovery* r : g_live)
            r->saveChangedAndWait();
        // End as the signal would have; the copies stay for the next start.
        std::signal(SIGTERM, SIG_DFL);
        std::raise(SIGTERM);
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminate;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
}

QString CrashRecovery::idOf(frmMDIChild* w)
{
    auto it = m_ids.find(w);
    if (it != m_ids.end())
        return *it;
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_ids.insert(w, id);
    // Closed through its close check (saved, or "Nein"): the copy is not wanted any more.
    connect(w, &QObject::destroyed, this, [this, w] { forget(m_ids.take(w)); });
    return id;
}

void CrashRecovery::forget(const QString& id)
{
    if (!id.isEmpty())
        m_store.remove(id);
}

void CrashRecovery::saveChanged()
{
    for (frmMDIChild* w : m_frame->documents()) {
        if (!w->DirtyFlag) {
            if (m_ids.contains(w))
                forget(m_ids.value(w));
            continue;
        }
        // The snapshot is taken here; only the writing happens in the background.
        TextControl* s = w->surface();
        const QByteArray content = DocumentFiles::pageHeader(*s) + s->SaveToMemory(3);
        if (content.size() > 30)
            m_store.save({idOf(w), w->Title(), w->FilePath(), content});
    }
}

void CrashRecovery::saveChangedAndWait()
{
    saveChanged();
    m_store.waitForDone();
}

int CrashRecovery::offerRestore()
{
    if (m_offered)
        return 0;
    m_offered = true;
    const QList<RecoveryEntry> found = m_store.entries();
    if (found.isEmpty())
        return 0;
    QStringList titles;
    for (const RecoveryEntry& e : found)
        titles << QStringLiteral("  ") + e.title;
    const QString text =
        QStringLiteral("Die Textverarbeitung wurde beim letzten Mal nicht ordnungsgemäß beendet.\n"
                       "Folgende Dokumente hatten ungespeicherte Änderungen:\n\n%1\n\n"
                       "Sollen sie wiederhergestellt werden?")
            .arg(titles.join(QLatin1Char('\n')));
    // In front of every other window: the letter composer may already be open.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_frame;
    const auto answer = prompter().message(owner, QStringLiteral("Dokumente wiederherstellen"), text,
                                           QMessageBox::Yes | QMessageBox::No,
                                           Prompter::Icon::Question);
    if (answer != QMessageBox::Yes) {
        // Deleting is final: asked once more; "Nein" keeps the copies for the next start.
        const auto sure = prompter().message(owner, QStringLiteral("Dokumente wiederherstellen"),
                                             QStringLiteral("Die ungespeicherten Änderungen gehen damit endgültig "
                                                            "verloren.\n\nSollen die Kopien wirklich gelöscht werden?"),
                                             QMessageBox::Yes | QMessageBox::No, Prompter::Icon::Exclamation);
        if (sure == QMessageBox::Yes)
            for (const RecoveryEntry& e : found)
                m_store.removeNow(e.id);
        return 0;
    }
    int restored = 0;
    for (const RecoveryEntry& e : found) {
        // The window reads the copy like any own-format file, then takes the old title.
        QString copy = QDir(m_store.folder()).filePath(e.id + QStringLiteral(".txm"));
        QFile f(copy);
        if (!f.open(QIODevice::WriteOnly) || f.write(e.content) != e.content.size())
            continue;
        f.close();
        frmMDIChild* w = DocumentFiles::LoadDocument(copy, 3);
        QFile::remove(copy);
        if (!w)
            continue; // the error was shown; the copy stays for another try
        w->setTitle(e.title, e.filePath);
        w->DirtyFlag = true;
        // From now on the window's own copy takes the place of the old one.
        m_store.removeNow(e.id);
        saveChanged();
        ++restored;
    }
    return restored;
}
