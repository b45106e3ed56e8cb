#include "SerialCommand.h"

#include "BatchConvert.h"
#include "HeadlessRun.h"

#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "app/SafeSave.h"
#include "app/ScriptedPrompter.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PaintThread.h"
#include "engine/pages/PrintCopy.h"
#include "engine/pages/PdfExport.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/DocumentTransfer.h"
#include "engine/formats/Formats.h"
#include "letters/ComposerOptions.h"
#include "letters/LetterTemplate.h"
#include "output/SerialLetter.h"
#include "textblocks/TextBlockFile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <cerrno>
#include <optional>
#include <malloc.h>

namespace {

struct Arguments {
    QString database;
    QString group;     // empty: all addresses
    int block = 0;
    QString textFile;
    bool onTemplate = false;
    QString singlePdf;
    QString ext;
    QString outDir;
};

int usage(const QString& problem)
{
    HeadlessRun::print(true, problem + QStringLiteral("\n") + SerialCommand::usageLine() +
                                 QStringLiteral("\nFORMAT ist eines von: ") + BatchConvert::targetList() +
                                 QLatin1Char('\n'));
    return 2;
}

int fail(const QString& message)
{
    HeadlessRun::print(true, message + QLatin1Char('\n'));
    return 1;
}

QString parse(const QStringList& args, Arguments* a)
{
    bool all = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& o = args[i];
        if (o == u"--serial-letters") {
            continue;
        } else if (o == u"--all") {
            all = true;
            continue;
        } else if (o == u"--template") {
            a->onTemplate = true;
            continue;
        }
        const bool withValue = o == u"--database" || o == u"--group" || o == u"--block" || o == u"--text" ||
                               o == u"--single-pdf" || o == u"--convert-to" || o == u"--outdir";
        if (!withValue)
            return QStringLiteral("Unbekannte Angabe: ") + o;
        if (++i >= args.size())
            return QStringLiteral("Nach %1 fehlt ein Wert.").arg(o);
        const QString& v = args[i];
        if (o == u"--database") {
            a->database = HeadlessRun::databaseArgument(v);
        } else if (o == u"--group") {
            if (v.isEmpty())
                return QStringLiteral("Der Gruppenname fehlt.");
            a->group = v;
        } else if (o == u"--block") {
            if (QString error = HeadlessRun::readBlockNumber(v, &a->block); !error.isEmpty())
                return error;
        } else if (o == u"--text") {
            a->textFile = QFileInfo(v).absoluteFilePath();
        } else if (o == u"--single-pdf") {
            a->singlePdf = QFileInfo(v).absoluteFilePath();
        } else if (o == u"--convert-to") {
            a->ext = v.toLower();
        } else {
            a->outDir = QFileInfo(v).absoluteFilePath();
        }
    }
    if (all && !a->group.isEmpty())
        return QStringLiteral("--group und --all schließen sich aus.");
    if (a->singlePdf.isEmpty() == a->ext.isEmpty())
        return QStringLiteral("Geben Sie entweder --single-pdf DATEI oder --convert-to FORMAT an.");
    if (!a->ext.isEmpty() && !BatchConvert::isTarget(a->ext))
        return QStringLiteral("Unbekanntes Zielformat: ") + a->ext;
    if (!a->singlePdf.isEmpty() && !a->outDir.isEmpty())
        return QStringLiteral("--outdir gehört zu --convert-to, nicht zu --single-pdf.");
    if (a->textFile.isEmpty() && a->block == 0)
        return QStringLiteral("Es ist kein gemeinsamer Text vorhanden. Geben Sie mit --text eine Datei an "
                              "oder wählen Sie mit --block einen Textbaustein aus.");
    return {};
}

