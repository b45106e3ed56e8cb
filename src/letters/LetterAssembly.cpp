#include "LetterAssembly.h"

#include "AddressPlacement.h"
#include "LetterTables.h"

#include "app/AppState.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"
#include "textblocks/TextBlockFile.h"

#include <QColor>

namespace LetterAssembly {

namespace {

const QString LB = QStringLiteral("\r\n");
constexpr double TwipsPerMm = 56.7;

// Letter slots by their meaning.
enum Slot {
    HeadTopMm = 1,
    HeadFontName,
    HeadFontSize,
    TextColour,
    SenderPostBox,
    SenderPhone,
    SenderFax,
    SenderMail,
    SenderInternet,
    SenderWindowLine,
    AddressFontSizeLeft,
    Title,
    FirstName,
    LastName,
    ContactName,
    Street,
    AddressFontSize,
    PostCode,
    City,
    CountryCode,
    Country,
    AddressIndentMm,
    TextFontName,
    TextFontSize,
    OurReference,
    YourReference,
    Subject,
    RegardingLine,
    BlockFontName,
    BlockFontSize,
    BlockText,
    Closing,
    Attachments,
    SenderName,
    SenderStreet,
    SenderCity,
    ContactTitle,
    BlockNumber,
    BlockColour,
    MemberNumber
};
enum Flag {
    HeadBold = 1,
    ShowLetterhead,
    AddressWindowLeft,
    ShowSenderWindowLine,
    UseSalutation,
    BlockBold = 8,
    BlockItalic,
    BlockUnderline,
    BlockStrikethru,
    UseClosing,
    UseAttachments
};

// A slot read as a number; false when it holds none.
bool number(const QString& text, double* value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok;
}

// The writing steps, each skipped when its value does not fit.
class Writer {
public:
    Writer(TextControl& s, const AppState& app) : s(s), t(app.LetterText), f(app.LetterFlags) {}

    void write(const QString& text) { s.setSelText(text); }
    void fontName(const QString& name)
    {
        if (!name.trimmed().isEmpty())
            s.setFontName(name);
    }
    void fontSize(const QString& points)
    {
        double v = 0;
        if (number(points, &v) && v > 0)
            s.setFontSize(v);
    }
    void colour(const QString& colourNumber)
    {
        double v = 0;
        if (!number(colourNumber, &v) || v < 0 || v > 0xFFFFFF)
            return;
        int r = 0, g = 0, b = 0;
        TextBlockFile::colourParts(qint32(v), &r, &g, &b);
        s.setForeColor(QColor(r, g, b));
    }
    // Lengths in millimetres become twips.
    bool twips(const QString& mm, int* out) const
    {
        double v = 0;
        if (!number(mm, &v) || v < 0)
            return false;
        *out = qRound(v * TwipsPerMm);
        return true;
    }

