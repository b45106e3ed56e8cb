#include "RecentFiles.h"

#include "DocumentFiles.h"

#include "app/AppState.h"
#include "app/SafeSave.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace RecentFiles {

namespace {

void save(const QStringList& list)
{
    QString text;
    for (const QString& p : list)
        text += p + QLatin1Char('\n');
    QString error;
    // Losing the list is no reason to bother the user.
    SafeSave::saveFile(storePath(), text.toUtf8(), &error);
}

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

QStringList withAdded(QStringList list, const QString& path)
{
    if (path.isEmpty())
        return list;
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > MaxEntries)
        list.removeLast();
    return list;
}

QString storePath() { return appState().WorkFolder + QStringLiteral("ZuletztGeoeffnet.txt"); }

QStringList load()
{
    QFile f(storePath());
    if (appState().WorkFolder.isEmpty() || !f.open(QIODevice::ReadOnly))
        return {};
    QStringList list;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString p = line.trimmed();
        if (!p.isEmpty() && !list.contains(p) && list.size() < MaxEntries)
            list << p;
    }
    return list;
}

void add(const QString& path)
{
    if (appState().WorkFolder.isEmpty() || path.isEmpty())
        return;
    save(withAdded(load(), absolute(path)));
}

void remove(const QString& path)
{
    QStringList list = load();
    if (list.removeAll(absolute(path)) > 0)
        save(list);
}

void fillMenu(QMenu* menu, QAction* before)
{
    for (QAction* a : menu->actions())
        if (a->objectName().startsWith(QLatin1String("mnuRecentFile(")))
            delete a;
    const QStringList list = load();
    if (list.isEmpty())
        return;
    auto* separator = new QAction(menu);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("mnuRecentFile(0)"));
    if (!before)
        menu->addAction(separator);
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), menu);
        a->setObjectName(QStringLiteral("mnuRecentFile(%1)").arg(i + 1));
        a->setToolTip(path);
        QObject::connect(a, &QAction::triggered, menu, [path] {
            // A file that cannot be read any more leaves the list once the message was shown.
            QString p = path;
            if (DocumentFiles::LoadDocument(p, DocumentFiles::DocumentFileType(p)))
                add(path);
            else
                remove(path);
        });
        menu->insertAction(before, a);
    }
    if (before)
        menu->insertAction(before, separator);
}

} // namespace RecentFiles
