#include "CssColours.h"

#include <QRegularExpression>
#include <QStringList>

namespace CssColours {

namespace {

// CSS system colours name the desktop's colours; on paper the text's default and the
// white page stand for them.
bool isSystemColour(QStringView name)
{
    static const QStringList names{
        QStringLiteral("activeborder"), QStringLiteral("activecaption"), QStringLiteral("activetext"),
        QStringLiteral("appworkspace"), QStringLiteral("background"), QStringLiteral("buttonborder"),
        QStringLiteral("buttonface"), QStringLiteral("buttonhighlight"), QStringLiteral("buttonshadow"),
        QStringLiteral("buttontext"), QStringLiteral("canvas"), QStringLiteral("canvastext"),
        QStringLiteral("captiontext"), QStringLiteral("field"), QStringLiteral("fieldtext"),
        QStringLiteral("graytext"), QStringLiteral("highlight"), QStringLiteral("highlighttext"),
        QStringLiteral("inactiveborder"), QStringLiteral("inactivecaption"), QStringLiteral("inactivecaptiontext"),
        QStringLiteral("infobackground"), QStringLiteral("infotext"), QStringLiteral("linktext"),
        QStringLiteral("mark"), QStringLiteral("marktext"), QStringLiteral("menu"), QStringLiteral("menutext"),
        QStringLiteral("scrollbar"), QStringLiteral("threeddarkshadow"), QStringLiteral("threedface"),
        QStringLiteral("threedhighlight"), QStringLiteral("threedlightshadow"), QStringLiteral("threedshadow"),
        QStringLiteral("visitedtext"), QStringLiteral("window"), QStringLiteral("windowframe"),
        QStringLiteral("windowtext"), QStringLiteral("accentcolor"), QStringLiteral("accentcolortext"),
        QStringLiteral("selecteditem"), QStringLiteral("selecteditemtext")};
    return names.contains(name.toString());
}

// One number of rgb()/hsl(): percentages scaled to `full`.
double component(QString s, double full)
{
    s = s.trimmed();
    if (s.endsWith(QLatin1Char('%')))
        return s.chopped(1).toDouble() * full / 100.0;
    if (s.endsWith(u"deg"))
        s.chop(3);
    return s.toDouble();
}

QColor fromFunction(const QString& name, const QString& args)
{
    // Commas or blanks between the numbers, the alpha after a comma or "/".
    QString a = args;
    a.replace(QLatin1Char('/'), QLatin1Char(' '));
    a.replace(QLatin1Char(','), QLatin1Char(' '));
    const QStringList n = a.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (n.size() < 3)
        return {};
    const double alpha = n.size() > 3 ? qBound(0.0, component(n[3], 1.0), 1.0) : 1.0;
    QColor c;
    if (name.startsWith(u"rgb")) {
        c = QColor::fromRgbF(qBound(0.0, component(n[0], 255) / 255, 1.0), qBound(0.0, component(n[1], 255) / 255, 1.0),
                             qBound(0.0, component(n[2], 255) / 255, 1.0));
    } else if (name.startsWith(u"hsl")) {
        double h = std::fmod(component(n[0], 360), 360.0);
        if (h < 0)
            h += 360;
        c = QColor::fromHslF(h / 360.0, qBound(0.0, component(n[1], 1.0), 1.0), qBound(0.0, component(n[2], 1.0), 1.0));
    } else {
        return {};
    }
    c.setAlphaF(alpha);
    return c;
}

QColor fromHex(QStringView hex)
{
    QString h = hex.toString();
    if (h.size() == 3 || h.size() == 4) { // #rgb, #rgba
        QString wide;
        for (QChar ch : h)
            wide += QString(2, ch);
        h = wide;
    }
    bool ok = false;
    const uint v = h.toUInt(&ok, 16);
    if (!ok)
        return {};
    if (h.size() == 6)
        return QColor::fromRgb(QRgb(0xFF000000 | v));
    if (h.size() == 8) // CSS puts the alpha last
        return QColor((v >> 24) & 0xFF, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return {};
}

// Part transparency over the white page.
QColor onWhite(const QColor& c)
{
    const double a = c.alphaF();
    auto mix = [a](int v) { return qRound(v * a + 255 * (1 - a)); };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

} // namespace

QColor parse(QStringView value, bool* none)
{
    *none = false;
    QString v = value.toString().toLower();
    v.remove(QStringLiteral("!important"));
    static const QRegularExpression token(QStringLiteral("([a-z-]+)\\(([^)]*)\\)|#([0-9a-f]+)|([a-z-]+)"));
    for (auto it = token.globalMatch(v); it.hasNext();) {
        const auto m = it.next();
        QColor c;
        if (!m.captured(1).isEmpty()) {
            if (m.captured(1) == u"url")
                continue;
            c = fromFunction(m.captured(1), m.captured(2));
        } else if (!m.captured(3).isEmpty()) {
            c = fromHex(m.captured(3));
        } else {
            const QString word = m.captured(4);
            if (word == u"transparent" || word == u"none" || word == u"inherit" || word == u"initial" || word == u"unset"
                || word == u"revert" || word == u"currentcolor" || isSystemColour(word)) {
                *none = true;
                return {};
            }
            if (word == u"rebeccapurple")
                c = QColor(0x66, 0x33, 0x99);
            else if (QColor::isValidColorName(word))
                c = QColor::fromString(word);
        }
        if (!c.isValid())
            continue;
        if (c.alpha() == 0) {
            *none = true;
            return {};
        }
        return c.alpha() < 255 ? onWhite(c) : c;
    }
    return {};
}

namespace {

QString rewriteDeclarations(const QString& css, bool* pictures)
{
    static const QRegularExpression picture(QStringLiteral("background(-image)?\\s*:[^;\"'{}]*url\\("),
                                            QRegularExpression::CaseInsensitiveOption);
    if (pictures && picture.match(css).hasMatch())
        *pictures = true;
    static const QRegularExpression decl(
        QStringLiteral("(?<![\\w-])(color|background-color|background-image|background)\\s*:\\s*((?:url\\([^)]*\\)|[^;\"'{}<>])*)"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype from = 0;
    for (auto it = decl.globalMatch(css); it.hasNext();) {
        const auto m = it.next();
        bool none = false;
        // Qt would tile a background picture behind the text although the user is told
        // that pictures in backgrounds are left out: the picture goes, a colour stays.
        const bool image = m.captured(1).compare(u"background-image", Qt::CaseInsensitive) == 0;
        const QColor c = image ? QColor() : parse(m.capturedView(2), &none);
        if (!image && !none && !c.isValid() && !m.capturedView(2).contains(u"url(", Qt::CaseInsensitive))
            continue; // no colour in it: as written
        out += QStringView(css).mid(from, m.capturedStart() - from);
        // A colour that paints nothing loses its declaration.
        if (!none && c.isValid()) {
            const QString prop = m.captured(1).toLower() == u"color" ? QStringLiteral("color")
                                                                      : QStringLiteral("background-color");
            out += prop + QStringLiteral(": ") + c.name(QColor::HexRgb);
        }
        from = m.capturedEnd();
    }
    out += QStringView(css).mid(from);
    return out;
}

} // namespace

QString normalise(const QString& html, bool* pictures)
{
    static const QRegularExpression place(
        QStringLiteral("(<style[^>]*>)(.*?)(</style>)|(\\bstyle\\s*=\\s*)(\"[^\"]*\"|'[^']*')"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    QString out;
    out.reserve(html.size());
    qsizetype from = 0;
    for (auto it = place.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(html).mid(from, m.capturedStart() - from);
        if (!m.captured(1).isEmpty())
            out += m.captured(1) + rewriteDeclarations(m.captured(2), pictures) + m.captured(3);
        else
            out += m.captured(4) + rewriteDeclarations(m.captured(5), pictures);
        from = m.capturedEnd();
    }
    out += QStringView(html).mid(from);
    return out;
}

} // namespace CssColours
