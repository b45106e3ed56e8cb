#include "BatchConvert.h"

#include "HeadlessRun.h"

#include "StartCommand.h"

#include "app/Folders.h"
#include "app/SafeSave.h"
#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const QStringList kTargets{QStringLiteral("txm"),  QStringLiteral("ttx"), QStringLiteral("rtf"), QStringLiteral("doc"),
                           QStringLiteral("docx"), QStringLiteral("odt"),
                           QStringLiteral("html"), QStringLiteral("xml"), QStringLiteral("txt"), QStringLiteral("pdf")};

int usage(const QString& problem)
{
    HeadlessRun::print(true, problem + QLatin1Char('\n') + StartCommand::usage());
    return 2;
}

bool convertOne(const QString& input, const QString& ext, const QString& outDir, QString* output, QString* error,
                QString* note)
{
    const QFileInfo info(input);
    const QString dir = outDir.isEmpty() ? info.absolutePath() : outDir;
    *output = QDir(dir).filePath(info.completeBaseName() + QLatin1Char('.') + ext);
    // The input is read first, so that a missing or unreadable file is reported as such.
    const int inFormat = Formats::typeOfPath(input);
    Document doc;
    if (!Formats::readFile(inFormat, input, inFormat == 3 ? Formats::PageHeaderSize : 0, doc, nullptr, error, note))
        return false;
    if (QFileInfo(*output) == info) {
        *error = QStringLiteral("Das Ergebnis hätte denselben Namen wie die Quelldatei und würde sie "
                                "überschreiben; die Datei wird nicht umgewandelt. Bitte mit --outdir "
                                "einen anderen Ordner angeben.");
        return false;
    }
    const int outFormat = Formats::typeOfPath(*output);
    const QByteArray header = outFormat == 3 ? Formats::pageHeader(doc.page()) : QByteArray();
    return Formats::writeFile(outFormat, doc, nullptr, *output, header, WriteOptions(), error);
}

} // namespace

namespace BatchConvert {

bool isTarget(const QString& ext)
{
    return kTargets.contains(ext);
}

QString targetList()
{
    return kTargets.join(QStringLiteral(", "));
}

} // namespace BatchConvert

int runBatchConvert(const QStringList& args)
{
    QString ext;
    QString outDir;
    QStringList inputs;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--convert-to") {
            if (++i >= args.size())
                return usage(QStringLiteral("Das Zielformat fehlt."));
            ext = args[i].toLower();
        } else if (a == u"--outdir") {
            if (++i >= args.size())
                return usage(QStringLiteral("Der Ausgabeordner fehlt."));
            outDir = args[i];
        } else if (a.startsWith(u"--")) {
            return usage(QStringLiteral("Unbekannte Option: ") + a);
        } else {
            inputs << a;
        }
    }
    if (ext.isEmpty())
        return usage(QStringLiteral("Das Zielformat fehlt."));
    if (!BatchConvert::isTarget(ext))
        return usage(QStringLiteral("Unbekanntes Zielformat: ") + ext);
    if (inputs.isEmpty())
        return usage(QStringLiteral("Es wurde keine Datei angegeben."));
    // Like office suites, a missing output folder is made.
    if (!outDir.isEmpty() && !QDir().mkpath(outDir))
        return usage(QStringLiteral("Der Ausgabeordner kann nicht angelegt werden: ") + outDir);

    const auto app = HeadlessRun::application(false);
    // As in the window: a write in place keeps a copy and a journal in the work folder,
    // and says where the copy is.
    const QString work = Folders::withSlash(Folders::homeFolder()) + QStringLiteral("QX-Kontorix/");
    if (QDir().mkpath(work)) {
        SafeSave::setJournalFile(QDir(work).filePath(QStringLiteral(".speichern-offen-umwandlung")));
        SafeSave::cleanUpInterruptedSaves();
    }
    SafeSave::setDirectWriteNotice([](const QString& target, const QString& backup) {
        HeadlessRun::print(true, QStringLiteral("Hinweis: Der Ordner erlaubt keine neue Datei, \"%1\" wird direkt "
                                                "überschrieben. Bis das fertig ist, liegt eine Kopie der bisherigen "
                                                "Fassung unter \"%2\".\n")
                                     .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(backup)));
    });

    int failures = 0;
    for (const QString& input : std::as_const(inputs)) {
        QString output, error, note;
        if (convertOne(input, ext, outDir, &output, &error, &note)) {
            HeadlessRun::print(false, input + QStringLiteral(" -> ") + output + QLatin1Char('\n'));
            if (!note.isEmpty())
                HeadlessRun::print(true, QStringLiteral("Hinweis zu \"%1\": %2\n").arg(input, note));
        } else {
            HeadlessRun::print(true, QStringLiteral("Fehler bei \"%1\": %2\n").arg(input, error));
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
