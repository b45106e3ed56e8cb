// One serial letter written into a surface: the complete text for a private address
// and a company, with references, member number, common text and text block, and a
// chosen block whose file is missing.
#include "TestFiles.h"
#include "app/AppState.h"
#include "engine/TextControl.h"
#include "output/SerialLetter.h"
#include "textblocks/TextBlockFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// "|" stands for a line break, "»" for the four tabs of the right address window.
QString expand(QString s)
{
    s.replace(QStringLiteral("|"), QStringLiteral("\r\n"));
    s.replace(QStringLiteral("»"), QStringLiteral("\t\t\t\t"));
    return s;
}

ComposerInput clubSender()
{
    ComposerInput in;
    in.SenderName = QStringLiteral("Verein e.V.");
    in.SenderStreet = QStringLiteral("Am Markt 1");
    in.SenderCity = QStringLiteral("12345 Musterstadt");
    in.SenderPhone = QStringLiteral("0123 456");
    // The window has no letterhead switch: the sender block comes all the same.
    in.ShowLetterhead = false;
    return in;
}

const QString kHead = QStringLiteral("Verein e.V.|Am Markt 1|12345 Musterstadt||Tel.: 0123 456||");

} // namespace

class TestSerialLetter : public QObject {
    Q_OBJECT
private slots:
    void completeText_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("private, references, member number, block")
            << "private"
            << kHead + "»Herrn|»Karl Becker|»Hauptstraße 5|»10115 Berlin||||"
                       "Unser Zeichen:\t\tIhr Zeichen:\t\t05. März 2026|AB\t\t\t||Einladung|||"
                       "Mitglieds-Nr.: 42|||Sehr geehrter Herr Becker,||Wir laden ein.|Bis bald.Ihr Vorstand"
                       "||Mit freundlichen Grüßen||||"
            << QString();
        QTest::newRow("company, typed date, missing block")
            << "company"
            << kHead + "»Firma |»Müller & Söhne GmbH|»Industriestr. 7|»1010 Wien|»ÖSTERREICH||||"
                       "1. April 2026|||||Sehr geehrte Damen und Herren, ||Wir laden ein.|Bis bald."
                       "||Viele Grüße||||Anlage(n): Satzung"
            << "Der Textbaustein 3 existiert nicht! Sie müssen ihn erst anlegen.";
    }
    void completeText()
    {
        QFETCH(QString, who);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        QTemporaryDir work;
        AppState app;
        app.WorkFolder = work.path() + QLatin1Char('/');
        TextBlock block;
        block.Text = QStringLiteral("Ihr Vorstand");
        block.FontName = QStringLiteral("DejaVu Sans");
        block.FontSize = 11;
        QVERIFY(TextBlockFile::write(app.WorkFolder, 2, block));
        ScriptedPrompter* prompts = installScriptedPrompter();

        ComposerInput in = clubSender();
        SerialLetter::Options o;
        o.today = QDate(2026, 3, 5);
        if (who == u"private") {
            in.Title = QStringLiteral("Herrn");
            in.FirstName = QStringLiteral("Karl");
            in.LastName = QStringLiteral("Becker");
            in.Street = QStringLiteral("Hauptstraße 5");
            in.PostCode = QStringLiteral("10115");
            in.City = QStringLiteral("Berlin");
            in.CountryCode = QStringLiteral("D");
            in.Country = QStringLiteral("Deutschland");
            in.UseMemberNumber = true;
            in.MemberNumber = QStringLiteral("42");
            in.OurReference = QStringLiteral("AB");
            in.Subject = QStringLiteral("Einladung");
            in.BlockNumber = 2;
        } else {
            in.Title = QStringLiteral("Firma");
            in.FirstName = QStringLiteral("Müller &");
            in.LastName = QStringLiteral("Söhne GmbH");
            in.Street = QStringLiteral("Industriestr. 7");
            in.PostCode = QStringLiteral("1010");
            in.City = QStringLiteral("Wien");
            in.CountryCode = QStringLiteral("A");
            in.Country = QStringLiteral("Österreich");
            in.MemberNumber = QStringLiteral("7"); // box unticked: not written
            in.Closing = QStringLiteral("Viele Grüße");
            in.UseAttachments = true;
            in.Attachments = QStringLiteral("Satzung");
            in.BlockNumber = 3;
            o.date = QStringLiteral("1. April 2026");
        }
        // The previous letter's member number must not carry over.
        app.LetterText[40] = QStringLiteral("99");

        TextControl s;
        const auto text = SerialLetter::CommonText::fromPlainText(QStringLiteral("Wir laden ein.\nBis bald."));
        const bool found = SerialLetter::write(s, app, in, text, o);
        QCOMPARE(s.Text(), expand(expected));
        QCOMPARE(found, message.isEmpty());
        QCOMPARE(prompts->asked.isEmpty() ? QString() : prompts->last().text, message);
        QCOMPARE(s.SelStart(), 0);
    }
};

QTEST_MAIN(TestSerialLetter)
#include "tst_serialletter.moc"
