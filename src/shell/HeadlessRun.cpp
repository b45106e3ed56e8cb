#include "HeadlessRun.h"

#include "addresses/AddressDatabase.h"
#include "addresses/LocateAddressDatabase.h"
#include "app/AppState.h"
#include "app/Folders.h"
#include "app/ScriptedPrompter.h"
#include "textblocks/TextBlockFile.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace HeadlessRun {

void print(bool toStderr, const QString& text)
{
    FILE* stream = toStderr ? stderr : stdout;
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

std::unique_ptr<QGuiApplication> application(bool widgets)
{
    // Text layout needs a GUI application; without a display it runs offscreen.
    if (QGuiApplication::instance())
        return {};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qx-text";
    static char* argv[] = {name, nullptr};
    if (widgets)
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QGuiApplication>(argc, argv);
}

ScriptedPrompter* quietPrompter()
{
    auto prompts = std::make_unique<ScriptedPrompter>();
    ScriptedPrompter* p = prompts.get();
    setPrompter(std::move(prompts));
    return p;
}

bool prepareDatabase(const QString& database, const ScriptedPrompter& asked, QString* error)
{
    AppState& app = appState();
    const QString programFolder = Folders::programFolder();
    const bool removable = Folders::isOnRemovableDevice(programFolder);
    Folders::prepare(app, programFolder, removable, Folders::homeFolder());
    if (!database.isEmpty()) {
        if (!AddressDatabase::isServerAddress(database) && !QFileInfo(database).isFile()) {
            *error = QStringLiteral("Die Adressdatenbank \"%1\" wurde nicht gefunden.").arg(database);
            return false;
        }
        app.AddressDbPath = database;
        return true;
    }
    if (LocateAddressDatabase(app, removable, QString()))
        return true;
    QStringList texts;
    for (const auto& q : std::as_const(asked.asked))
        texts << q.text;
    *error = texts.isEmpty() ? QStringLiteral("Es wurde keine Adressdatenbank gefunden.") : texts.join(QLatin1Char('\n'));
    return false;
}

QString databaseArgument(const QString& value)
{
    return AddressDatabase::isServerAddress(value) ? value : QFileInfo(value).absoluteFilePath();
}

QString readBlockNumber(const QString& value, int* block)
{
    bool ok = false;
    *block = value.toInt(&ok);
    if (!ok || *block < 0 || *block > TextBlockFile::Count)
        return QStringLiteral("Der Textbaustein muss eine Zahl von 0 bis 10 sein: ") + value;
    return {};
}

} // namespace HeadlessRun
