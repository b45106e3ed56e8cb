// Fields: ids, enumeration, link kinds and page numbers through edits and undo.

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"
#include "engine/TextControl.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

static QList<int> walk(const QTextDocument* d, int kind = 0)
{
    QList<int> ids;
    for (int id = Fields::next(d, 0, kind); id > 0; id = Fields::next(d, id, kind))
        ids.append(id);
    return ids;
}

class TstFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void idsAreUniqueAndWalkedInDocumentOrder()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("Anfang Ende"));
        c.setPosition(6);
        const int a = Fields::insert(c, QStringLiteral("A"));
        c.setPosition(0);
        const int b = Fields::insert(c, QStringLiteral("B"));
        c.movePosition(QTextCursor::End);
        const int e = Fields::insert(c, QStringLiteral("E"));
        QCOMPARE(walk(&d), QList<int>({b, a, e})); // position order, not creation order
        QCOMPARE(d.toPlainText(), QStringLiteral("BAnfangA EndeE"));
    }

    void idsSurviveEditsUndoAndRedo()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("xy"));
        c.setPosition(1);
        const int first = Fields::insert(c, QStringLiteral("Name"));
        Fields::setData(&d, first, QStringLiteral("Nachname"));
        c.movePosition(QTextCursor::End);
        const int second = Fields::insert(c, QStringLiteral("Ort"));
        // Typing before both fields moves them but keeps ids and data.
        QTextCursor t(&d);
        t.insertText(QStringLiteral("123"));
        QCOMPARE(walk(&d), QList<int>({first, second}));
        QCOMPARE(Fields::find(&d, first).start, 4);
        QCOMPARE(Fields::data(&d, first), QStringLiteral("Nachname"));
        d.undo(); // the typing
        QCOMPARE(Fields::find(&d, first).start, 1);
        d.undo(); // the second field
        QCOMPARE(walk(&d), QList<int>({first}));
        d.redo();
        QCOMPARE(walk(&d), QList<int>({first, second}));
        // Asking for an id in use gives a fresh one.
        const int fourth = Fields::insert(c, QStringLiteral("W"), first);
        QVERIFY(fourth != first);
    }

    void typingAfterFieldStaysOutside()
    {
        TextControl tc;
        tc.setViewMode(2);
        const int id = tc.FieldInsert(QStringLiteral("Vorname"));
        QTest::keyClicks(&tc, QStringLiteral("ab"));
        QCOMPARE(Fields::text(tc.doc()->body(), id), QStringLiteral("Vorname"));
        QCOMPARE(tc.Text(), QStringLiteral("Vornameab"));
        // Moving the caret back to the field's end and typing does not join it either.
        tc.setSelStart(7);
        QTest::keyClicks(&tc, QStringLiteral("Q"));
        QCOMPARE(Fields::text(tc.doc()->body(), id), QStringLiteral("Vorname"));
    }

    void enumerationByKind()
    {
        QTextDocument d;
        QTextCursor c(&d);
        const int plain = Fields::insert(c, QStringLiteral("plain"));
        const int link1 = Fields::insert(c, QStringLiteral("link1"));
        const int page = Fields::insert(c, QString());
        const int link2 = Fields::insert(c, QStringLiteral("link2"));
        Fields::setLinkKind(&d, link1, 1);
        Fields::setLinkKind(&d, link2, 1);
        Fields::setType(&d, page, FieldTypes::PageNumber);
        QCOMPARE(walk(&d, Fields::KindHyperlinks), QList<int>({link1, link2}));
        QCOMPARE(walk(&d, FieldTypes::PageNumber), QList<int>({page}));
        QCOMPARE(walk(&d), QList<int>({plain, link1, page, link2}));
    }

    void deleteKeepsOrDropsText()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("a"));
        const int kept = Fields::insert(c, QStringLiteral("[Feld]"));
        const int dropped = Fields::insert(c, QStringLiteral("[weg]"));
        c.insertText(QStringLiteral("b"));
        QVERIFY(Fields::remove(&d, kept, true) && Fields::remove(&d, dropped, false));
        QCOMPARE(d.toPlainText(), QStringLiteral("a[Feld]b"));
        QCOMPARE(Fields::next(&d, 0), 0);
        QVERIFY(!Fields::remove(&d, kept, true));
    }

    void pageNumberTypeMakesOneObject()
    {
        QTextDocument d;
        QTextCursor c(&d);
        const int id = Fields::insert(c, QStringLiteral("xx"));
        QVERIFY(Fields::setType(&d, id, FieldTypes::PageNumber));
        const Fields::Range r = Fields::find(&d, id);
        QCOMPARE(r.end - r.start, 1);
        QTextCursor probe(&d);
        probe.setPosition(r.end);
        QCOMPARE(probe.charFormat().objectType(), int(EngineObject::PageNumber));
        d.undo();
        QCOMPARE(Fields::text(&d, id), QStringLiteral("xx"));
    }

    void markHyperlinksColoursLinksOnly()
    {
        TextControl tc;
        tc.setText(QStringLiteral("Text "));
        tc.setSelStart(5);
        const int link = tc.FieldInsert(QStringLiteral("Verweis"));
        tc.setFieldLinkKind(link, 1);
        tc.setSelText(QStringLiteral(" "));
        const int plain = tc.FieldInsert(QStringLiteral("Feld"));
        tc.setSelStart(1);
        tc.setSelLength(2);
        tc.MarkHyperlinks();
        QCOMPARE(QPoint(tc.SelStart(), tc.SelLength()), QPoint(1, 2)); // selection kept
        QTextCursor probe(tc.doc()->body());
        probe.setPosition(Fields::find(tc.doc()->body(), link).start + 3);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(0, 0, 255));
        QVERIFY(probe.charFormat().fontUnderline());
        probe.setPosition(Fields::find(tc.doc()->body(), plain).start + 2);
        QVERIFY(!probe.charFormat().fontUnderline());
    }

};

QTEST_MAIN(TstFields)
#include "tst_fields.moc"
