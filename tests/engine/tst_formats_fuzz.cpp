// Robustness: seeded mutations of valid RTF and own-format files and hand-made hostile
// files must be read or refused with a German error, never crash or hang.
// QX_FUZZ_SECONDS runs a longer, time-bounded session instead of the fixed count.

#include "OwnSample.h"
#include "engine/Document.h"
#include "engine/formats/FormatProperties.h"
#include "engine/formats/Formats.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QElapsedTimer>
#include "TestCommon.h"
#include <QPen>
#include <QRandomGenerator>
#include <QtEndian>

using namespace FormatTest;

namespace {

const QList<QByteArray> kRtfPieces{"{", "}", "\\", "\\par ", "\\cell ", "\\row ", "\\trowd\\cellx-5 ", "\\cellx99999999 ",
                                   "\\u-1 ", "\\uc9 ", "\\bin99999 ", "\\*", "{\\pict\\pngblip 89504e47}", "\\'", "\\'zz",
                                   "\\ls7\\ilvl99 ", "\\clvmrg", "\\clmrg", "{\\field{\\*\\fldinst HYPERLINK \"",
                                   "{\\header ", "\\page ", "\\fs-99999 ", "\\f999 ", "\\cf300 ", "\\intbl "};
const QList<QByteArray> kXmlPieces{"<", ">", "</p>", "<p format=\"-7\" list=\"3\" listFormat=\"0\">", "</table>",
                                   "<table rows=\"2\" columns=\"2\"><cell row=\"1\" column=\"0\" rowSpan=\"9\" columnSpan=\"9\">",
                                   "<frame>", "</frame>", "<r format=\"1\" encoding=\"utf16\">d800</r>", "&#0;", "&amp;",
                                   "<property name=\"user+1\" type=\"stream\">AAAA</property>", "\"", "<![CDATA[",
                                   "<headerfooter set=\"15\">", "<part id=\"2\"><text>"};

QByteArray mutate(QByteArray data, QRandomGenerator& rng, const QList<QByteArray>& pieces)
{
    const int steps = 1 + int(rng.bounded(6));
    for (int s = 0; s < steps; ++s) {
        const qsizetype n = data.size();
        const qsizetype at = n ? qsizetype(rng.bounded(quint64(n))) : 0;
        switch (rng.bounded(8)) {
        case 0:
            if (n)
                data[at] = char(rng.bounded(256));
            break;
        case 1:
            data.insert(at, char(rng.bounded(256)));
            break;
        case 2:
            data.remove(at, qsizetype(rng.bounded(64)));
            break;
        case 3:
            data.insert(at, pieces[qsizetype(rng.bounded(quint64(pieces.size())))]);
            break;
        case 4: {
            const QByteArray chunk = data.mid(at, qsizetype(rng.bounded(200)));
            data.insert(qsizetype(rng.bounded(quint64(data.size() + 1))), chunk);
            break;
        }
        case 5:
            data.truncate(at);
            break;
        case 6: {
            // An attribute value replaced by a small number: format ids, spans, sizes.
            const qsizetype eq = data.indexOf("=\"", at);
            const qsizetype end = eq < 0 ? -1 : data.indexOf('"', eq + 2);
            if (end > 0)
                data.replace(eq + 2, end - eq - 2, QByteArray::number(int(rng.bounded(43)) - 2));
            break;
        }
        default:
            if (n && (data[at] >= '0' && data[at] <= '9'))
                data.insert(at, QByteArray::number(rng.bounded(1000000000)));
            break;
        }
    }
    return data;
}

struct Tally {
    int read = 0, refused = 0;
};

// Reads one input; a refusal must come with a text, a success must write again.
bool probe(int format, const QByteArray& input, Tally& tally, bool writeBack)
{
    Document doc;
    QString error;
    if (!Formats::read(format, input, doc, nullptr, &error)) {
        ++tally.refused;
        return !error.isEmpty();
    }
    ++tally.read;
    if (writeBack) {
        QByteArray out;
        for (int f : {3, 5, 4, 1})
            if (!Formats::write(f, doc, nullptr, &out, &error))
                return false;
    }
    return true;
}

QByteArray be32(quint32 v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

// A own-format file whose one format carries a property of type "stream".
QByteArray ownWithStream(const QByteArray& streamed)
{
    return "<textdocument version=\"1\"><body><formats><format id=\"1\" type=\"2\">"
           "<property name=\"user+1\" type=\"stream\">"
           + streamed.toBase64()
           + "</property></format></formats><p format=\"1\"><r>x</r></p></body></textdocument>";
}

// A QVariant list nested `depth` times, as QDataStream writes it.
QByteArray nestedVariantList(int depth)
{
    QByteArray b;
    b.reserve(depth * 9 + 16);
    for (int i = 0; i < depth; ++i)
        b += be32(QMetaType::QVariantList) + QByteArray(1, '\0') + be32(1);
    b += be32(QMetaType::Int) + QByteArray(1, '\0') + be32(7);
    return b;
}

QByteArray nestedHtmlTables(int depth)
{
    return QByteArray("<html><body>") + QByteArray("<table><tr><td>").repeated(depth) + "x"
           + QByteArray("</td></tr></table>").repeated(depth) + "</body></html>";
}

QByteArray nestedOwnTables(int depth)
{
    return QByteArray("<textdocument version=\"1\"><body>")
           + QByteArray("<table rows=\"1\" columns=\"1\"><cell row=\"0\" column=\"0\">").repeated(depth)
           + "<p><r>x</r></p>" + QByteArray("</cell></table>").repeated(depth) + "</body></textdocument>";
}

int tableDepth(QTextFrame* frame)
{
    int deepest = 0;
    for (QTextFrame* child : frame->childFrames())
        deepest = qMax(deepest, tableDepth(child) + (qobject_cast<QTextTable*>(child) ? 1 : 0));
    return deepest;
}

} // namespace

class TestFormatsFuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mutatedInputsNeverCrash_data()
    {
        addColumns<int, int>("format", "seed");
        QTest::newRow("rtf") << 5 << 20261205;
        QTest::newRow("own") << 3 << 4711;
    }
    void mutatedInputsNeverCrash()
    {
        QFETCH(int, format);
        QFETCH(int, seed);
        QList<QByteArray> corpus;
        Document every;
        fillEveryFeature(every);
        QByteArray written;
        QVERIFY(Formats::write(format, every, nullptr, &written, nullptr));
        corpus << written;
        if (format == 5)
            corpus << fixture("wordpad.rtf") << fixture("libreoffice.rtf") << fixture("word.rtf");
        for (const QByteArray& c : corpus)
            QVERIFY(!c.isEmpty());
        const QList<QByteArray>& pieces = format == 5 ? kRtfPieces : kXmlPieces;

        QRandomGenerator rng{quint32(seed)};
        const int seconds = qEnvironmentVariableIntValue("QX_FUZZ_SECONDS");
        QElapsedTimer timer;
        timer.start();
        Tally tally;
        int runs = 0;
        while (seconds > 0 ? timer.elapsed() < seconds * 1000LL : runs < 2500) {
            const QByteArray& base = corpus[qsizetype(rng.bounded(quint64(corpus.size())))];
            const QByteArray input = mutate(base, rng, pieces);
            if (!probe(format, input, tally, runs % 50 == 0)) {
                QFile dump(QStringLiteral("fuzz-failure.bin"));
                if (dump.open(QIODevice::WriteOnly))
                    dump.write(input);
                QFAIL(qPrintable(QStringLiteral("input %1 refused without text or could not be written").arg(runs)));
            }
            ++runs;
        }
        qInfo("%d inputs in %lld ms: %d read, %d refused", runs, timer.elapsed(), tally.read, tally.refused);
        // Both outcomes occur, so the mutations reach past the first check.
        QVERIFY(tally.read > 0);
        QVERIFY(tally.refused > 0);
    }

