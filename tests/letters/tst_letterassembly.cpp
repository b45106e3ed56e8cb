// Letters built from LetterData into a surface: the complete text for every form of
// address, layout and option, and the fonts of address block and body.
#include "TestCommon.h"
#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/pages/Paginator.h"
#include "engine/surface/TextControl.h"
#include "letters/AddressPlacement.h"
#include "letters/LetterAssembly.h"

#include <QAbstractTextDocumentLayout>
#include <QTextLayout>


namespace {

const QDate kToday(2026, 3, 5);

// Overrides: "t12=Frau" sets a text slot, "f3=1" a flag.
void apply(AppState& a, const QStringList& overrides)
{
    for (const QString& o : overrides) {
        const int eq = int(o.indexOf(QLatin1Char('=')));
        const int slot = o.mid(1, eq - 1).toInt();
        const QString value = o.mid(eq + 1).replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
        if (o.startsWith(QLatin1Char('t')))
            a.LetterText[size_t(slot)] = value;
        else
            a.LetterFlags[size_t(slot)] = value == u"1";
    }
}

// A plain letter: no letterhead, address window right at 90 mm, salutation and
// closing on, no body.
AppState baseLetter()
{
    AppState a;
    apply(a, {"t1=17", "t2=Liberation Serif", "t3=14", "t4=0", "t11=13", "t17=12", "t22=90", "t23=DejaVu Sans",
              "t24=10", "t12=Herrn", "t13=Karl", "t14=Becker", "t16=Hauptstraße 5", "t18=10115", "t19=Berlin",
              "t20=D", "t21=Deutschland", "t38=0", "t32=Mit freundlichen Grüßen", "t39=0", "f5=1", "f12=1"});
    return a;
}

const QString kHead = QStringLiteral("||||||||||");
const QString kDate = QStringLiteral("|||05. März 2026|||");
const QString kCloseNoBody = QStringLiteral("||||Mit freundlichen Grüßen||||");

// Head, address block, date, no references, the salutation line and the closing.
QString plain(const QString& address, const QString& salutation)
{
    return kHead + address + kDate + QStringLiteral("|||||") +
           (salutation.isEmpty() ? QString() : salutation + QLatin1Char('|')) +
           QStringLiteral("|||Mit freundlichen Grüßen||||");
}

QTextCharFormat formatAt(TextControl& s, const QString& text)
{
    const QTextCursor found = s.doc()->body()->find(text);
    QTextCursor c(s.doc()->body());
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

// Top of the printed line that holds `text`, millimetres below the sheet's top edge.
double printedTopMm(TextControl& s, const QString& text)
{
    const int at = s.doc()->body()->find(text).selectionStart();
    const std::unique_ptr<QTextDocument> d = Paginator::printedCopy(*s.doc());
    const QTextBlock b = d->findBlock(at);
    const double y = d->documentLayout()->blockBoundingRect(b).top() + b.layout()->lineAt(0).y();
    return y / Paginator::layoutScale(d.get()) * 25.4 / 96;
}

} // namespace

class TestLetterAssembly : public QObject {
    Q_OBJECT
private slots:
    void completeText_data()
    {
        addColumns<QStringList, bool, QString>("overrides", "onTemplate", "expected");

        const QString herrn = QStringLiteral("»Herrn|»Karl Becker|»Hauptstraße 5|»10115 Berlin|");
        const QString noLine = QStringLiteral("»Karl Becker|»Hauptstraße 5|»10115 Berlin|");
        auto row = [](const char* name, const QStringList& o, const QString& expected, bool onTemplate = false) {
            QTest::newRow(name) << o << onTemplate << letterText(expected);
        };
        // Title and salutation tables.
        struct TitleRow {
            const char* title;
            const char* line;
            const char* salutation;
        };
        // Every title of the tables, and one they do not know.
        const TitleRow titles[] = {
            {"", "", ""},
            {"Firma", "", "Sehr geehrte Damen und Herren, "},
            {"Hallo", "", "Hallo Karl,"},
            {"Herrn", "Herrn", "Sehr geehrter Herr Becker,"},
            {"Frau", "Frau", "Sehr geehrte Frau Becker,"},
            {"Frl.", "Frl.", "Sehr geehrtes Fräulein Becker,"},
            {"Frau Dr.", "Frau Dr.", "Sehr geehrte Frau Dr. Becker,"},
            {"Herr Dr.", "Herrn Dr.", "Sehr geehrter Herr Dr. Becker,"},
            {"Liebe", "Frau", "Liebe Karl,"},
            {"Lieber", "Herrn", "Lieber Karl,"},
            {"Liebe Schwester", "Frau", "Liebe Schwester,"},
            {"Lieber Bruder", "Herrn", "Lieber Bruder,"},
            {"Familie", "Familie", "Sehr geehrte Familie Becker,"},
            {"An die", "An die", "Sehr geehrte Damen und Herren, "},
            {"An das", "An das", "Sehr geehrte Damen und Herren, "},
            {"herrn", "herrn", ""},
        };
        for (const TitleRow& r : titles) {
            const QString line = QString::fromUtf8(r.line);
            const QString address = (line.isEmpty() ? QString() : QStringLiteral("»") + line + QLatin1Char('|')) + noLine;
            QTest::newRow(qPrintable(QStringLiteral("title '%1'").arg(QString::fromUtf8(r.title))))
                << QStringList{QStringLiteral("t12=") + QString::fromUtf8(r.title)} << false
                << letterText(plain(address, QString::fromUtf8(r.salutation)));
        }
        row("salutation off", {"f5=0"}, plain(herrn, {}));

        // A contact person with each contact title.
        const QString firma = QStringLiteral("»Karl Becker|»z.Hd. %1 Otto Span|»Hauptstraße 5|»10115 Berlin|");
        row("contact Herrn", {"t12=Firma", "t15=Otto Span", "t37=Herrn"},
            plain(firma.arg("Herrn"), "Sehr geehrter Herr Otto Span,"));
        row("contact Frau", {"t12=Firma", "t15=Otto Span", "t37=Frau"},
            plain(firma.arg("Frau"), "Sehr geehrte Frau Otto Span,"));
        row("contact Frl.", {"t12=Firma", "t15=Otto Span", "t37=Frl."},
            plain(firma.arg("Frl."), "Sehr geehrtes Fräulein Otto Span,"));
        row("contact Firma", {"t12=Firma", "t15=Otto Span", "t37=Firma"}, plain(firma.arg("Firma"), {}));

        // Address window on the left, streets of two lines, countries.
        row("window left", {"f3=1"}, plain("Herrn|Karl Becker|Hauptstraße 5|10115 Berlin|", "Sehr geehrter Herr Becker,"));
        row("two-line street right", {"t16=Industriestraße 44\\nHalle 2"},
            plain("»Herrn|»Karl Becker|»Industriestraße 44|»Halle 2|»10115 Berlin|", "Sehr geehrter Herr Becker,"));
        row("third street line dropped", {"t16=A\\nB\\nC"},
            plain("»Herrn|»Karl Becker|»A|»B|»10115 Berlin|", "Sehr geehrter Herr Becker,"));
        const QString foreign = QStringLiteral("»Herrn|»Karl Becker|»Hauptstraße 5|»10115 Berlin|»%1|");
        row("no code, Deutschland right", {"t20=", "t21=DeutschLand"},
            plain(foreign.arg("DEUTSCHLAND"), "Sehr geehrter Herr Becker,"));
        row("code d is not D", {"t20=d", "t21=Deutschland"},
            plain(foreign.arg("DEUTSCHLAND"), "Sehr geehrter Herr Becker,"));
        row("code CH, no country", {"t20=CH", "t21="}, plain(herrn, "Sehr geehrter Herr Becker,"));

        // References at their limits, subject, reference, member number.
        const QString middle =
            kHead + herrn + kDate + QStringLiteral("%1||%2|%3||Sehr geehrter Herr Becker,") + kCloseNoBody;
        row("reference of 30", {"t25=" + QString(30, 'x'), "t26=yz"},
            middle.arg("Unser Zeichen: " + QString(30, 'x') + "Ihr Zeichen: yz", "", ""));
        row("reference of 31", {"t25=" + QString(31, 'x')},
            middle.arg("Unser Zeichen: " + QString(31, 'x') + "Ihr Zeichen: ", "", ""));
        row("subject, regarding, member", {"t27=Angebot", "t28=Ihr Brief", "t40=1001"},
            middle.arg("", "Betreff: Angebot||Bezug: Ihr Brief|", "Mitglieds-Nr.: 1001|"));

        // Body, closing, attachments.
        const QString tail = kHead + herrn + kDate + QStringLiteral("|||||Sehr geehrter Herr Becker,||%1||%2||||%3");
        row("body", {"t38=3", "t31=Danke.\\nGruß", "t29=Liberation Mono", "t30=9"},
            tail.arg("Danke.|Gruß", "Mit freundlichen Grüßen", ""));
        row("block number not a number", {"t38=x", "t31=Danke."}, tail.arg("", "Mit freundlichen Grüßen", ""));
        row("closing off, attachments", {"f12=0", "f13=1", "t33=Rechnung"}, tail.arg("", "", "Anlage(n): Rechnung"));
        row("sizes that do not fit", {"t17=abc", "t11=0", "t24=", "t4=rot"}, plain(herrn, "Sehr geehrter Herr Becker,"));

        // Letterhead and sender line.
        const QString sender = QStringLiteral("Maria Muster|Lindenweg 12|79098 Freiburg||");
        const QString after = QStringLiteral("|»M. Muster · Lindenweg 12||") + herrn + kDate +
                              QStringLiteral("|||||Sehr geehrter Herr Becker,") + kCloseNoBody;
        const QStringList head{
            "f2=1", "f4=1", "t10=M. Muster · Lindenweg 12", "t34=Maria Muster", "t35=Lindenweg 12", "t36=79098 Freiburg"};
        row("letterhead full", head + QStringList{"t5=12 34", "t6=0761 1", "t7=0761 2", "t8=m@x.de", "t9=x.de"},
            "Maria Muster|Lindenweg 12|Postfach: 12 34|79098 Freiburg||Tel.: 0761 1|Fax.: 0761 "
            "2|eMail.: m@x.de|Internet: x.de|" +
                after);
        row("on template", {}, "Briefkopf|" + plain(herrn, "Sehr geehrter Herr Becker,").mid(kHead.size()), true);
    }