// Text that names no font of its own takes the letter text font, as it does when typed
// into the mail-merge window's editor; fonts the file sets stay.
void giveLetterFont(QTextDocument* d, const QString& family, double points)
{
    const auto missing = [&](const QTextCharFormat& f) {
        QTextCharFormat add;
        if (!f.hasProperty(QTextFormat::FontFamilies) && !f.hasProperty(QTextFormat::FontFamily))
            add.setFontFamilies({family});
        if (points > 0 && !f.hasProperty(QTextFormat::FontPointSize) && !f.hasProperty(QTextFormat::FontPixelSize))
            add.setFontPointSize(points);
        return add;
    };
    struct Run {
        int from, to;
        QTextCharFormat add;
    };
    QList<Run> runs;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        // An empty paragraph takes its height from the paragraph's own format.
        if (const QTextCharFormat add = missing(b.charFormat()); !add.isEmpty())
            QTextCursor(b).mergeBlockCharFormat(add);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (const QTextCharFormat add = missing(f.charFormat()); !add.isEmpty())
                runs.append({f.position(), f.position() + f.length(), add});
        }
    }
    QTextCursor c(d);
    for (const Run& r : std::as_const(runs)) {
        c.setPosition(r.from);
        c.setPosition(r.to, QTextCursor::KeepAnchor);
        c.mergeCharFormat(r.add);
    }
}

bool readCommonText(const QString& path, const ComposerInput& letter, SerialLetter::CommonText* text,
                    QString* error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("Die Textdatei \"%1\" wurde nicht gefunden.").arg(path);
        return false;
    }
    const int format = Formats::typeOfPath(path);
    Document doc;
    QString why;
    if (!Formats::readFile(format, path, format == 3 ? Formats::PageHeaderSize : 0, doc, nullptr, &why)) {
        *error = QStringLiteral("Die Textdatei \"%1\" kann nicht gelesen werden: %2").arg(path, why);
        return false;
    }
    giveLetterFont(doc.body(), letter.TextFont, LetterInput::numericText(letter.TextSize).toDouble());
    *text = SerialLetter::CommonText::fromFragment(QTextDocumentFragment(doc.body()));
    return true;
}

// The letterhead template, read once; every letter starts from a copy of it.
bool readTemplate(const QString& path, Document* letterhead, QString* error)
{
    if (Formats::readFile(3, path, Formats::PageHeaderSize, *letterhead, nullptr, error))
        return true;
    *error = QStringLiteral("Die Vorlage \"%1\" kann nicht gelesen werden: %2").arg(path, *error);
    return false;
}

// Where the letters go: one PDF, or a file each. PDF pages are painted on a thread
// of their own from a copy of each letter, while the next letter is written.
class Output {
public:
    explicit Output(const Arguments& a) : m_a(a) {}

    bool open(QString* error)
    {
        m_cpuAtStart = PaintThread::callerCpuSeconds();
        if (m_a.singlePdf.isEmpty()) {
            if (m_a.ext == u"pdf")
                m_files = std::make_unique<PdfExport::Files>();
            if (QDir().mkpath(m_a.outDir))
                return true;
            *error = QStringLiteral("Der Ausgabeordner \"%1\" kann nicht angelegt werden.").arg(m_a.outDir);
            return false;
        }
        // Written beside the target and put in its place only when complete.
        m_file.setFileName(m_a.singlePdf);
        errno = 0;
        if (!m_file.open(QIODevice::WriteOnly)) {
            // The cause in German, not Qt's English text.
            *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                         .arg(m_a.singlePdf, SafeSave::reasonText(errno ? errno : EACCES));
            return false;
        }
        m_pdf = std::make_unique<PdfExport::Stream>(&m_file);
        return true;
    }