    TextControl& s;
    const std::array<QString, 42>& t;
    const std::array<bool, 15>& f;
};

void writeLetterhead(Writer& w, const Variant& v)
{
    const auto& t = w.t;
    if (!w.f[ShowLetterhead] && !v.alwaysLetterhead) {
        w.write(LB.repeated(9));
        return;
    }
    w.s.setAlignment(w.f[AddressWindowLeft] ? 1 : 0);
    w.write(t[SenderName] + LB);
    w.write(t[SenderStreet] + LB);
    if (!t[SenderPostBox].isEmpty())
        w.write(QStringLiteral("Postfach: ") + t[SenderPostBox] + LB);
    w.write(t[SenderCity] + LB + LB);
    if (!t[SenderPhone].isEmpty())
        w.write(QStringLiteral("Tel.: ") + t[SenderPhone] + LB);
    if (!t[SenderFax].isEmpty())
        w.write(QStringLiteral("Fax.: ") + t[SenderFax] + LB);
    if (!t[SenderMail].isEmpty())
        w.write(QStringLiteral("eMail.: ") + t[SenderMail] + LB);
    if (!t[SenderInternet].isEmpty())
        w.write(QStringLiteral("Internet: ") + t[SenderInternet] + LB);
}

// Tab stop 4 marks the address's left edge. A fresh paragraph of the surface has no
// stops, so the three before it are spread evenly up to the edge: four tabs then
// always reach it.
void setAddressTab(TextControl& s, int edge)
{
    for (int i = s.TabCount() + 1; i < 4; ++i) {
        s.setTabCurrent(i);
        s.setTabPos(edge * i / 4);
    }
    s.setTabCurrent(4);
    s.setTabType(1);
    s.setTabPos(edge);
}

// Returns false when the block could not be put into the address window.
bool writeAddressBlock(Writer& w, const Variant& v)
{
    const auto& t = w.t;
    const int start = w.s.SelStart();
    const bool left = w.f[AddressWindowLeft];
    const QString P = left ? QString() : QStringLiteral("\t\t\t\t");

    int edge = 0;
    if (!left && w.twips(t[AddressIndentMm], &edge) && edge > 0)
        setAddressTab(w.s, edge);
    if (w.f[ShowSenderWindowLine]) {
        w.s.setFontSize(7);
        w.write(P + t[SenderWindowLine] + LB + LB);
    }
    w.fontSize(left ? t[AddressFontSizeLeft] : t[AddressFontSize]);
    w.s.setFontBold(true);

    const QString above = v.companyLine && t[Title] == u"Firma" ? QStringLiteral("Firma ")
                                                                  : LetterTables::titleLine(t[Title]);
    if (!above.isEmpty())
        w.write(P + above + LB);
    w.write(P + t[FirstName] + QLatin1Char(' ') + t[LastName] + LB);
    if (!t[ContactName].isEmpty())
        w.write(P + QStringLiteral("z.Hd. ") + t[ContactTitle] + QLatin1Char(' ') + t[ContactName] + LB);

    if (left) {
        w.write(t[Street]);
    } else if (!LetterTables::hasLineBreak(t[Street])) {
        w.write(P + t[Street]);
    } else {
        const LetterTables::StreetLines lines = LetterTables::splitStreet(t[Street]);
        w.write(P + lines.line1);
        if (!lines.line2.isEmpty() && lines.line2 != u" ")
            w.write(LB + P + lines.line2);
    }
    // The street line ends in 6 pt, a little gap before the town.
    w.s.setFontSize(6);
    w.write(LB);
    w.fontSize(t[AddressFontSize]);
    w.write(P + t[PostCode] + QLatin1Char(' ') + t[City] + LB);

    const QString& country = t[Country];
    if (t[CountryCode] != u"D" && !country.isEmpty() && (!left || country.toLower() != u"deutschland"))
        w.write(P + country.toUpper() + LB);
    // Placed once it is whole, so that no later paragraph inherits its space.
    if (v.placement) {
        AddressPlacement::placeInWindow(w.s, start, w.s.SelStart(), *v.placement);
        return true;
    }
    return AddressPlacement::moveToWindow(w.s, start, w.s.SelStart());
}

} // namespace

namespace {

void writeDateAndReferences(Writer& w, const Variant& v, const QString& date)
{
    const auto& t = w.t;
    const bool references = !t[OurReference].isEmpty() || !t[YourReference].isEmpty();
    if (v.referencesBesideDate) {
        if (references)
            w.write(QStringLiteral("Unser Zeichen:\t\tIhr Zeichen:\t\t"));
        w.s.setAlignment(1);
        w.write(date);
        if (references)
            w.write(LB + t[OurReference] + QStringLiteral("\t\t\t") + t[YourReference]);
        w.write(LB + LB);
        w.s.setAlignment(0);
        return;
    }
    w.s.setAlignment(1);
    w.write(date);
    w.write(LB + LB + LB);
    w.s.setAlignment(0);
    if (references)
        w.write(LetterTables::referenceLine(t[OurReference], t[YourReference]));
    w.write(LB + LB);
}

} // namespace

bool writeAddressToEnd(TextControl& s, AppState& app, const QDate& today, const Variant& v)
{
    Writer w(s, app);
    const auto& t = app.LetterText;
    const auto& f = app.LetterFlags;

    const bool inWindow = writeAddressBlock(w, v);

    w.fontName(t[TextFontName]);
    w.fontSize(t[TextFontSize]);
    s.setFontBold(false);

    w.write(LB + LB + LB);
    writeDateAndReferences(w, v, v.date.isEmpty() ? LetterTables::longDate(today) : v.date);

    s.setAlignment(0);
    if (!t[Subject].isEmpty()) {
        w.write(v.subjectPrefix ? QStringLiteral("Betreff: ") + t[Subject] : t[Subject]);
        s.setFontBold(false);
        w.write(LB + LB);
    }
    if (!t[RegardingLine].isEmpty())
        w.write(QStringLiteral("Bezug: ") + t[RegardingLine] + LB);
    w.write(LB);
    if (!t[MemberNumber].isEmpty())
        w.write(QStringLiteral("Mitglieds-Nr.: ") + t[MemberNumber] + LB);
    w.write(LB + LB);

    if (f[UseSalutation]) {
        const QString line = t[ContactName].isEmpty()
                                 ? LetterTables::salutation(t[Title], t[FirstName], t[LastName])
                                 : LetterTables::contactSalutation(t[ContactTitle], t[ContactName]);
        if (!line.isEmpty())
            w.write(line + LB);
    }
    w.write(LB);

    if (v.body)
        v.body(s);
    double block = 0;
    if (number(t[BlockNumber], &block) && block > 0) {
        w.fontName(t[BlockFontName]);
        w.fontSize(t[BlockFontSize]);
        s.setFontBold(f[BlockBold]);
        s.setFontItalic(f[BlockItalic]);
        s.setFontUnderline(f[BlockUnderline]);
        s.setFontStrikethru(f[BlockStrikethru]);
        w.colour(t[BlockColour]);
        w.write(t[BlockText]);
        w.fontName(t[HeadFontName]);
        w.fontSize(t[AddressFontSize]);
        s.setFontBold(f[HeadBold]);
        s.setFontItalic(false);
        s.setFontUnderline(false);
        s.setFontStrikethru(false);
        w.colour(t[TextColour]);
    }

    app.ToolbarRefreshOff = false;
    w.write(LB + LB);
    if (f[UseClosing])
        w.write(t[Closing]);
    w.write(LB + LB + LB + LB);
    if (f[UseAttachments])
        w.write(QStringLiteral("Anlage(n): ") + t[Attachments]);

    s.setSelStart(0);
    s.setSelLength(0);
    app.ToolbarRefreshOff = false;
    return inWindow;
}

bool buildLetter(TextControl& s, AppState& app, const QDate& today)
{
    if (app.LetterCancelled)
        return true;
    return buildLetter(s, app, today, Variant{});
}

bool buildLetter(TextControl& s, AppState& app, const QDate& today, const Variant& v)
{
    app.ToolbarRefreshOff = true;
    Writer w(s, app);
    s.beginEditStep(UndoKindTracker::Other);
    int top = 0;
    if (w.twips(app.LetterText[HeadTopMm], &top))
        s.setPageMarginT(top);
    s.setText(QString());
    w.fontName(app.LetterText[HeadFontName]);
    w.fontSize(app.LetterText[HeadFontSize]);
    s.setFontBold(app.LetterFlags[HeadBold]);
    w.colour(app.LetterText[TextColour]);
    writeLetterhead(w, v);
    s.setAlignment(0);
    w.write(LB);
    const bool inWindow = writeAddressToEnd(s, app, today, v);
    s.endEditStep();
    return inWindow;
}

bool buildOnTemplate(TextControl& s, AppState& app, const QDate& today, const Variant& v)
{
    Writer w(s, app);
    s.beginEditStep(UndoKindTracker::Other);
    const int end = int(s.Text().size());
    s.setSelStart(end);
    s.setSelLength(0);
    w.fontSize(app.LetterText[HeadFontSize]);
    s.setAlignment(0);
    w.write(LB);
    s.setFontBold(false);
    const bool inWindow = writeAddressToEnd(s, app, today, v);
    s.endEditStep();
    return inWindow;
}

} // namespace LetterAssembly
