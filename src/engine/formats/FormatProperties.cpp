#include "FormatProperties.h"

#include <QBrush>
#include <QColor>
#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QPen>
#include <QTextFormat>
#include <QTextLength>
#include <QTextOption>
#include <QUrl>

namespace FormatProperties {

namespace {

struct Named {
    int id;
    const char* name;
};

// Names for the properties the program uses; the rest keep their number.
constexpr Named kNames[] = {
    {QTextFormat::ObjectType, "objectType"},
    {QTextFormat::CssFloat, "float"},
    {QTextFormat::LayoutDirection, "layoutDirection"},
    {QTextFormat::OutlinePen, "outlinePen"},
    {QTextFormat::BackgroundBrush, "background"},
    {QTextFormat::ForegroundBrush, "foreground"},
    {QTextFormat::BackgroundImageUrl, "backgroundImage"},
    {QTextFormat::BlockAlignment, "alignment"},
    {QTextFormat::BlockTopMargin, "topMargin"},
    {QTextFormat::BlockBottomMargin, "bottomMargin"},
    {QTextFormat::BlockLeftMargin, "leftMargin"},
    {QTextFormat::BlockRightMargin, "rightMargin"},
    {QTextFormat::TextIndent, "textIndent"},
    {QTextFormat::TabPositions, "tabPositions"},
    {QTextFormat::BlockIndent, "indent"},
    {QTextFormat::LineHeight, "lineHeight"},
    {QTextFormat::LineHeightType, "lineHeightType"},
    {QTextFormat::BlockNonBreakableLines, "nonBreakableLines"},
    {QTextFormat::BlockTrailingHorizontalRulerWidth, "horizontalRuler"},
    {QTextFormat::HeadingLevel, "headingLevel"},
    {QTextFormat::BlockMarker, "marker"},
    {QTextFormat::FontFamilies, "fontFamilies"},
    {QTextFormat::FontStyleName, "fontStyleName"},
    {QTextFormat::FontPointSize, "fontPointSize"},
    {QTextFormat::FontPixelSize, "fontPixelSize"},
    {QTextFormat::FontSizeAdjustment, "fontSizeAdjustment"},
    {QTextFormat::FontFixedPitch, "fontFixedPitch"},
    {QTextFormat::FontWeight, "fontWeight"},
    {QTextFormat::FontItalic, "fontItalic"},
    {QTextFormat::FontUnderline, "fontUnderline"},
    {QTextFormat::FontOverline, "fontOverline"},
    {QTextFormat::FontStrikeOut, "fontStrikeOut"},
    {QTextFormat::FontCapitalization, "fontCapitalization"},
    {QTextFormat::FontLetterSpacing, "fontLetterSpacing"},
    {QTextFormat::FontWordSpacing, "fontWordSpacing"},
    {QTextFormat::FontStretch, "fontStretch"},
    {QTextFormat::FontKerning, "fontKerning"},
    {QTextFormat::FontHintingPreference, "fontHinting"},
    {QTextFormat::FontStyleHint, "fontStyleHint"},
    {QTextFormat::FontStyleStrategy, "fontStyleStrategy"},
    {QTextFormat::TextUnderlineColor, "underlineColor"},
    {QTextFormat::TextVerticalAlignment, "verticalAlignment"},
    {QTextFormat::TextOutline, "outline"},
    {QTextFormat::TextUnderlineStyle, "underlineStyle"},
    {QTextFormat::TextToolTip, "toolTip"},
    {QTextFormat::IsAnchor, "isAnchor"},
    {QTextFormat::AnchorHref, "anchorHref"},
    {QTextFormat::AnchorName, "anchorNames"},
    {QTextFormat::ObjectIndex, "objectIndex"},
    {QTextFormat::ListStyle, "listStyle"},
    {QTextFormat::ListIndent, "listIndent"},
    {QTextFormat::ListNumberPrefix, "listPrefix"},
    {QTextFormat::ListNumberSuffix, "listSuffix"},
    {QTextFormat::FrameBorder, "frameBorder"},
    {QTextFormat::FrameMargin, "frameMargin"},
    {QTextFormat::FramePadding, "framePadding"},
    {QTextFormat::FrameWidth, "frameWidth"},
    {QTextFormat::FrameHeight, "frameHeight"},
    {QTextFormat::FrameTopMargin, "frameTopMargin"},
    {QTextFormat::FrameBottomMargin, "frameBottomMargin"},
    {QTextFormat::FrameLeftMargin, "frameLeftMargin"},
    {QTextFormat::FrameRightMargin, "frameRightMargin"},
    {QTextFormat::FrameBorderBrush, "frameBorderBrush"},
    {QTextFormat::FrameBorderStyle, "frameBorderStyle"},
    {QTextFormat::TableColumns, "tableColumns"},
    {QTextFormat::TableColumnWidthConstraints, "columnWidths"},
    {QTextFormat::TableCellSpacing, "cellSpacing"},
    {QTextFormat::TableCellPadding, "cellPadding"},
    {QTextFormat::TableHeaderRowCount, "headerRowCount"},
    {QTextFormat::TableBorderCollapse, "borderCollapse"},
    {QTextFormat::TableCellRowSpan, "rowSpan"},
    {QTextFormat::TableCellColumnSpan, "columnSpan"},
    {QTextFormat::TableCellTopPadding, "cellTopPadding"},
    {QTextFormat::TableCellBottomPadding, "cellBottomPadding"},
    {QTextFormat::TableCellLeftPadding, "cellLeftPadding"},
    {QTextFormat::TableCellRightPadding, "cellRightPadding"},
    {QTextFormat::TableCellTopBorder, "cellTopBorder"},
    {QTextFormat::TableCellBottomBorder, "cellBottomBorder"},
    {QTextFormat::TableCellLeftBorder, "cellLeftBorder"},
    {QTextFormat::TableCellRightBorder, "cellRightBorder"},
    {QTextFormat::TableCellTopBorderStyle, "cellTopBorderStyle"},
    {QTextFormat::TableCellBottomBorderStyle, "cellBottomBorderStyle"},
    {QTextFormat::TableCellLeftBorderStyle, "cellLeftBorderStyle"},
    {QTextFormat::TableCellRightBorderStyle, "cellRightBorderStyle"},
    {QTextFormat::TableCellTopBorderBrush, "cellTopBorderBrush"},
    {QTextFormat::TableCellBottomBorderBrush, "cellBottomBorderBrush"},
    {QTextFormat::TableCellLeftBorderBrush, "cellLeftBorderBrush"},
    {QTextFormat::TableCellRightBorderBrush, "cellRightBorderBrush"},
    {QTextFormat::ImageName, "imageName"},
    {QTextFormat::ImageTitle, "imageTitle"},
    {QTextFormat::ImageAltText, "imageAltText"},
    {QTextFormat::ImageWidth, "imageWidth"},
    {QTextFormat::ImageHeight, "imageHeight"},
    {QTextFormat::ImageQuality, "imageQuality"},
    {QTextFormat::FullWidthSelection, "fullWidthSelection"},
    {QTextFormat::PageBreakPolicy, "pageBreakPolicy"},
};

const QHash<QString, int>& byName()
{
    static const QHash<QString, int> map = [] {
        QHash<QString, int> m;
        for (const Named& n : kNames)
            m.insert(QString::fromLatin1(n.name), n.id);
        return m;
    }();
    return map;
}

const QHash<int, QString>& byId()
{
    static const QHash<int, QString> map = [] {
        QHash<int, QString> m;
        for (const Named& n : kNames)
            m.insert(n.id, QString::fromLatin1(n.name));
        return m;
    }();
    return map;
}

QString lengthText(const QTextLength& l)
{
    const char* kind = l.type() == QTextLength::FixedLength        ? "fixed"
                       : l.type() == QTextLength::PercentageLength ? "percent"
                                                                   : "variable";
    return QString::fromLatin1(kind) + QLatin1Char(':') + QString::number(l.rawValue(), 'g', 17);
}

bool parseLength(QStringView s, QTextLength* out)
{
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    bool ok = false;
    const double v = s.mid(colon + 1).toDouble(&ok);
    if (!ok)
        return false;
    const QStringView kind = s.left(colon);
    if (kind == u"fixed")
        *out = QTextLength(QTextLength::FixedLength, v);
    else if (kind == u"percent")
        *out = QTextLength(QTextLength::PercentageLength, v);
    else if (kind == u"variable")
        *out = QTextLength(QTextLength::VariableLength, v);
    else
        return false;
    return true;
}

// Tab stops and table column widths are kept by Qt as lists of variants.
template <typename T>
bool isListOf(const QVariantList& list)
{
    for (const QVariant& v : list)
        if (v.typeId() != qMetaTypeId<T>())
            return false;
    return true;
}

QString colorText(const QColor& c) { return c.isValid() ? c.name(QColor::HexArgb) : QStringLiteral("none"); }

QColor parseColor(const QString& s) { return s == u"none" ? QColor() : QColor::fromString(s); }

} // namespace

QString nameOf(int property)
{
    if (property >= QTextFormat::UserProperty)
        return QStringLiteral("user+") + QString::number(property - QTextFormat::UserProperty);
    const auto it = byId().constFind(property);
    if (it != byId().constEnd())
        return *it;
    return QStringLiteral("p") + QString::number(property);
}

int propertyOf(const QString& name)
{
    bool ok = false;
    if (name.startsWith(u"user+")) {
        const int n = name.mid(5).toInt(&ok);
        return ok && n >= 0 && n < 0x10000000 ? QTextFormat::UserProperty + n : -1;
    }
    const auto it = byName().constFind(name);
    if (it != byName().constEnd())
        return *it;
    if (name.startsWith(u'p')) {
        const int n = name.mid(1).toInt(&ok);
        return ok && n >= 0 && n < QTextFormat::UserProperty ? n : -1;
    }
    return -1;
}

TypedText encode(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return {QStringLiteral("bool"), v.toBool() ? QStringLiteral("1") : QStringLiteral("0")};
    case QMetaType::Int:
        return {QStringLiteral("int"), QString::number(v.toInt())};
    case QMetaType::UInt:
        return {QStringLiteral("uint"), QString::number(v.toUInt())};
    case QMetaType::LongLong:
        return {QStringLiteral("long"), QString::number(v.toLongLong())};
    case QMetaType::Double:
        return {QStringLiteral("double"), QString::number(v.toDouble(), 'g', 17)};
    case QMetaType::QString:
        return {QStringLiteral("string"), v.toString()};
    case QMetaType::QStringList: {
        // Items joined by U+001F would not be valid XML; escape the separator instead.
        QStringList items = v.toStringList();
        for (QString& s : items)
            s.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('|'), QStringLiteral("\\|"));
        return {QStringLiteral("strings"), items.join(QLatin1Char('|'))};
    }
    case QMetaType::QColor:
        return {QStringLiteral("color"), colorText(v.value<QColor>())};
    case QMetaType::QUrl:
        return {QStringLiteral("url"), v.toUrl().toString()};
    case QMetaType::QByteArray:
        return {QStringLiteral("bytes"), QString::fromLatin1(v.toByteArray().toBase64())};
    default:
        break;
    }
    if (v.typeId() == QMetaType::QBrush) {
        const QBrush b = v.value<QBrush>();
        if (b.style() == Qt::SolidPattern || b.style() == Qt::NoBrush)
            return {QStringLiteral("brush"),
                    b.style() == Qt::NoBrush ? QStringLiteral("none") : colorText(b.color())};
    }
    if (v.typeId() == qMetaTypeId<QTextLength>())
        return {QStringLiteral("length"), lengthText(v.value<QTextLength>())};
    if (v.typeId() == qMetaTypeId<QList<QTextLength>>()) {
        QStringList parts;
        for (const QTextLength& l : v.value<QList<QTextLength>>())
            parts << lengthText(l);
        return {QStringLiteral("lengths"), parts.join(QLatin1Char(' '))};
    }
    if (v.typeId() == QMetaType::QVariantList && isListOf<QTextLength>(v.toList())) {
        QStringList parts;
        for (const QVariant& item : v.toList())
            parts << lengthText(item.value<QTextLength>());
        return {QStringLiteral("lengthlist"), parts.join(QLatin1Char(' '))};
    }
    if (v.typeId() == QMetaType::QVariantList && isListOf<QTextOption::Tab>(v.toList())) {
        QStringList parts;
        for (const QVariant& item : v.toList()) {
            const auto t = item.value<QTextOption::Tab>();
            parts << QString::number(t.position, 'g', 17) + QLatin1Char(':') + QString::number(int(t.type))
                         + QLatin1Char(':') + QString::number(t.delimiter.unicode());
        }
        return {QStringLiteral("tabs"), parts.join(QLatin1Char(' '))};
    }
    // Pens (text outlines from HTML) and patterned brushes have no text form; they
    // travel as QDataStream bytes, which the reader checks before streaming them.
    const bool simpleBrush = v.typeId() == QMetaType::QBrush && v.value<QBrush>().style() <= Qt::DiagCrossPattern;
    const bool simplePen = v.typeId() == QMetaType::QPen && v.value<QPen>().brush().style() <= Qt::DiagCrossPattern;
    if (!simpleBrush && !simplePen)
        return {};
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_6_4);
        s << v;
    }
    return {QStringLiteral("stream"), QString::fromLatin1(bytes.toBase64())};
}

