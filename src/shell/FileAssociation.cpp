#include "FileAssociation.h"

#include "app/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace FileAssociation {

namespace {

bool writeText(const QString& path, const QString& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return SafeSave::saveFile(path, text.toUtf8(), nullptr);
}

QString envFolder(const char* variable, const QString& fallbackUnderHome)
{
    const QString v = qEnvironmentVariable(variable);
    return v.isEmpty() ? QDir::homePath() + QLatin1Char('/') + fallbackUnderHome : v;
}

// Sets `key` in the [Default Applications] group of a mimeapps.list text.
QString withDefault(const QString& list, const QString& key, const QString& value)
{
    const QString group = QStringLiteral("[Default Applications]");
    QStringList lines = list.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const QString entry = key + QLatin1Char('=') + value;
    int groupAt = int(lines.indexOf(group));
    if (groupAt < 0) {
        lines << group << entry;
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    int i = groupAt + 1;
    for (; i < lines.size() && !lines[i].startsWith(QLatin1Char('[')); ++i) {
        if (lines[i].section(QLatin1Char('='), 0, 0).trimmed() == key) {
            lines[i] = entry;
            return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        }
    }
    lines.insert(i, entry);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

Target userFolders()
{
    return {envFolder("XDG_DATA_HOME", QStringLiteral(".local/share")),
            envFolder("XDG_CONFIG_HOME", QStringLiteral(".config"))};
}

QString mimeTypeFor(const QString& extension)
{
    QString ext = extension;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return QStringLiteral("application/x-qx-text-") + ext.toLower();
}

QString desktopFileFor(const QString& identifier)
{
    QString base = identifier;
    if (base.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        base.chop(4);
    return base.toLower() + QStringLiteral(".desktop");
}

bool RegisterFileType(const QString& extension, const QString& description,
                      const QString& identifier, const QString& command, const Target& target)
{
    const QString mime = mimeTypeFor(extension);
    const QString desktop = desktopFileFor(identifier);
    QString pattern = extension;
    if (!pattern.startsWith(QLatin1Char('.')))
        pattern.prepend(QLatin1Char('.'));

    // 1. The type and its file-name pattern.
    const QString mimeXml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"%1\">\n"
                       "    <comment>%2</comment>\n"
                       "    <glob pattern=\"*%3\"/>\n"
                       "  </mime-type>\n"
                       "</mime-info>\n")
            .arg(mime, description.toHtmlEscaped(), pattern);
    const QString mimeDir = target.dataFolder + QStringLiteral("/mime");
    if (!writeText(mimeDir + QStringLiteral("/packages/") + desktop.chopped(8) +
                       QStringLiteral(".xml"),
                   mimeXml))
        return false;
    // The desktop's cache is refreshed where the tool exists; without it the
    // package file is read on the next login.
    const QString updateMime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!updateMime.isEmpty())
        QProcess::execute(updateMime, {mimeDir});

    // 2. The program entry that opens the type.
    QString exec = command;
    exec.replace(QStringLiteral("%1"), QStringLiteral("%f"));
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Textverarbeitung\n"
                                         "Comment=%1\nExec=%2\nMimeType=%3;\nTerminal=false\n"
                                         "NoDisplay=true\n")
                              .arg(description, exec, mime);
    if (!writeText(target.dataFolder + QStringLiteral("/applications/") + desktop, entry))
        return false;

    // 3. This program as the type's default application.
    const QString listPath = target.configFolder + QStringLiteral("/mimeapps.list");
    QString list;
    QFile old(listPath);
    if (old.open(QIODevice::ReadOnly))
        list = QString::fromUtf8(old.readAll());
    old.close();
    return writeText(listPath, withDefault(list, mime, desktop));
}

} // namespace FileAssociation