    void randomBytesAreRefused()
    {
        QRandomGenerator rng(99);
        for (int i = 0; i < 300; ++i) {
            QByteArray junk(int(rng.bounded(1, 400)), Qt::Uninitialized);
            for (char& c : junk)
                c = char(rng.bounded(256));
            junk[0] = char(0x80 | rng.bounded(128));
            for (int format : {3, 5, 9, 10}) {
                Document doc;
                QString error;
                QVERIFY(!Formats::read(format, junk, doc, nullptr, &error));
                QVERIFY(!error.isEmpty());
            }
        }
    }

    // Hand-made hostile files: sizes that used to overflow the stack, request
    // gigabytes or run for minutes. ctest's timeout catches a hang.
    void hostileFilesAreReadOrRefused_data()
    {
        addColumns<int, QByteArray, bool, int>("format", "data", "readable", "maxTableDepth");
        QTest::newRow("stream nested 70000") << 3 << ownWithStream(nestedVariantList(70000)) << true << 0;
        QTest::newRow("stream list of 4G items") << 3 << ownWithStream(be32(QMetaType::QVariantList) + QByteArray(1, '\0') + be32(0xFFFFFFFF)) << true << 0;
        QTest::newRow("stream byte array 4G") << 3 << ownWithStream(be32(QMetaType::QByteArray) + QByteArray(1, '\0') + be32(0xFFFFFFF0)) << true << 0;
        QTest::newRow("html tables 30 deep") << 4 << nestedHtmlTables(30) << true << 8;
        QTest::newRow("own tables 30 deep") << 3 << nestedOwnTables(30) << true << 8;
        QTest::newRow("own 500x500 declared") << 3
            << QByteArray("<textdocument version=\"1\"><body><table rows=\"500\" columns=\"500\"></table></body></textdocument>")
            << false << 0;
        QTest::newRow("text 2 MB one line") << 1 << QByteArray(2 * 1024 * 1024, 'a') << true << 0;
    }
    void hostileFilesAreReadOrRefused()
    {
        QFETCH(int, format);
        QFETCH(QByteArray, data);
        QFETCH(bool, readable);
        QFETCH(int, maxTableDepth);
        Document doc;
        QString error;
        const bool ok = Formats::read(format, data, doc, nullptr, &error);
        // Layout is part of opening a document.
        doc.body()->documentLayout()->documentSize();
        QCOMPARE(ok, readable);
        QCOMPARE(error.isEmpty(), readable);
        if (ok && maxTableDepth > 0)
            QVERIFY(tableDepth(doc.body()->rootFrame()) <= maxTableDepth);
    }

