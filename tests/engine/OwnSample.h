#pragma once
// A document of our own with every feature the surface holds that DOCX and ODT carry,
// and the comparison of what a writer and reader pair gave back. Expected values are
// the ones written into the sample.

#include "FormatTestSupport.h"
#include "PageFields.h"

#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Images.h"
#include "engine/objects/Lists.h"
#include "engine/objects/Tables.h"
#include "engine/formats/DocumentTransfer.h"

#include <QTest>
#include <QTextBlock>
#include <QTextList>
#include <QTextTable>

namespace OwnSample {

using namespace EngineProperty;

inline QTextBlock blockWith(const QTextDocument* d, const QString& text)
{
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        if (b.text() == text)
            return b;
    return {};
}

inline QTextTable* firstTable(const QTextDocument* d)
{
    for (QTextFrame* f : d->rootFrame()->childFrames())
        if (auto* t = qobject_cast<QTextTable*>(f))
            return t;
    return nullptr;
}

inline QString cellText(QTextTable* t, int r, int c)
{
    const QTextTableCell cell = t->cellAt(r, c);
    QTextCursor cur = cell.firstCursorPosition();
    cur.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cur.selectedText();
}

// Field and image objects by document order: (object type, field type).
inline QList<QPair<int, int>> objects(const QTextDocument* d)
{
    QList<QPair<int, int>> out;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (const QTextCharFormat f = it.fragment().charFormat(); f.objectType() != 0)
                out.append({f.objectType(), f.intProperty(FieldType)});
    return out;
}


// A document of our own with every feature the surface holds that DOCX can carry.
inline void fill(Document& doc)
{
    doc.setPage({16838, 11906, 1417, 1000, 1134, 900});
    doc.setHeaderDistance(600);
    doc.setFooterDistance(500);
    doc.setHeaderFooterSet(1 | 2 | 4);
    QTextCursor(doc.headerFooter(1)).insertText(QStringLiteral("Kopf"));
    QTextCursor(doc.headerFooter(2)).insertText(QStringLiteral("Erste"));
    QTextCursor fc(doc.headerFooter(4));
    insertPageNumbers(doc.headerFooter(4), fc);
    QTextDocument* body = doc.body();
    QTextCursor c(body);
    QTextBlockFormat h;
    h.setHeadingLevel(2);
    c.setBlockFormat(h);
    c.insertText(QStringLiteral("Titel"));

    QTextBlockFormat bf = FormatTest::richParagraph();
    bf.setProperty(FrameStyle, FrameBits::Left | FrameBits::Bottom | FrameBits::Double);
    bf.setProperty(FrameLineWidth, 40);
    bf.setProperty(FrameDistance, 100);
    c.insertBlock(bf, QTextCharFormat());
    QTextCharFormat big;
    big.setFontFamilies({QStringLiteral("Times New Roman")});
    big.setFontPointSize(14);
    big.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Fett <&> \"groß\" "), big);
    QTextCharFormat deco;
    deco.setFontItalic(true);
    deco.setFontUnderline(true);
    deco.setFontStrikeOut(true);
    deco.setForeground(QColor(200, 10, 20));
    deco.setBackground(QColor(204, 255, 204));
    c.insertText(QStringLiteral("bunt"), deco);
    QTextCharFormat marker;
    marker.setBackground(QColor(Qt::yellow));
    marker.setFontCapitalization(QFont::AllUppercase);
    c.insertText(QStringLiteral("\tmarkiert"), marker);
    QTextCharFormat sup;
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("hoch"), sup);
    c.insertText(QString(QChar::LineSeparator) + QStringLiteral(" Zeile   zwei "), QTextCharFormat());
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/a?b=1&c=2"));
    c.insertText(QStringLiteral("Verweis"), link);
    c.insertText(QStringLiteral(" und "), QTextCharFormat());
    const int field = Fields::insert(c, QStringLiteral("Feldtext"));
    Fields::setData(body, field, QStringLiteral("Anrede Name"));

    QTextBlockFormat brk;
    brk.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    brk.setAlignment(Qt::AlignRight);
    brk.setLineHeight(300, QTextBlockFormat::FixedHeight);
    c.insertBlock(brk, QTextCharFormat());
    c.insertText(QStringLiteral("Neue Seite"));

    Lists::State state;
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    c.insertText(QStringLiteral("Eins"));
    Lists::setNumberingStyle(c, state, 3);
    c.insertBlock();
    c.insertText(QStringLiteral("Eins a"));
    Lists::changeLevel(c, state, 1);
    Lists::setNumberingStyle(c, state, 5);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    c.insertText(QStringLiteral("Stichpunkt"));
    Lists::setListType(c, Lists::Bullets, state);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    Lists::setListType(c, Lists::None, state);

    c.insertText(QStringLiteral("Bild "));
    Images::insertAsChar(c, FormatTest::testImage(), 200, 150);
    Images::insertFixed(c, FormatTest::testImage(), 2000, 3000, 300, 300);
    c.insertText(QStringLiteral(" fest"));

    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const int table = Tables::insert(c, 3, 3);
    QTextTable* t = Tables::find(body, table);
    QTextTableFormat tf = t->format();
    tf.setBorder(1);
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 80),
                                  QTextLength(QTextLength::FixedLength, 120)});
    t->setFormat(tf);
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col)
            t->cellAt(r, col).firstCursorPosition().insertText(QStringLiteral("Z%1S%2").arg(r).arg(col));
    t->mergeCells(0, 0, 1, 2);
    t->mergeCells(1, 2, 2, 1);
    QTextTableCell shaded = t->cellAt(2, 0);
    QTextTableCellFormat ccf = shaded.format().toTableCellFormat();
    ccf.setBackground(QColor(220, 220, 220));
    shaded.setFormat(ccf);
    c.setPosition(t->lastPosition() + 1);
    c.insertText(QStringLiteral("Ende"));
}