    void completeText()
    {
        QFETCH(QStringList, overrides);
        QFETCH(bool, onTemplate);
        AppState a = baseLetter();
        apply(a, overrides);
        const auto before = a.LetterText;
        TextControl s;
        if (onTemplate) {
            s.setText(QStringLiteral("Briefkopf"));
            LetterAssembly::buildOnTemplate(s, a, kToday);
        } else {
            LetterAssembly::buildLetter(s, a, kToday);
        }
        QTEST(s.Text(), "expected");
        QCOMPARE(s.SelStart(), 0);
        QCOMPARE(a.LetterText, before);
        if (!onTemplate)
            QCOMPARE(s.PageMarginT(), 964); // 17 mm
    }

    void fonts_data()
    {
        addColumns<QStringList, QString, QString, double, bool, bool>(
            "overrides", "text", "font", "size", "bold", "italic");

        const QStringList body{"t38=1", "t31=Rumpf", "t29=Liberation Mono", "t30=9", "f8=0", "f9=1", "t39=255"};
        QTest::newRow("name right") << QStringList{} << "Karl"
                                    << "Liberation Serif" << 12.0 << true << false;
        QTest::newRow("sender line") << QStringList{"f4=1", "t10=Absender"} << "Absender"
                                     << "Liberation Serif" << 7.0 << false << false;
        QTest::newRow("body") << body << "Rumpf"
                              << "Liberation Mono" << 9.0 << false << true;
        QTest::newRow("letterhead") << QStringList{"f2=1", "t34=Maria"} << "Maria"
                                    << "Liberation Serif" << 14.0 << false << false;
    }

