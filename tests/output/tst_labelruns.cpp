// The label values and the three label runs of the address picker, on the shipped
// templates and the starter database, with the shell's document operations played by
// surfaces the test owns.

#include "TestPaths.h"
#include "PdfText.h"
#include "TestCommon.h"
#include "../addresses/AddressFixture.h"

#include "addresses/AdressenAuswaehlen.h"
#include "addresses/RecordSource.h"
#include "app/AppState.h"
#include "engine/pages/PdfExport.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/Formats.h"
#include "output/LabelFill.h"
#include "output/LabelRuns.h"
#include "output/LabelTemplate.h"

#include <QListWidget>

using W = AdressenAuswaehlen;

class TstLabelRuns : public QObject {
    Q_OBJECT

    QTemporaryDir* m_dir = nullptr;
    ScriptedPrompter* m_prompts = nullptr;
    AppState m_app;
    std::vector<std::unique_ptr<TextControl>> m_windows;
    LabelRuns::ShellOps m_ops;

    TextControl* sheet() const { return m_windows.empty() ? nullptr : m_windows.back().get(); }
    static QString label(TextControl& s, int n, const char* field)
    {
        // One walk over the fields per sheet.
        static QHash<QString, int> index;
        static const TextControl* indexed = nullptr;
        static int revision = -1;
        if (indexed != &s || revision != s.document()->revision()) {
            index = LabelFill::fieldIndex(s);
            indexed = &s;
            revision = s.document()->revision();
        }
        const int id = index.value(QString::number(n) + QLatin1String(field));
        if (!id)
            return QStringLiteral("<fehlt>");
        s.setFieldCurrent(id);
        return s.FieldText();
    }
    static QString fullLabel(TextControl& s, int n)
    {
        QStringList parts;
        for (const QString& f : LabelTemplate::fieldNames())
            parts << label(s, n, f.toLatin1().constData());
        return parts.join(QLatin1Char('|'));
    }
    std::unique_ptr<W> picker(const QString& nachname)
    {
        auto w = std::make_unique<W>(m_app);
        w->show();
        w->HomeCountry = 49;
        if (!nachname.isEmpty() && !w->data1().findFirst(QStringLiteral("[Nachname] = '%1'").arg(nachname)))
            qFatal("no address %s", qPrintable(nachname));
        return w;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        m_app = AppState{};
        m_app.WorkFolder = m_dir->path() + QLatin1Char('/');
        m_app.AddressDbPath = m_dir->filePath(QStringLiteral("address50.adr"));
        QVERIFY(AddressFixture::makeStarter(m_app.AddressDbPath));
        for (int size : LabelTemplate::fontSizes())
            QVERIFY(QFile::copy(qxBinaryDir() + QStringLiteral("/tests/") + LabelTemplate::fileName(size),
                                m_app.WorkFolder + LabelTemplate::fileName(size)));
        m_prompts = installScriptedPrompter();
        m_ops.loadDocument = [this](QString& path) {
            m_windows.push_back(std::make_unique<TextControl>());
            if (!m_windows.back()->Load(path, Formats::PageHeaderSize, 3, false))
                qFatal("cannot load %s", qPrintable(path));
            return m_windows.back().get();
        };
        m_ops.activeSurface = [this] { return sheet(); };
        m_ops.newDocument = [this] {
            m_windows.push_back(std::make_unique<TextControl>());
            return m_windows.back().get();
        };
        W::setLabelRunner([this](W& w, W::LabelRun run) { LabelRuns::run(w, run, m_app, m_ops); });
    }
    void cleanup()
    {
        W::setLabelRunner({});
        m_windows.clear();
        delete m_dir;
    }

