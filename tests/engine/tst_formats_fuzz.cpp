// Randomized robustness: seeded mutations of valid RTF and own-format files must be
// read or refused with a German error, never crash or hang. QX_FUZZ_SECONDS runs a
// longer, time-bounded session instead of the fixed count.

#include "FormatTestSupport.h"
#include "engine/Document.h"
#include "engine/formats/Formats.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

using namespace FormatTest;

namespace {

QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(QX_SOURCE_DIR "/tests/engine/data/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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

} // namespace

class TestFormatsFuzz : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mutatedInputsNeverCrash_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("seed");
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
};

QTEST_MAIN(TestFormatsFuzz)
#include "tst_formats_fuzz.moc"