    bool add(TextControl& s, int number, const QString& lastName, QString* error)
    {
        const QString failed = QStringLiteral("Fehler beim Schreiben von Brief %1: ").arg(number);
        const QString out = QDir(m_a.outDir).filePath(SerialCommand::fileName(number, lastName, m_a.ext));
        if (!m_pdf && !m_files) {
            const Document& doc = *s.doc();
            const int format = Formats::typeOfPath(out);
            const QByteArray header = format == 3 ? Formats::pageHeader(doc.page()) : QByteArray();
            if (Formats::writeFile(format, doc, nullptr, out, header, WriteOptions(), error))
                return true;
            *error = failed + QStringLiteral("\"%1\": %2").arg(out, *error);
            return false;
        }
        std::shared_ptr<Document> copy = s.doc()->paintingCopy();
        // Readied here, painted there. The layout goes to the thread that has used less of
        // its core so far, here only while letters wait to be painted (the painting thread
        // is not kept idle for it).
        PrintCopy::prepare(*copy);
        if (m_painter.waiting() > 0 && PaintThread::callerCpuSeconds() - m_cpuAtStart < m_painter.cpuSeconds())
            PrintCopy::layOut(*copy);
        copy->moveToThread(m_painter.thread());
        return m_painter.post(
            [this, copy, out, failed](QString* e) {
                const bool ok = m_pdf ? m_pdf->addCopy(*copy, e) && m_file.error() == QFileDevice::NoError
                                      : addToGroup(*copy, out, e);
                if (!ok)
                    *e = failed + *e;
                return ok;
            },
            error);
    }

    bool close(QString* error)
    {
        if (m_files)
            return m_painter.post([this](QString* e) { return writeGroup(e); }, error) && m_painter.wait(error);
        if (!m_pdf)
            return true;
        // The writer ends on the thread that painted into it.
        if (!m_painter.post([this](QString* e) { return m_pdf->finish(e); }, error) || !m_painter.wait(error))
            return false;
        errno = 0;
        if (m_file.commit())
            return true;
        *error = QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                     .arg(m_a.singlePdf, SafeSave::reasonText(errno ? errno : EIO));
        return false;
    }

private:
    // On the painting thread: one letter's own PDF, painted in a group with others
    // (fonts embedded once a group) and written when the group is full.
    bool addToGroup(Document& copy, const QString& out, QString* error)
    {
        if (!m_files->addCopy(copy, error))
            return false;
        m_outputs.append(out);
        return !m_files->full() || writeGroup(error);
    }

    bool writeGroup(QString* error)
    {
        QList<QByteArray> parts;
        if (!m_files->finish(&parts, error))
            return false;
        for (int i = 0; i < parts.size(); ++i)
            if (!SafeSave::saveFile(m_outputs[i], parts[i], error)) {
                *error = QStringLiteral("\"%1\": %2").arg(m_outputs[i], *error);
                return false;
            }
        m_files = std::make_unique<PdfExport::Files>();
        m_outputs.clear();
        return true;
    }

    const Arguments& m_a;
    QSaveFile m_file;
    std::unique_ptr<PdfExport::Stream> m_pdf;
    std::unique_ptr<PdfExport::Files> m_files;
    QStringList m_outputs;
    double m_cpuAtStart = 0; // what start-up cost this thread before the first letter
    // Last, so that it is gone (its jobs done) before what they use.
    PaintThread m_painter;
};

bool progressEvery(int i, int total)
{
    const int step = total <= 200 ? 1 : 100;
    return i % step == 0 || i == total;
}

} // namespace