    // Nothing is cut; the country line follows the home country.
    void values()
    {
        struct Row {
            int home;
            QString street, town, code, wantStreet, wantLand;
        };
        const QString longStreet = QStringLiteral("Großherzog-Friedrich-Straße 123 b, Hinterhaus");
        const QString longTown = QStringLiteral("Garmisch-Partenkirchen Süd");
        const QString weg = QStringLiteral("Weg 1"), ch = QStringLiteral("CH");
        const Row rows[] = {
            {49, longStreet, longTown, QStringLiteral("D"), longStreet, {}},
            {49, QStringLiteral("Industriestraße 44\r\nHalle 2 und Halle 3, Rampe 7"), longTown, QStringLiteral("A"),
             QStringLiteral("Industriestraße 44 Halle 2 und Halle 3, Rampe 7"), QStringLiteral("SCHWEIZ")},
            {49, weg, longTown, ch, weg, QStringLiteral("SCHWEIZ")}, // seen from Germany
            {1, weg, longTown, ch, weg, {}}, // unknown home country
        };
        for (const Row& r : rows) {
            LabelAddress a;
            a.Strasse = r.street;
            a.Ort = r.town;
            a.LKZ = r.code;
            a.Land = QStringLiteral("Schweiz");
            const LabelValues v = LabelFill::valuesFor(a, r.home);
            QCOMPARE(v.Strasse, r.wantStreet);
            QCOMPARE(v.Ort, r.town);
            QCOMPARE(v.Land, r.wantLand);
            QCOMPARE(v.LKZ, r.code + QLatin1Char('-'));
        }
        LabelAddress far;
        far.LKZ = QStringLiteral("D");
        far.PLZ = QStringLiteral("79098");
        far.Ort = QStringLiteral("Freiburg im Breisgau-Hochdorf Nord");
        QCOMPARE(LabelFill::townLine(far), QStringLiteral("D-79098 Freiburg im Breisgau-Hochdorf Nord")); // never cut
        QCOMPARE(LabelFill::tableBlock(far), QStringList({"", "", "", "", "", "", "D-79098 Freiburg im Breisgau-Hochdorf Nord", ""}));
    }

    void currentOnAllLabels_data()
    {
        // option: index of the template option
        addColumns<QString, int, bool, QString>("nachname", "option", "withoutTitle", "want");
        QTest::newRow("F10") << "Öztürk" << 0 << false << "Frau Dr.|Helga|Öztürk|Rosenstraße 8|D-|50667|Köln|";
        QTest::newRow("F12, two-line street, no title")
            << "Holzmann GmbH" << 2 << true << "|Schreinerei|Holzmann GmbH|Industriestraße 44 Halle 2|D-|70173|Stuttgart|";
        QTest::newRow("F14, abroad") << "Meier" << 3 << false << "Familie||Meier|Dorfstraße 9|A-|6020|Innsbruck|ÖSTERREICH";
    }
    void currentOnAllLabels()
    {
        QFETCH(QString, nachname);
        QFETCH(int, option);
        QFETCH(bool, withoutTitle);
        auto w = picker(nachname);
        w->findChild<QRadioButton*>(QStringLiteral("optVorlage(%1)").arg(option))->setChecked(true);
        w->findChild<QCheckBox*>(QStringLiteral("chkAnrede"))->setChecked(withoutTitle);
        w->cmdMerge_Click();
        QVERIFY(sheet());
        for (int n = 1; n <= 24; ++n)
            QTEST(fullLabel(*sheet(), n), "want");
    }

    void chosenFromStart_data()
    {
        // first: first and last label filled
        addColumns<int, int, int, int, int>("start", "chosen", "first", "last", "leftInList");
        QTest::newRow("five from 7") << 7 << 5 << 7 << 11 << 0;
        QTest::newRow("ten from 20: five used, none emptied") << 20 << 10 << 20 << 24 << 5;
        QTest::newRow("one at 24") << 24 << 1 << 24 << 24 << 0;
    }
    void chosenFromStart()
    {
        QFETCH(int, start);
        QFETCH(int, chosen);
        QFETCH(int, first);
        QFETCH(int, last);
        auto w = picker(QString());
        // Chosen in reverse name order, so that the labels follow the choice.
        QStringList names;
        for (int i = 0; i < chosen; ++i) {
            w->data1().setAbsolutePosition(w->data1().recordCount() - 1 - i);
            names << w->data1().field(QStringLiteral("Nachname"));
            w->cmdInsert_Click();
        }
        w->lblPos_Click(start - 1);
        // A label the run does not reach keeps what it had; one it empties loses it.
        LabelRuns::ShellOps ops = m_ops;
        m_ops.loadDocument = [&](QString& path) {
            TextControl* s = ops.loadDocument(path);
            LabelValues old;
            old.Nachname = QStringLiteral("alt");
            LabelFill::fillAll(*s, old, false);
            return s;
        };
        w->Command1_Click();
        QTEST(w->controls().List1->count(), "leftInList");
        const bool emptied = last < 24;
        for (int n = 1; n <= 24; ++n) {
            const QString nachname = label(*sheet(), n, "Nachname");
            if (n >= first && n <= last)
                QCOMPARE(nachname, names.at(n - first));
            else
                QCOMPARE(nachname, emptied ? QString() : QStringLiteral("alt"));
        }
    }

