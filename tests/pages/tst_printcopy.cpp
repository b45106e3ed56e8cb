// Copies for printing on another thread, as the serial letters make them: laid out where
// they are written and painted on the painting thread, with the same pages as a copy the
// painting thread lays out itself; copies that follow no edits; the painting thread's
// counts; page streams compressed at the level chosen for speed.
#include "TestCommon.h"
#include "engine/Document.h"
#include "engine/pages/PaintThread.h"
#include "engine/pages/Paginator.h"
#include "engine/pages/PdfExport.h"
#include "engine/pages/PrintCopy.h"
#include "engine/spelling/AutoHyphens.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabLeaders.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QScopeGuard>
#include <QThread>


namespace {

void fill(Document& doc, int paragraphs)
{
    QTextCursor c(doc.body());
    for (int i = 0; i < paragraphs; ++i) {
        QTextBlockFormat f;
        f.setAlignment(i % 3 == 1 ? Qt::AlignRight : Qt::AlignLeft);
        f.setBottomMargin(i % 2 ? 6 : 0);
        c.insertBlock(f);
        c.insertText(QStringLiteral("Absatz %1:\tHerzliche Einladung zur Jahresversammlung im Vereinsheim am Markt.").arg(i));
    }
}

// Pages of `copy` as painted on a thread of its own; `relaid` counts layouts done there.
QList<QImage> paintElsewhere(std::unique_ptr<Document> copy, int* relaid)
{
    PaintThread painter(1);
    copy->moveToThread(painter.thread());
    QList<QImage> pages;
    const bool ok = painter.post([&](QString*) {
        QSignalSpy layouts(copy->body()->documentLayout(), &QAbstractTextDocumentLayout::update);
        Paginator p(copy.get(), Paginator::PaintingCopy);
        for (int page = 1; page <= p.pageCount(); ++page)
            pages << p.renderPage(page, 48);
        *relaid = int(layouts.count());
        copy.reset();
        return true;
    }, nullptr);
    return ok && painter.wait(nullptr) ? pages : QList<QImage>();
}

} // namespace

class TstPrintCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void laidOutWhereWritten_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::addColumn<int>("pages");
        QTest::newRow("letter") << 8 << 1;
        // Longer than Qt lays out at once: the rest would wait for timers of this thread.
        QTest::newRow("three pages") << 120 << 3;
    }
    void laidOutWhereWritten()
    {
        QFETCH(int, paragraphs);
        QFETCH(int, pages);
        Document doc;
        fill(doc, paragraphs);
        std::unique_ptr<Document> here = doc.paintingCopy(), there = doc.paintingCopy();
        PrintCopy::prepare(*here);
        PrintCopy::prepare(*there);
        PrintCopy::layOut(*here);
        QCOMPARE(PrintCopy::laidOutDpi(here->body()), 1440);
        QCOMPARE(PrintCopy::laidOutDpi(there->body()), 0);
        QVERIFY(QAbstractEventDispatcher::instance()->registeredTimers(here->body()->documentLayout()).isEmpty());
        int relaidHere = -1, relaidThere = -1;
        const QList<QImage> a = paintElsewhere(std::move(here), &relaidHere);
        const QList<QImage> b = paintElsewhere(std::move(there), &relaidThere);
        QCOMPARE(a.size(), pages);
        QCOMPARE(b.size(), pages);
        for (int i = 0; i < pages; ++i)
            QVERIFY2(a[i] == b[i], qPrintable(QStringLiteral("page %1").arg(i + 1)));
        QCOMPARE(relaidHere, 0); // painted as laid out, not laid out again
        QVERIFY(relaidThere > 0);
    }

    // A copy is printed with the hyphens it was made with; the document itself follows.
    void copyFollowsNoEdits()
    {
        Document doc;
        fill(doc, 2);
        std::unique_ptr<Document> copy = doc.paintingCopy();
        for (Document* d : {&doc, copy.get()}) {
            d->body()->documentLayout(); // Qt reports edits of a document once it has a layout
            QTextBlockFormat on;
            on.setProperty(EngineProperty::Hyphenate, true);
            QTextCursor(d->body()->lastBlock()).mergeBlockFormat(on);
            QTextCursor(d->body()->lastBlock()).insertText(QStringLiteral("Donaudampfschifffahrt "));
        }
        QVERIFY(!doc.hyphens()->isIdle());
        QVERIFY(copy->hyphens()->isIdle());
    }

    // A tab leader is all that asks for painting over the text: it is still painted.
    void leaderAloneIsPainted()
    {
        QList<QImage> pages;
        for (QChar leader : {QChar(), QChar(u'.')}) {
            Document doc;
            QTextBlockFormat f;
            f.setTabPositions({TabLeaders::with(QTextOption::Tab(15 * 96 / 2.54, QTextOption::RightTab), leader)});
            QTextCursor c(doc.body());
            c.setBlockFormat(f);
            c.insertText(QStringLiteral("Summe\t12,50"));
            pages << Paginator(&doc).renderPage(1, 48);
        }
        QVERIFY(pages[0] != pages[1]);
    }

    void paintThreadCounts()
    {
        std::atomic<bool> started = false, release = false;
        PaintThread painter(8);
        const auto unblock = qScopeGuard([&] { release = true; }); // before the thread is waited for
        QVERIFY(painter.post([&](QString*) { started = true; while (!release) {} return true; }, nullptr));
        for (int i = 0; i < 3; ++i)
            QVERIFY(painter.post([](QString*) { return true; }, nullptr));
        QTRY_VERIFY(started);
        QCOMPARE(painter.waiting(), 3);
        release = true;
        QVERIFY(painter.wait(nullptr));
        QCOMPARE(painter.waiting(), 0);
        QVERIFY(painter.cpuSeconds() > 0); // the first job kept its processor busy
    }
};

QTEST_MAIN(TstPrintCopy)
#include "tst_printcopy.moc"
