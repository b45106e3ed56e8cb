// Another office suite checks our writers for real: LibreOffice turns our DOCX, ODT,
// RTF and .doc of a letter, a table and a list into PDF, and the PDF's text, page count and
// page numbers in the footer are what the documents hold.
#include "PageFields.h"
#include "engine/Document.h"
#include "engine/objects/Fields.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Lists.h"
#include "engine/objects/Tables.h"
#include "engine/formats/Formats.h"

#include <QProcess>
#include <QStandardPaths>
#include "TestCommon.h"

namespace {

void letter(Document& doc)
{
    doc.setHeaderFooterSet(1 | 4);
    QTextCursor(doc.headerFooter(1)).insertText(QStringLiteral("Muster GmbH · Hauptstraße 1 · 12345 Beispielstadt"));
    QTextCursor fc(doc.headerFooter(4));
    insertPageNumbers(doc.headerFooter(4), fc);
    QTextCursor c(doc.body());
    c.insertText(QStringLiteral("Frau Erika Mustermann"));
    c.insertBlock();
    c.insertText(QStringLiteral("Sehr geehrte Frau Mustermann,"));
    c.insertBlock();
    c.insertText(QStringLiteral("vielen Dank für Ihre Anfrage über Größe und Maße."));
    for (const QString& page : {QStringLiteral("Anlage 1: Preisliste"), QStringLiteral("Anlage 2: Bedingungen")}) {
        QTextBlockFormat brk;
        brk.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.insertBlock(brk);
        c.insertText(page);
    }
}

void tableDocument(Document& doc)
{
    QTextCursor c(doc.body());
    c.insertText(QStringLiteral("Preisliste"));
    c.insertBlock();
    QTextTable* t = Tables::find(doc.body(), Tables::insert(c, 3, 3));
    const QStringList cells{QStringLiteral("Artikel"), QString(), QStringLiteral("Preis"), QStringLiteral("Schrauben"),
                            QStringLiteral("100 Stück"), QStringLiteral("4,50"), QStringLiteral("Dübel"),
                            QStringLiteral("50 Stück"), QStringLiteral("3,20")};
    for (int i = 0; i < 9; ++i)
        t->cellAt(i / 3, i % 3).firstCursorPosition().insertText(cells[i]);
    t->mergeCells(0, 0, 1, 2);
}

void listDocument(Document& doc)
{
    QTextCursor c(doc.body());
    c.insertText(QStringLiteral("Tagesordnung"));
    c.insertBlock();
    const int start = c.position();
    c.insertText(QStringLiteral("Begrüßung\nBericht\nVerschiedenes").replace(QLatin1Char('\n'), QChar::ParagraphSeparator));
    c.setPosition(start, QTextCursor::KeepAnchor);
    Lists::State state;
    Lists::setNumberingStyle(c, state, 3);
}

QString run(const QString& program, const QStringList& args, const QString& home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(240000))
        return QStringLiteral("<timeout>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestOffice : public QObject {
    Q_OBJECT

    QString soffice, pdftotext, pdfinfo;
    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (soffice.isEmpty() || pdftotext.isEmpty())
            QSKIP("LibreOffice or poppler-utils is not installed (scripts/setup.sh installs both)");
        QVERIFY(dir.isValid());
        // All files in one run of the office suite: it starts slowly.
        QStringList files;
        const std::pair<const char*, void (*)(Document&)> docs[] = {{"brief", letter}, {"tabelle", tableDocument}, {"liste", listDocument}};
        for (const auto& [name, fill] : docs) {
            Document doc;
            fill(doc);
            for (const char* ext : {"docx", "odt", "rtf", "doc"}) {
                const QString path = dir.filePath(QStringLiteral("%1-%2.%2").arg(QLatin1String(name), QLatin1String(ext)));
                QString error;
                QVERIFY2(Formats::writeFile(Formats::typeOfPath(path), doc, nullptr, path, QByteArray(), WriteOptions(), &error),
                         qPrintable(error));
                files << path;
            }
        }
        run(soffice, QStringList{QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                 QStringLiteral("--outdir"), dir.path()} + files, dir.path());
    }

    void converted_data()
    {
        // pageTexts: what each page shows, in order
        addColumns<QString, int, QStringList>("name", "pages", "pageTexts");
        for (const char* ext : {"docx", "odt", "rtf", "doc"}) {
            QTest::addRow("letter %s", ext)
                << QStringLiteral("brief-%1").arg(QLatin1String(ext)) << 3
                << QStringList{QStringLiteral("Muster GmbH · Hauptstraße 1 · 12345 Beispielstadt\nFrau Erika Mustermann\n"
                                              "Sehr geehrte Frau Mustermann,\nvielen Dank für Ihre Anfrage über Größe und Maße.\n"
                                              "Seite 1 von 3"),
                               QStringLiteral("Muster GmbH · Hauptstraße 1 · 12345 Beispielstadt\nAnlage 1: Preisliste\nSeite 2 von 3"),
                               QStringLiteral("Muster GmbH · Hauptstraße 1 · 12345 Beispielstadt\nAnlage 2: Bedingungen\nSeite 3 von 3")};
            QTest::addRow("table %s", ext) << QStringLiteral("tabelle-%1").arg(QLatin1String(ext)) << 1
                                           << QStringList{QStringLiteral("Preisliste\nArtikel Preis\nSchrauben 100 Stück 4,50\n"
                                                                         "Dübel 50 Stück 3,20")};
            QTest::addRow("list %s", ext) << QStringLiteral("liste-%1").arg(QLatin1String(ext)) << 1
                                          << QStringList{QStringLiteral("Tagesordnung\n1. Begrüßung\n2. Bericht\n3. Verschiedenes")};
        }
    }

    void converted()
    {
        QFETCH(QString, name);
        QFETCH(int, pages);
        QFETCH(QStringList, pageTexts);
        const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        const QString info = run(pdfinfo, {pdf}, dir.path());
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))), qPrintable(info));
        for (int page = 1; page <= pages; ++page) {
            QString text = run(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                                           pdf, QStringLiteral("-")},
                               dir.path());
            // Lines as words separated by one blank, without empty lines.
            QStringList lines;
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                const QString words = line.simplified();
                if (!words.isEmpty() && words != u"\f")
                    lines << words;
            }
            QCOMPARE(lines.join(QLatin1Char('\n')), pageTexts.value(page - 1));
        }
    }
};

QTEST_MAIN(TestOffice)
#include "tst_office.moc"
