#include "LetterCommand.h"

#include "BatchConvert.h"
#include "HeadlessRun.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/ScriptedPrompter.h"
#include "engine/Document.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/Formats.h"
#include "letters/AddressPlacement.h"
#include "letters/ComposerOptions.h"
#include "letters/LetterAssembly.h"
#include "letters/LetterInput.h"
#include "textblocks/TextBlockFile.h"

#include <QDir>
#include <QGuiApplication>
#include <QFileInfo>

namespace {

struct Arguments {
    QList<qint64> numbers;
    int block = 0;
    QString database;
    QString ext;
    QString outDir;
};

int usage(const QString& problem)
{
    HeadlessRun::print(true, problem +
                                  QStringLiteral("\nAufruf: qx-text --letter NR[,NR...] [--block N] [--database DATEI] "
                                                 "--convert-to FORMAT [--outdir ORDNER]\nFORMAT ist eines von: ") +
                                  BatchConvert::targetList() + QLatin1Char('\n'));
    return 2;
}

int fail(const QString& message)
{
    HeadlessRun::print(true, message + QLatin1Char('\n'));
    return 1;
}

// Empty when the arguments are fine, else the problem.
QString parse(const QStringList& args, Arguments* a)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        const bool known =
            o == u"--letter" || o == u"--block" || o == u"--database" || o == u"--convert-to" || o == u"--outdir";
        if (!known)
            return QStringLiteral("Unbekannte Angabe: ") + o;
        if (++i >= args.size())
            return QStringLiteral("Nach %1 fehlt ein Wert.").arg(o);
        const QString& v = args[i];
        if (o == u"--letter") {
            for (const QString& part : v.split(QLatin1Char(','))) {
                bool ok = false;
                const qint64 n = part.trimmed().toLongLong(&ok);
                if (!ok || n <= 0)
                    return QStringLiteral("Keine gültige Adressnummer: ") + part;
                a->numbers << n;
            }
        } else if (o == u"--block") {
            if (QString error = HeadlessRun::readBlockNumber(v, &a->block); !error.isEmpty())
                return error;
        } else if (o == u"--database") {
            a->database = HeadlessRun::databaseArgument(v);
        } else if (o == u"--convert-to") {
            a->ext = v.toLower();
        } else {
            a->outDir = QFileInfo(v).absoluteFilePath();
        }
    }
    if (a->numbers.isEmpty())
        return QStringLiteral("Es wurde keine Adressnummer angegeben.");
    if (a->ext.isEmpty())
        return QStringLiteral("Das Zielformat fehlt.");
    if (!BatchConvert::isTarget(a->ext))
        return QStringLiteral("Unbekanntes Zielformat: ") + a->ext;
    return {};
}

} // namespace

namespace LetterCommand {

bool build(const ComposerInput& in, AppState& app, TextControl& s, const QDate& today)
{
    app.LetterCancelled = false;
    LetterInput::fill(in, app);
    // The composer's "Eigene Vorlage benutzen" starts unticked; the letter gets the
    // written letterhead, as on a new document window.
    s.setPageWidth(11906);
    s.setPageHeight(16837);
    return LetterAssembly::buildLetter(s, app, today);
}

} // namespace LetterCommand

int runLetterCommand(const QStringList& args)
{
    Arguments a;
    const QString problem = parse(args, &a);
    if (!problem.isEmpty())
        return usage(problem);
    if (a.outDir.isEmpty())
        a.outDir = QDir::currentPath();

    const auto application = HeadlessRun::application(true);
    const ScriptedPrompter* asked = HeadlessRun::quietPrompter();
    AppState& app = appState();
    QString error;
    if (!HeadlessRun::prepareDatabase(a.database, *asked, &error))
        return fail(error);
    // As in the composer, a block that is missing or cannot be read leaves the letters
    // without a body; the composer's message says so once.
    if (a.block > 0 && !TextBlockFile::read(app.WorkFolder, a.block))
        HeadlessRun::print(true, QStringLiteral("Der Textbaustein %1 existiert nicht! Sie müssen ihn erst anlegen. "
                                                "Die Briefe werden ohne Textbaustein geschrieben.\n")
                                     .arg(a.block));

    ComposerInput base;
    if (!ComposerOptions::load(app.AddressDbPath, app.WorkFolder, &base, &error))
        return fail(error);
    base.BlockNumber = a.block;

    RecordSource addresses;
    if (!addresses.open(app.AddressDbPath, Queries::addressTable()))
        return fail(addresses.lastError());
    // Every number is checked before any letter is written.
    QList<int> rows;
    for (qint64 n : std::as_const(a.numbers)) {
        if (!addresses.findFirst(Queries::recordNumber(n)))
            return fail(QStringLiteral("Die Adresse Nr. %1 existiert nicht in \"%2\".").arg(n).arg(app.AddressDbPath));
        rows << addresses.absolutePosition();
    }
    if (!QDir().mkpath(a.outDir))
        return fail(QStringLiteral("Der Ausgabeordner \"%1\" kann nicht angelegt werden.").arg(a.outDir));

    const QDate today = QDate::currentDate();
    int failures = 0;
    bool warned = false;
    for (int i = 0; i < rows.size(); ++i) {
        addresses.setAbsolutePosition(rows[i]);
        ComposerInput in = base;
        ComposerOptions::setRecipient(in, addresses);
        TextControl s;
        if (!LetterCommand::build(in, app, s, today) && !warned) {
            warned = true; // the letterhead is the same in every letter
            HeadlessRun::print(true, AddressPlacement::letterheadTooLongText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
                                         QLatin1Char('\n'));
        }

        const QString out = QDir(a.outDir).filePath(QStringLiteral("Brief_%1.%2").arg(a.numbers[i]).arg(a.ext));
        const int format = Formats::typeOfPath(out);
        const QByteArray header = format == 3 ? Formats::pageHeader(s.doc()->page()) : QByteArray();
        if (Formats::writeFile(format, *s.doc(), nullptr, out, header, WriteOptions(), &error)) {
            HeadlessRun::print(false, QStringLiteral("Adresse %1 -> %2\n").arg(a.numbers[i]).arg(out));
        } else {
            HeadlessRun::print(true, QStringLiteral("Fehler bei \"%1\": %2\n").arg(out, error));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
