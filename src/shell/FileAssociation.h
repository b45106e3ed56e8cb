#pragma once
// Ties a document extension to this program for the desktop: a shared-mime-info
// type, a .desktop entry and the default-application line, all in the user's own
// data and configuration folders.

#include <QString>

namespace FileAssociation {

struct Target {
    QString dataFolder;   // e.g. ~/.local/share
    QString configFolder; // e.g. ~/.config
};

// The user's folders from the XDG variables (or their defaults under HOME).
Target userFolders();

// extension ".txm", description "Textdokument", identifier "QX-Text.exe", command
// "<program> %1". Each step runs only when the one before succeeded; true when the
// last one (the default application) was written.
bool RegisterFileType(const QString& extension, const QString& description,
                      const QString& identifier, const QString& command,
                      const Target& target = userFolders());

// The MIME type used for `extension` (".txm" gives "application/x-qx-text-txm").
QString mimeTypeFor(const QString& extension);
// The .desktop file name for `identifier` ("QX-Text.exe" gives "qx-text.desktop").
QString desktopFileFor(const QString& identifier);

} // namespace FileAssociation