namespace {

// QDataStream trusts nesting and length fields (a deep list overflows the stack, a
// count asks for gigabytes), so a streamed value is walked here first: only a pen or a
// plain or patterned brush, of the exact size those take, is let through.
bool skipBrush(QDataStream& s)
{
    quint8 style = 0;
    s >> style;
    // Colour (spec, alpha, r, g, b, pad), then the brush transform (9 doubles).
    s.skipRawData(1 + 5 * 2 + 9 * 8);
    return style <= Qt::DiagCrossPattern;
}

bool isCheckedStream(const QByteArray& bytes)
{
    if (bytes.size() > 2048)
        return false;
    QDataStream s(bytes);
    s.setVersion(QDataStream::Qt_6_4);
    quint32 type = 0;
    qint8 isNull = 0;
    s >> type >> isNull;
    if (type == QMetaType::QBrush) {
        if (!skipBrush(s))
            return false;
    } else if (type == QMetaType::QPen) {
        // Style bits, cosmetic flag, width, brush, miter limit, dash pattern, offset,
        // default-width flag.
        s.skipRawData(2 + 1 + 8);
        if (!skipBrush(s))
            return false;
        s.skipRawData(8);
        quint32 dashes = 0;
        s >> dashes;
        if (dashes > 64)
            return false;
        s.skipRawData(int(dashes) * 8 + 8 + 1);
    } else {
        return false;
    }
    return s.status() == QDataStream::Ok && s.atEnd();
}

} // namespace

