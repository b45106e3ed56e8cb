#include "LetterInput.h"

#include "app/AppState.h"
#include "textblocks/TextBlockFile.h"

#include <QDir>
#include <QRegularExpression>

namespace LetterInput {

QString numericText(const QString& text)
{
    static const QRegularExpression leading(QStringLiteral(R"(^\s*([+-]?\d*\.?\d+))"));
    const auto m = leading.match(text);
    if (!m.hasMatch())
        return QStringLiteral("0");
    return QString::number(m.captured(1).toDouble(), 'g', 15);
}

bool fill(const ComposerInput& in, AppState& app)
{
    auto& t = app.LetterText;
    auto& f = app.LetterFlags;
    if (in.UseOwnTemplate)
        app.UseOwnTemplate = true;

    t[1] = numericText(in.HeadTopMm);
    t[2] = in.HeadFont;
    t[3] = numericText(in.HeadSize);
    f[1] = false;
    t[4] = QStringLiteral("0");
    f[2] = in.ShowLetterhead;
    f[3] = in.AddressWindowLeft;
    t[34] = in.SenderName;
    t[35] = in.SenderStreet;
    t[36] = in.SenderCity;
    t[5] = in.SenderPostBox;
    t[6] = in.SenderPhone;
    t[7] = in.SenderFax;
    t[8] = in.SenderMail;
    t[9] = in.SenderInternet;
    f[4] = in.ShowSenderWindowLine;
    t[10] = in.SenderWindowLine;
    t[11] = in.HeadSize;
    t[12] = in.Title;
    t[13] = in.FirstName;
    t[14] = in.LastName;
    t[15] = in.ContactName;
    t[16] = in.Street;
    t[17] = in.HeadSize;
    t[18] = in.PostCode;
    t[19] = in.City;
    t[20] = in.CountryCode;
    t[21] = in.Country;
    t[37] = in.ContactTitle;
    t[22] = numericText(in.AddressIndentMm);
    t[23] = in.TextFont;
    t[24] = in.TextSize;
    t[25] = in.OurReference;
    t[26] = in.YourReference;
    t[27] = in.Subject;
    t[28] = in.RegardingLine;
    f[5] = in.UseSalutation;
    t[38] = QString::number(in.BlockNumber);
    // Unticked, no member number: the previous letter's must never reach another person.
    t[40] = in.UseMemberNumber ? in.MemberNumber : QString();

    std::optional<TextBlock> block;
    bool readFailed = false;
    if (in.BlockNumber > 0) {
        QDir::setCurrent(app.WorkFolder);
        if (TextBlockFile::exists(app.WorkFolder, in.BlockNumber)) {
            block = TextBlockFile::read(app.WorkFolder, in.BlockNumber);
            readFailed = !block;
        }
    }
    const TextBlock b = block.value_or(TextBlock{});
    t[31] = b.Text;
    t[29] = b.FontName;
    t[30] = QString::number(b.FontSize, 'g', 15);
    f[8] = b.Bold;
    f[9] = b.Italic;
    f[10] = b.Underline;
    f[11] = b.Strikethru;
    t[39] = QString::number(b.Colour);

    f[12] = in.UseClosing;
    t[32] = in.Closing;
    f[13] = in.UseAttachments;
    t[33] = in.Attachments;
    return !readFailed;
}

} // namespace LetterInput