namespace SerialCommand {

QString usageLine()
{
    return QStringLiteral("Aufruf: qx-text --serial-letters [--database DATEI] [--group NAME | --all] [--block N] "
                          "[--text DATEI] [--template] (--single-pdf DATEI | --convert-to FORMAT [--outdir ORDNER])");
}

QString fileName(int number, const QString& lastName, const QString& ext)
{
    static const QRegularExpression refused(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    QString name = lastName.trimmed();
    name.replace(refused, QStringLiteral("_"));
    QString base = QStringLiteral("Serienbrief_%1").arg(number, 4, 10, QLatin1Char('0'));
    if (!name.isEmpty())
        base += QLatin1Char('_') + name.left(100);
    return base + QLatin1Char('.') + ext;
}

} // namespace SerialCommand

int runSerialCommand(const QStringList& args)
{
    Arguments a;
    const QString problem = parse(args, &a);
    if (!problem.isEmpty())
        return usage(problem);
    if (a.singlePdf.isEmpty() && a.outDir.isEmpty())
        a.outDir = QDir::currentPath();

    const auto application = HeadlessRun::application(true);
    const ScriptedPrompter* asked = HeadlessRun::quietPrompter();
    AppState& app = appState();
    QString error;
    if (!HeadlessRun::prepareDatabase(a.database, *asked, &error))
        return fail(error);
    if (a.block > 0 && !TextBlockFile::read(app.WorkFolder, a.block))
        return fail(SerialLetter::missingBlockMessage(a.block));
    ComposerInput base;
    if (!ComposerOptions::load(app.AddressDbPath, app.WorkFolder, &base, &error))
        return fail(error);
    base.BlockNumber = a.block;
    SerialLetter::CommonText text;
    if (!a.textFile.isEmpty() && !readCommonText(a.textFile, base, &text, &error))
        return fail(error);
    if (a.onTemplate && !LetterTemplate::existsAnywhere(app))
        return fail(LetterTemplate::missingText(app));
    Document letterhead;
    if (a.onTemplate && !readTemplate(LetterTemplate::path(app), &letterhead, &error))
        return fail(error);

    RecordSource addresses;
    if (!addresses.open(app.AddressDbPath, a.group.isEmpty() ? Queries::nameOrder() : Queries::group(a.group)))
        return fail(addresses.lastError());
    const int total = addresses.recordCount();
    if (total == 0)
        return fail(a.group.isEmpty()
                        ? QStringLiteral("Die Adressdatenbank enthält keine Adressen.")
                        : QStringLiteral("Die Gruppe \"%1\" enthält keine Adressen.").arg(a.group));

    // Files of their own are put in place together at the end, with one sync.
    std::optional<SafeSave::Batch> batch;
    if (a.singlePdf.isEmpty())
        batch.emplace();
    Output output(a);
    if (!output.open(&error))
        return fail(error);
    // Every PDF page makes and frees a few large buffers (its content stream, the
    // compressor's state). Left to the defaults, the heap is given back to the system
    // after each page and taken again for the next, which cost more than the painting.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);

    SerialLetter::Options options;
    TextControl s;
    // The surface is written by the program only: no undo history to keep.
    s.doc()->body()->setUndoRedoEnabled(false);
    s.setPageWidth(11906);
    s.setPageHeight(16837);
    // Letters are written in the layout view, the page-wide view the composer uses.
    s.setViewMode(1);
    for (int i = 0; i < total; ++i) {
        addresses.setAbsolutePosition(i);
        ComposerInput in = base;
        ComposerOptions::setRecipient(in, addresses);
        if (a.onTemplate) {
            DocumentTransfer::replace(*s.doc(), letterhead);
            s.doc()->applyPage();
            // The surface is never shown: only the letter's printed copy is laid out.
            Paginator::holdLayout(s.doc()->body());
            SerialLetter::writeOnTemplate(s, app, in, text, options);
        } else {
            Paginator::holdLayout(s.doc()->body());
            // The letter empties the surface itself.
            SerialLetter::write(s, app, in, text, options);
        }
        if (!output.add(s, i + 1, in.LastName, &error))
            return fail(error);
        // No event loop runs here: the surface's posted events (scroll bar ranges,
        // update requests) would pile up letter by letter.
        QCoreApplication::sendPostedEvents();
        if (progressEvery(i + 1, total))
            HeadlessRun::print(true, QStringLiteral("Brief %1 von %2\n").arg(i + 1).arg(total));
    }
    if (!output.close(&error))
        return fail(error);
    if (batch)
        for (const auto& [path, why] : batch->commit())
            return fail(QStringLiteral("\"%1\": %2").arg(path, why));
    HeadlessRun::print(false, QStringLiteral("%1 Serienbriefe -> %2\n")
                                  .arg(total)
                                  .arg(a.singlePdf.isEmpty() ? a.outDir : a.singlePdf));
    return 0;
}
