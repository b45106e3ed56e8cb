#pragma once
// Keeps a copy of every changed document in the recovery folder (every two minutes and
// on SIGTERM) and, at the next start, offers to restore what a crash left there.
// A document's copy goes when its window closes or it is no longer changed.

#include "app/RecoveryStore.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

class frmMDIChild;
class frmMDIParent;

class CrashRecovery : public QObject {
    Q_OBJECT
public:
    // Watches the documents of `frame`; the store folder defaults to the user's one.
    explicit CrashRecovery(frmMDIParent* frame, const QString& folder = RecoveryStore::defaultFolder());
    ~CrashRecovery() override;

    // Two minutes, or the milliseconds in QX_TEXT_RECOVERY_INTERVAL_MS.
    static int intervalMs();
    // SIGTERM writes every changed document before the program ends.
    static void catchTerminationSignal();

    RecoveryStore& store() { return m_store; }
    // Asks whether to restore the documents left by a crash; opens them as changed
    // windows titled as before on "Ja", discards them on "Nein". Returns the number restored.
    int offerRestore();
    // Writes the copies of all changed documents now (in the background) and removes
    // those of documents that are no longer changed.
    void saveChanged();
    // saveChanged and wait until it is on disk.
    void saveChangedAndWait();

private:
    QString idOf(frmMDIChild* w);
    void forget(const QString& id);

    frmMDIParent* m_frame;
    RecoveryStore m_store;
    QTimer m_timer;
    QHash<QObject*, QString> m_ids;
    bool m_offered = false;
};
