#include "AddressServerCommand.h"

#include "HeadlessRun.h"
#include "addresses/AddressDatabase.h"
#include "addresses/AddressServer.h"
#include "addresses/ServerAddress.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

int fail(const QString& message, int code = 1)
{
    HeadlessRun::print(true, message + QLatin1Char('\n'));
    return code;
}

// The password typed on the terminal, not shown; none when there is no terminal.
std::optional<QString> askOnTerminal(const QString&, const QString& prompt)
{
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    HeadlessRun::print(true, prompt + QLatin1Char(' '));
    termios old{};
    tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    char line[1024];
    const bool got = std::fgets(line, sizeof line, stdin) != nullptr;
    tcsetattr(STDIN_FILENO, TCSANOW, &old);
    HeadlessRun::print(true, QStringLiteral("\n"));
    if (!got)
        return std::nullopt;
    return QString::fromLocal8Bit(line).chopped(QByteArray(line).endsWith('\n') ? 1 : 0);
}

QString storeArgument(const QString& v)
{
    return AddressDatabase::isServerAddress(v) ? v : QFileInfo(v).absoluteFilePath();
}

} // namespace

namespace AddressServerCommand {

bool wanted(const QStringList& args)
{
    return args.contains(QStringLiteral("--create-address-server")) || args.contains(QStringLiteral("--copy-addresses"));
}

QString usageLines()
{
    return QStringLiteral("        qx-text --create-address-server postgresql://SERVER[:PORT]/DATENBANK[?user=NAME]\n"
                          "        qx-text --copy-addresses VON NACH   (Adressdatei oder Server-Adresse)\n");
}

} // namespace AddressServerCommand

int runAddressServerCommand(const QStringList& args)
{
    const bool create = args.value(0) == u"--create-address-server";
    if (create ? args.size() != 2 : (args.value(0) != u"--copy-addresses" || args.size() != 3))
        return fail(QStringLiteral("Falsche Angaben.\n") + AddressServerCommand::usageLines(), 2);
    const auto application = HeadlessRun::application(false);
    ServerPasswords::setAsker(askOnTerminal);
    QString report;
    QString error;
    if (create) {
        if (!AddressDatabase::isServerAddress(args[1]))
            return fail(QStringLiteral("--create-address-server erwartet eine Server-Adresse wie "
                                       "postgresql://server/adressen, keine Datei: ") + args[1], 2);
        error = AddressServer::create(args[1], &report);
    } else {
        error = AddressServer::copy(storeArgument(args[1]), storeArgument(args[2]), &report);
    }
    if (!error.isEmpty())
        return fail(error);
    HeadlessRun::print(false, report + QLatin1Char('\n'));
    return 0;
}
