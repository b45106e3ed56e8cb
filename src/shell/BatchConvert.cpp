#include "BatchConvert.h"

#include "HeadlessRun.h"

#include "StartCommand.h"

#include "app/Folders.h"
#include "app/SafeSave.h"
#include "engine/Document.h"
#include "engine/pages/PdfExport.h"
#include "engine/formats/Formats.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>

#include <memory>

namespace {

const QStringList kTargets{QStringLiteral("txm"),  QStringLiteral("ttx"), QStringLiteral("rtf"), QStringLiteral("doc"),
                           QStringLiteral("docx"), QStringLiteral("odt"),
                           QStringLiteral("html"), QStringLiteral("xml"), QStringLiteral("txt"), QStringLiteral("pdf")};

int usage(const QString& problem)
{
    HeadlessRun::print(true, problem + QLatin1Char('\n') + StartCommand::usage());
    return 2;
}

// Reads `input` into `doc` and names its output; false with `error` set when the file
// cannot be read or would be overwritten by its own result.
bool readInput(const QString& input, const QString& ext, const QString& outDir, Document* doc, QString* output,
               QString* error, QString* note)
{
    const QFileInfo info(input);
    const QString dir = outDir.isEmpty() ? info.absolutePath() : outDir;
    *output = QDir(dir).filePath(info.completeBaseName() + QLatin1Char('.') + ext);
    // Nothing shows the body: a null page size keeps Qt from laying it out (its layout
    // of a continuous text slows to a crawl past 2^23 pixels, some 7,400 pages), and
    // only the printed copy is laid out.
    doc->body()->setPageSize(QSizeF(0, 0));
    // The input is read first, so that a missing or unreadable file is reported as such.
    const int inFormat = Formats::typeOfPath(input);
    if (!Formats::readFile(inFormat, input, inFormat == 3 ? Formats::PageHeaderSize : 0, *doc, nullptr, error, note))
        return false;
    if (QFileInfo(*output) == info) {
        *error = QStringLiteral("Das Ergebnis hätte denselben Namen wie die Quelldatei und würde sie "
                                "überschreiben; die Datei wird nicht umgewandelt. Bitte mit --outdir "
                                "einen anderen Ordner angeben.");
        return false;
    }
    return true;
}

bool convertOne(const QString& input, const QString& ext, const QString& outDir, QString* output, QString* error,
                QString* note)
{
    Document doc;
    if (!readInput(input, ext, outDir, &doc, output, error, note))
        return false;
    const int outFormat = Formats::typeOfPath(*output);
    const QByteArray header = outFormat == 3 ? Formats::pageHeader(doc.page()) : QByteArray();
    return Formats::writeFile(outFormat, doc, nullptr, *output, header, WriteOptions(), error);
}

// What the run reports for each input, in the order given.
class Report {
public:
    void written(const QString& input, const QString& output, const QString& note)
    {
        HeadlessRun::print(false, input + QStringLiteral(" -> ") + output + QLatin1Char('\n'));
        if (!note.isEmpty())
            HeadlessRun::print(true, QStringLiteral("Hinweis zu \"%1\": %2\n").arg(input, note));
        m_inputOf.insert(output, input);
    }
    void failed(const QString& input, const QString& error)
    {
        HeadlessRun::print(true, QStringLiteral("Fehler bei \"%1\": %2\n").arg(input, error));
        ++m_failures;
    }
    // A written file that could not be put in place at the end of the run.
    void notPlaced(const QString& output, const QString& error) { failed(m_inputOf.value(output, output), error); }
    int failures() const { return m_failures; }

private:
    QHash<QString, QString> m_inputOf;
    int m_failures = 0;
};

// PDF files are painted in groups through one writer (fonts embedded once per
// group) and cut apart; a group is written as soon as it is full.
void convertToPdf(const QStringList& inputs, const QString& outDir, Report* report)
{
    struct Item {
        QString input, output, note;
    };
    auto files = std::make_unique<PdfExport::Files>();
    QList<Item> items;
    const auto writeGroup = [&] {
        QList<QByteArray> parts;
        QString error;
        if (files->finish(&parts, &error)) {
            for (int i = 0; i < items.size(); ++i) {
                if (SafeSave::saveFile(items[i].output, parts[i], &error))
                    report->written(items[i].input, items[i].output, items[i].note);
                else
                    report->failed(items[i].input, error);
            }
        } else {
            // Not expected; each file on its own as before, read once more.
            for (const Item& item : std::as_const(items)) {
                QString output, note;
                if (convertOne(item.input, QStringLiteral("pdf"), outDir, &output, &error, &note))
                    report->written(item.input, output, note);
                else
                    report->failed(item.input, error);
            }
        }
        files = std::make_unique<PdfExport::Files>();
        items.clear();
    };
    for (const QString& input : inputs) {
        Item item{input, {}, {}};
        QString error;
        Document doc;
        if (!readInput(input, QStringLiteral("pdf"), outDir, &doc, &item.output, &error, &item.note)) {
            // Reported in order: what was read before it is written first.
            writeGroup();
            report->failed(input, error);
            continue;
        }
        // The document is not needed afterwards: its body becomes the printed copy.
        if (!files->addCopy(doc, &error)) {
            writeGroup();
            report->failed(input, error);
            continue;
        }
        items.append(item);
        if (files->full())
            writeGroup();
    }
    writeGroup();
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

    // Every file goes to disk in one sync at the end; until then a file is not there.
    SafeSave::Batch batch;
    Report report;
    if (ext == u"pdf") {
        convertToPdf(inputs, outDir, &report);
    } else {
        for (const QString& input : std::as_const(inputs)) {
            QString output, error, note;
            if (convertOne(input, ext, outDir, &output, &error, &note))
                report.written(input, output, note);
            else
                report.failed(input, error);
        }
    }
    for (const auto& [output, error] : batch.commit())
        report.notPlaced(output, error);
    return report.failures() ? 1 : 0;
}
