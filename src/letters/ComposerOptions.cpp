#include "ComposerOptions.h"

#include "addresses/FieldBinder.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"
#include "textblocks/FontTextFile.h"

#include <QFileInfo>

namespace ComposerOptions {

namespace {

// The composer puts its defaults into the two distance fields when they are empty or
// a single blank.
QString orDefault(const QString& value, const char* fallback)
{
    return value.isEmpty() || value == u" " ? QString::fromLatin1(fallback) : value;
}

} // namespace

bool load(const QString& databasePath, const QString& workFolder, ComposerInput* in, QString* error)
{
    RecordSource sender;
    RecordSource options;
    if (!sender.open(databasePath, Queries::letterheadTable()) ||
        !options.open(databasePath, Queries::optionsTable())) {
        *error = sender.lastError().isEmpty() ? options.lastError() : sender.lastError();
        return false;
    }
    sender.moveFirst();
    options.moveFirst();
    in->SenderName = sender.field(QStringLiteral("BriefKName"));
    in->SenderStreet = sender.field(QStringLiteral("BriefKStraße"));
    in->SenderCity = sender.field(QStringLiteral("BriefKOrt"));
    in->SenderPhone = sender.field(QStringLiteral("BriefKTel"));
    in->SenderFax = sender.field(QStringLiteral("Fax"));
    in->SenderMail = sender.field(QStringLiteral("eMail"));
    in->SenderInternet = sender.field(QStringLiteral("Internet"));
    in->SenderPostBox = sender.field(QStringLiteral("Postfach"));
    in->SenderWindowLine = sender.field(QStringLiteral("AbsFenster"));
    in->HeadFont = sender.field(QStringLiteral("Schrift"));
    in->HeadSize = sender.field(QStringLiteral("SchriftSize"));

    in->AddressWindowLeft = FieldBinder::isYes(options.field(QStringLiteral("Freizjn")));
    in->HeadTopMm = orDefault(options.field(QStringLiteral("Freiztxt")), "17");
    in->AddressIndentMm = orDefault(options.field(QStringLiteral("Freiytxt")), "90");

    if (LetterTextFont font; FontTextFile::read(workFolder, &font)) {
        in->TextFont = font.Name;
        in->TextSize = LetterInput::numericText(font.Size);
    }
    return true;
}

void setRecipient(ComposerInput& in, const RecordSource& a)
{
    in.Title = a.field(QStringLiteral("Anrede"));
    in.FirstName = a.field(QStringLiteral("Vorname"));
    in.LastName = a.field(QStringLiteral("Nachname"));
    in.ContactTitle = a.field(QStringLiteral("AnredezHd"));
    in.ContactName = a.field(QStringLiteral("NamezHd"));
    in.Street = a.field(QStringLiteral("Adresse"));
    in.PostCode = a.field(QStringLiteral("Postleitzahl"));
    in.City = a.field(QStringLiteral("Ort"));
    in.CountryCode = a.field(QStringLiteral("LaenderKZ"));
    in.Country = a.field(QStringLiteral("Land"));
    in.MemberNumber = a.field(QStringLiteral("MitgliedsNr"));
}

} // namespace ComposerOptions