QVariant decode(const QString& type, const QString& value)
{
    bool ok = true;
    if (type == u"bool")
        return value == u"1";
    if (type == u"int") {
        const int i = value.toInt(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    if (type == u"uint") {
        const uint i = value.toUInt(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    if (type == u"long") {
        const qlonglong i = value.toLongLong(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    if (type == u"double") {
        const double d = value.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    if (type == u"string")
        return value;
    if (type == u"strings") {
        QStringList items;
        QString cur;
        for (qsizetype i = 0; i < value.size(); ++i) {
            const QChar c = value[i];
            if (c == u'\\' && i + 1 < value.size())
                cur += value[++i];
            else if (c == u'|') {
                items << cur;
                cur.clear();
            } else
                cur += c;
        }
        if (!value.isEmpty())
            items << cur;
        return items;
    }
    if (type == u"color") {
        const QColor c = parseColor(value);
        return (c.isValid() || value == u"none") ? QVariant(c) : QVariant();
    }
    if (type == u"brush") {
        if (value == u"none")
            return QBrush();
        const QColor c = parseColor(value);
        return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    if (type == u"url")
        return QUrl(value);
    if (type == u"bytes")
        return QByteArray::fromBase64(value.toLatin1());
    if (type == u"length") {
        QTextLength l;
        return parseLength(value, &l) ? QVariant::fromValue(l) : QVariant();
    }
    if (type == u"lengths" || type == u"lengthlist") {
        QList<QTextLength> list;
        QVariantList variants;
        for (QStringView part : QStringView(value).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            QTextLength l;
            if (!parseLength(part, &l))
                return {};
            list << l;
            variants << QVariant::fromValue(l);
        }
        return type == u"lengths" ? QVariant::fromValue(list) : QVariant(variants);
    }
    if (type == u"tabs") {
        QVariantList tabs;
        for (QStringView part : QStringView(value).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const auto f = part.split(QLatin1Char(':'));
            if (f.size() != 3)
                return {};
            bool a = false, b = false, c = false;
            QTextOption::Tab t;
            t.position = f[0].toDouble(&a);
            const int kind = f[1].toInt(&b);
            t.delimiter = QChar(char16_t(f[2].toUShort(&c)));
            if (!a || !b || !c || kind < 0 || kind > 3)
                return {};
            t.type = QTextOption::TabType(kind);
            tabs << QVariant::fromValue(t);
        }
        return tabs;
    }
    if (type == u"stream") {
        const QByteArray bytes = QByteArray::fromBase64(value.toLatin1());
        if (!isCheckedStream(bytes))
            return {};
        QDataStream s(bytes);
        s.setVersion(QDataStream::Qt_6_4);
        QVariant v;
        s >> v;
        return s.status() == QDataStream::Ok ? v : QVariant();
    }
    return {};
}

} // namespace FormatProperties
