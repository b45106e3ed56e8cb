#include "SerialChecks.h"

#include "app/Prompter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace SerialChecks {

namespace {

// The system tick counter in milliseconds.
qint64 tickMs()
{
    QElapsedTimer t;
    t.start();
    return t.msecsSinceReference();
}

const QString CR = QStringLiteral("\r");

} // namespace

bool readyToRun(QWidget* owner, bool nothingChosen, bool noCommonText)
{
    if (nothingChosen) {
        prompter().message(
            owner, QString(),
            QStringLiteral("Es sind keine Adressen ausgewählt.   Sie müssen erst Adressen auswählen.") + CR +
                QStringLiteral("Markieren Sie dafür eine Adresse in der linken Liste und drücken Sie anschließend "
                               "den Pfeil nach links.") +
                CR +
                QStringLiteral("Wiederholen Sie den Vorgang solange, bis Sie alle gewünschten Namen in der rechten "
                               "Liste haben.") +
                CR);
        return false;
    }
    if (noCommonText) {
        prompter().message(owner, QString(),
                           QStringLiteral("Es ist kein gemeinsamer Text vorhanden.") + CR +
                               QStringLiteral("Legen Sie erst über die Schaltfläche   'Text für Serienbriefe "
                                              "erstellen' einen Text an.") +
                               CR + QStringLiteral("Oder wählen Sie einen Textbaustein aus."));
        return false;
    }
    return true;
}

bool waitSeconds(int seconds, const std::function<bool()>& stopRequested)
{
    const qint64 target = qRound64(double(tickMs()) / 1000.0 + seconds);
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop, target, &stopRequested] {
        if (double(tickMs()) / 1000.0 >= double(target) || stopRequested())
            loop.quit();
    });
    poll.start(20);
    if (double(tickMs()) / 1000.0 < double(target))
        loop.exec();
    return !stopRequested();
}

} // namespace SerialChecks
