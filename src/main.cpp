#include "app/GermanUi.h"
#include "shell/CrashRecovery.h"
#include "shell/HeadlessRun.h"
#include "shell/ScriptedStart.h"
#include "shell/StartCommand.h"
#include "shell/frmMDIParent.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt aborts when the window system cannot be reached; say so in German and end
// normally instead.
void platformFailure(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        HeadlessRun::print(true, StartCommand::noDisplayMessage());
        std::_Exit(1);
    }
    if (qtHandler)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    // Batch conversion, letters, --help and bad options need no display: they run before any
    // window system is touched.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (const int code = StartCommand::runWithoutWindows(args); code >= 0)
        return code;
    if (!StartCommand::displayAvailable()) {
        HeadlessRun::print(true, StartCommand::noDisplayMessage());
        return 1;
    }

    qtHandler = qInstallMessageHandler(platformFailure);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtHandler);
    QApplication::setApplicationName(QStringLiteral("Textverarbeitung"));

    GermanUi::install();
    // The command line is one document path; a path with blanks may arrive split.
    const QString commandLine = QApplication::arguments().mid(1).join(QLatin1Char(' '));

    ScriptedStart::install();
    CrashRecovery::catchTerminationSignal();
    frmMDIParent frame(commandLine);
    if (frame.startAborted())
        return 1;
    frame.show();
    return app.exec();
}