    // An image name from a broken data URL holds a control character; the own format
    // must still be written (the name hex-encoded) and read back.
    void brokenImageNameIsWritten()
    {
        Document doc;
        QString error;
        QVERIFY(Formats::read(4, "<p>x</p><img src=\"data:image/\x06png;base01,iVBORw0KG$o=ow\">", doc, nullptr, &error));
        QByteArray own;
        QVERIFY2(Formats::write(3, doc, nullptr, &own, &error), qPrintable(error));
        Document back;
        QVERIFY2(Formats::read(3, own, back, nullptr, &error), qPrintable(error));
        QCOMPARE(back.body()->toPlainText(), doc.body()->toPlainText());
    }

    // The values that still travel as QDataStream bytes pass the check before streaming.
    void streamedValuesRoundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QPen dashed(QBrush(Qt::red, Qt::Dense4Pattern), 2.5, Qt::DashDotLine);
        dashed.setDashPattern({1, 2, 3, 4});
        QTest::newRow("dashed pen") << QVariant(dashed);
        QTest::newRow("pattern brush") << QVariant(QBrush(Qt::green, Qt::CrossPattern));
    }
    void streamedValuesRoundTrip()
    {
        QFETCH(QVariant, value);
        const FormatProperties::TypedText t = FormatProperties::encode(value);
        QCOMPARE(t.type, QStringLiteral("stream"));
        QCOMPARE(FormatProperties::decode(t.type, t.value), value);
    }
};

QTEST_MAIN(TestFormatsFuzz)
#include "tst_formats_fuzz.moc"