inline void compare(const Document& original, const Document& back)
{
    const QTextDocument* body = back.body();
    const QString obj(QChar::ObjectReplacementCharacter);

    QCOMPARE(back.page(), (PageGeometry{16838, 11906, 1417, 1000, 1134, 900}));
    QCOMPARE(back.headerDistance(), 600);
    QCOMPARE(back.footerDistance(), 500);
    // Page one shows the first-page header and, having no footer of its own, the footer.
    QCOMPARE(back.headerFooterSet(), 1 | 2 | 4 | 8);
    QCOMPARE(back.headerFooter(1)->toPlainText(), QStringLiteral("Kopf"));
    QCOMPARE(back.headerFooter(2)->toPlainText(), QStringLiteral("Erste"));
    QCOMPARE(back.headerFooter(4)->toPlainText(), QStringLiteral("Seite ") + obj + QStringLiteral(" von ") + obj);
    QCOMPARE(back.headerFooter(8)->toPlainText(), back.headerFooter(4)->toPlainText());
    QCOMPARE(objects(back.headerFooter(4)), (QList<QPair<int, int>>{{EngineObject::PageNumber, FieldTypes::PageNumber},
                                                                     {EngineObject::PageCount, FieldTypes::PageCount}}));

    QCOMPARE(body->toPlainText(), original.body()->toPlainText());
    QCOMPARE(body->defaultFont().family(), QStringLiteral("Arial"));
    QCOMPARE(body->defaultFont().pointSizeF(), 11.0);

    const QTextBlock title = blockWith(body, QStringLiteral("Titel"));
    QCOMPARE(title.blockFormat().headingLevel(), 2);
    const QTextBlock para = body->findBlock(body->toPlainText().indexOf(QStringLiteral("Fett")));
    const QTextBlockFormat bf = para.blockFormat();
    QCOMPARE(bf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    QCOMPARE((QList<double>{bf.leftMargin(), bf.rightMargin(), bf.textIndent(), bf.topMargin(), bf.bottomMargin()}),
             (QList<double>{20, 10, -8, 6, 4}));
    QCOMPARE(bf.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(bf.lineHeight(), 150.0);
    QCOMPARE((QList<int>{bf.intProperty(FrameStyle), bf.intProperty(FrameLineWidth), bf.intProperty(FrameDistance)}),
             (QList<int>{FrameBits::Left | FrameBits::Bottom | FrameBits::Double, 40, 100}));
    QCOMPARE(bf.tabPositions(), FormatTest::richParagraph().tabPositions());

    const QTextCharFormat fett = FormatTest::formatAt(body, QStringLiteral("Fett"));
    QCOMPARE(fett.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
    QCOMPARE(fett.fontPointSize(), 14.0);
    QCOMPARE(fett.fontWeight(), int(QFont::Bold));
    const QTextCharFormat bunt = FormatTest::formatAt(body, QStringLiteral("bunt"));
    QVERIFY(bunt.fontItalic() && bunt.fontUnderline() && bunt.fontStrikeOut());
    QCOMPARE(bunt.foreground().color(), QColor(200, 10, 20));
    QCOMPARE(bunt.background().color(), QColor(204, 255, 204));
    QVERIFY(!bunt.hasProperty(QTextFormat::FontPointSize));
    const QTextCharFormat markiert = FormatTest::formatAt(body, QStringLiteral("markiert"));
    QCOMPARE(markiert.background().color(), QColor(Qt::yellow));
    QCOMPARE(markiert.fontCapitalization(), QFont::AllUppercase);
    QCOMPARE(FormatTest::formatAt(body, QStringLiteral("hoch")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    const QTextCharFormat link = FormatTest::formatAt(body, QStringLiteral("Verweis"));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), QStringLiteral("https://example.org/a?b=1&c=2"));
    QVERIFY(!FormatTest::formatAt(body, QStringLiteral(" und")).isAnchor());
    const int field = Fields::next(body, 0);
    QVERIFY(field > 0);
    QCOMPARE(Fields::text(body, field), QStringLiteral("Feldtext"));
    QCOMPARE(Fields::data(body, field), QStringLiteral("Anrede Name"));

    const QTextBlock page2 = blockWith(body, QStringLiteral("Neue Seite"));
    QVERIFY(page2.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    QCOMPARE(page2.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(page2.blockFormat().lineHeightType(), int(QTextBlockFormat::FixedHeight));
    QCOMPARE(page2.blockFormat().lineHeight(), 300.0);

    const QTextBlock eins = blockWith(body, QStringLiteral("Eins"));
    const QTextBlock einsA = blockWith(body, QStringLiteral("Eins a"));
    const QTextBlock punkt = blockWith(body, QStringLiteral("Stichpunkt"));
    QVERIFY(eins.textList() && einsA.textList() && punkt.textList());
    QCOMPARE(eins.textList()->itemText(eins), QStringLiteral("1."));
    QCOMPARE(einsA.textList()->itemText(einsA), QStringLiteral("a."));
    QCOMPARE(einsA.textList()->format().intProperty(ListLevel), 2);
    QCOMPARE(einsA.textList()->format().intProperty(ListIndentText),
             original.body()->findBlock(original.body()->toPlainText().indexOf(QStringLiteral("Eins a"))).textList()->format().intProperty(ListIndentText));
    QCOMPARE(einsA.blockFormat().leftMargin(), Document::twipsToPixels(einsA.textList()->format().intProperty(ListIndentText)));
    QCOMPARE(punkt.textList()->format().style(), QTextListFormat::ListDisc);
    QVERIFY(!blockWith(body, QStringLiteral("Bild ") + obj + obj + QStringLiteral(" fest")).textList());

    // Pictures: 8 x 6 pixels at 200 % x 150 %; the fixed one 300 % at 2000 / 3000 twips.
    const int imagePos = body->toPlainText().indexOf(QStringLiteral("Bild ")) + 5;
    QTextCursor ic(const_cast<QTextDocument*>(body));
    ic.setPosition(imagePos + 1);
    const QTextImageFormat inl = ic.charFormat().toImageFormat();
    QVERIFY(inl.isValid());
    QCOMPARE(inl.width(), 16.0);
    QCOMPARE(inl.height(), 9.0);
    ic.setPosition(imagePos + 2);
    const QTextCharFormat fixed = ic.charFormat();
    QCOMPARE(fixed.objectType(), int(EngineObject::FixedImage));
    QCOMPARE(fixed.intProperty(ImagePosX), 2000);
    QCOMPARE(fixed.intProperty(ImagePosY), 3000);
    QCOMPARE(fixed.intProperty(ImageWidth), 360);
    QCOMPARE(fixed.intProperty(ImageHeight), 270);
    QCOMPARE(DocumentTransfer::image(body, fixed.stringProperty(ImageName)).size(), QSize(8, 6));

    QTextTable* t = firstTable(body);
    QVERIFY(t);
    QCOMPARE(t->rows(), 3);
    QCOMPARE(t->columns(), 3);
    QCOMPARE(t->cellAt(0, 0).columnSpan(), 2);
    QCOMPARE(t->cellAt(1, 2).rowSpan(), 2);
    // Qt joins the texts of merged cells.
    QTextTable* before = firstTable(original.body());
    QCOMPARE(cellText(t, 0, 0), cellText(before, 0, 0));
    QCOMPARE(cellText(t, 1, 2), cellText(before, 1, 2));
    QVERIFY(cellText(t, 0, 0).startsWith(QStringLiteral("Z0S0")));
    QCOMPARE(cellText(t, 2, 1), QStringLiteral("Z2S1"));
    QCOMPARE(t->cellAt(2, 0).format().background().color(), QColor(220, 220, 220));
    QCOMPARE(t->format().border(), 1.0);
    const QList<QTextLength> widths = t->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 3);
    QCOMPARE(widths[0].rawValue(), 100.0);
    QCOMPARE(widths[1].rawValue(), 80.0);
    QCOMPARE(widths[2].rawValue(), 120.0);
    QCOMPARE(body->lastBlock().text(), QStringLiteral("Ende"));
}

} // namespace OwnSample

namespace FormatTest {

// The sample and what only the own formats, RTF and HTML carry besides: a first-page
// footer, a subscript, characters that need escaping, user properties of several types,
// a table with paddings and a relative column, a frame, a control character and an emoji.
inline void fillEveryFeature(Document& doc)
{
    OwnSample::fill(doc);
    doc.setHeaderFooterSet(1 | 2 | 4 | 8);
    QTextCursor(doc.headerFooter(8)).insertText(QStringLiteral("Erste Fußzeile"));
    QTextCursor c(doc.body());
    c.movePosition(QTextCursor::End);
    QTextCharFormat sub;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText(QStringLiteral(" tief"), sub);
    QTextCharFormat typed;
    typed.setProperty(QTextFormat::UserProperty + 90, 2.5);
    typed.setProperty(QTextFormat::UserProperty + 91, true);
    typed.setProperty(QTextFormat::UserProperty + 92, QColor(1, 2, 3));
    c.insertText(QStringLiteral(" <&> \"Zitat\" äöüß € {x}\\ → \t Tab"), typed);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextTableFormat tf;
    tf.setCellPadding(3);
    tf.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 30)});
    QTextTable* t = c.insertTable(1, 1, tf);
    QTextTableCellFormat padded;
    padded.setTopPadding(5);
    t->cellAt(0, 0).setFormat(padded);
    c.setPosition(t->lastPosition() + 1);
    QTextFrameFormat ff;
    ff.setBorder(2);
    ff.setProperty(QTextFormat::UserProperty + 93, 3);
    QTextFrame* frame = c.insertFrame(ff);
    frame->firstCursorPosition().insertText(QStringLiteral("Im Rahmen"));
    c.setPosition(frame->lastPosition() + 1);
    c.insertText(QStringLiteral("Ende \u0007\U0001F600"));
}

} // namespace FormatTest