    void table()
    {
        const QStringList block{"", "Firma", "Schreinerei Holzmann GmbH", "Herrn Otto Span", "Industriestraße 44",
                                "Halle 2", "D-70173 Stuttgart", ""}; // rows 1..8 of each label block
        auto w = picker(QStringLiteral("Holzmann GmbH"));
        w->Command2_Click();
        TextControl* s = sheet();
        QVERIFY(s);
        const int id = s->TableAtInputPos() ? s->TableAtInputPos() : 1;
        QCOMPARE(s->TableRows(id), 64);
        QCOMPARE(s->TableColumns(id), 3);
        QCOMPARE(s->PageMarginL(), 0);
        QCOMPARE(s->PageMarginT(), 28);
        for (int k = 1; k <= 8; ++k)
            for (int c = 1; c <= 3; ++c)
                for (int r = 1; r <= 8; ++r)
                    QCOMPARE(s->TableCellText(id, 8 * (k - 1) + r, c), block.at(r - 1));

        // Printed, the table is one sheet of 3 x 8 labels of 70 x 37 mm from 0.5 mm below
        // the top edge, as on the templates, each label whole inside its cell.
        if (!havePdfToText())
            QSKIP("pdftotext is not installed");
        const QString file = m_dir->filePath(QStringLiteral("tabelle.pdf"));
        QString error;
        QVERIFY2(PdfExport::exportPdf(*s->doc(), file, &error), qPrintable(error));
        const QList<PdfPage> pages = pdfWordBoxes(file);
        QCOMPARE(pages.size(), 1);
        constexpr double mm = 72 / 25.4;
        QList<QStringList> labels(24);
        for (const PdfWord& w : pages.first().words) {
            const int col = int((w.xMin + w.xMax) / 2 / mm / 70), row = int(((w.yMin + w.yMax) / 2 / mm - 0.5) / 37);
            QVERIFY2(col < 3 && row < 8, qPrintable(w.text));
            const QRectF cell(col * 70 - 0.3, 0.5 + row * 37 - 0.3, 70.6, 37.6);
            QVERIFY2(cell.contains(QRectF(QPointF(w.xMin, w.yMin) / mm, QPointF(w.xMax, w.yMax) / mm)),
                     qPrintable(QStringLiteral("%1 at %2, %3 mm").arg(w.text).arg(w.xMin / mm).arg(w.yMin / mm)));
            labels[row * 3 + col] << w.text;
        }
        for (const QStringList& words : std::as_const(labels))
            QCOMPARE(words.join(QLatin1Char(' ')), block.join(QLatin1Char(' ')).simplified());
    }

    void missingTemplate()
    {
        QVERIFY(QFile::remove(m_app.WorkFolder + QStringLiteral("Etiketten_Vorlage_F10.ttx")));
        auto w = picker(QStringLiteral("Becker"));
        w->cmdMerge_Click();
        QCOMPARE(m_prompts->count(QStringLiteral("message")), 1);
        QCOMPARE(m_prompts->last().text, QStringLiteral("Vorlage  Etiketten.ttx nicht gefunden!\r"
                                                        "Die Vorlage finden Sie auf der CD-ROM im Verzeichnis Vorlagen"));
        QVERIFY(!sheet()); // nothing opened, nothing to write into
    }
};

QTEST_MAIN(TstLabelRuns)
#include "tst_labelruns.moc"