    void fonts()
    {
        QFETCH(QStringList, overrides);
        QFETCH(QString, text);
        AppState a = baseLetter();
        apply(a, overrides);
        TextControl s;
        LetterAssembly::buildLetter(s, a, kToday);
        const QTextCharFormat f = formatAt(s, text);
        QTEST(f.fontFamilies().toStringList().value(0), "font");
        QTEST(f.fontPointSize(), "size");
        QTEST(f.fontWeight() >= QFont::Bold, "bold");
        QTEST(f.fontItalic(), "italic");
        if (text == u"Rumpf")
            QCOMPARE(f.foreground().color(), QColor(255, 0, 0));
        else
            QCOMPARE(f.foreground().color(), QColor(0, 0, 0));
    }

    // Serial letters measure the address into the window once for a letterhead: the
    // next letter takes the same place only when everything above its address is the
    // same, and always starts at the window's top (45 mm) when the letterhead leaves room.
    void placementKeptForSameLetterhead_data()
    {
        // first, second: overrides of the two letters; top: second address, mm (-1: not
        // checked); measured: how often the place was measured
        addColumns<QStringList, QStringList, double, int>("first", "second", "top", "measured");
        const QStringList head{"t1=10", "t3=10", "t34=Maria Muster", "t35=Lindenweg 12", "t36=79098 Freiburg"};
        QTest::newRow("other address") << head << QStringList{"t12=Frau", "t20=A", "t21=Österreich"} << 45.0 << 1;
        QTest::newRow("line more above") << head << QStringList{"t5=Postfach 12 34"} << 45.0 << 2;
        QTest::newRow("larger letterhead font") << head << QStringList{"t3=12"} << 45.0 << 2;
        QTest::newRow("other top margin") << head << QStringList{"t1=20"} << 45.0 << 2;
        QTest::newRow("other letterhead font") << head << QStringList{"t2=DejaVu Sans Mono"} << 45.0 << 2;
        // Text reaching into the field: the place depends on each address's own height.
        const QStringList deep{"t1=40", "t3=14", "t6=0761 1", "t7=0761 2", "t8=m@x.de"};
        QTest::newRow("letterhead into the field") << head + deep << QStringList{} << -1.0 << 2;
    }

