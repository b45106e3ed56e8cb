// Hostile and broken files: each is read or refused (with a German text) and the
// reader returns; ctest's timeout catches a hang. Sizes are the ones that used to
// overflow the stack, request gigabytes or run for minutes.

#include "engine/Document.h"
#include "engine/formats/FormatProperties.h"
#include "engine/formats/Formats.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QPen>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtEndian>

namespace {

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

class TestHostile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hostileFilesAreReadOrRefused_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("maxTableDepth");
        QTest::newRow("stream nested 70000") << 3 << ownWithStream(nestedVariantList(70000)) << true << 0;
        QTest::newRow("stream list of 4G items") << 3 << ownWithStream(be32(QMetaType::QVariantList) + QByteArray(1, '\0') + be32(0xFFFFFFFF)) << true << 0;
        QTest::newRow("stream byte array 4G") << 3 << ownWithStream(be32(QMetaType::QByteArray) + QByteArray(1, '\0') + be32(0xFFFFFFF0)) << true << 0;
        QTest::newRow("html tables 20 deep") << 4 << nestedHtmlTables(20) << true << 8;
        QTest::newRow("html tables 30 deep") << 4 << nestedHtmlTables(30) << true << 8;
        QTest::newRow("own tables 20 deep") << 3 << nestedOwnTables(20) << true << 8;
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
        QTest::newRow("pen") << QVariant(QPen(Qt::blue));
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

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