    void placementKeptForSameLetterhead()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        AddressPlacement::Memo memo;
        LetterAssembly::Variant v;
        v.alwaysLetterhead = true;
        v.placement = &memo;
        TextControl s;
        AppState a = baseLetter();
        apply(a, first);
        LetterAssembly::buildLetter(s, a, kToday, v);
        apply(a, second);
        LetterAssembly::buildLetter(s, a, kToday, v);
        QTEST(memo.measured(), "measured");
        QFETCH(double, top);
        if (top < 0)
            return;
        const double at = printedTopMm(s, a.LetterText[12]);
        QVERIFY2(qAbs(at - top) <= 0.05, qPrintable(QString::number(at)));
    }

    void toolbarRefreshOffAfterwards()
    {
        AppState a = baseLetter();
        TextControl s;
        LetterAssembly::buildLetter(s, a, kToday);
        QVERIFY(!a.ToolbarRefreshOff);
        // The whole letter is one step to undo.
        s.Undo();
        QCOMPARE(s.Text(), QString());

        // A cancelled composer builds nothing.
        TextControl empty;
        a.LetterCancelled = true;
        LetterAssembly::buildLetter(empty, a, kToday);
        QCOMPARE(empty.Text(), QString());
    }
};

QTEST_MAIN(TestLetterAssembly)
#include "tst_letterassembly.moc"
