#include "RtfFields.h"

#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace EngineProperty;

namespace RtfFields {

namespace {

QString firstWord(const QString& instruction)
{
    const QString t = instruction.trimmed();
    const qsizetype end = t.indexOf(QRegularExpression(QStringLiteral("[\\s\\\\]")));
    return (end < 0 ? t : t.left(end)).toUpper();
}

} // namespace

Kind kindOf(const Field& f)
{
    if (f.own) {
        if (f.type == FieldTypes::PageNumber)
            return Kind::PageNumber;
        if (f.type == FieldTypes::PageCount)
            return Kind::PageCount;
        return Kind::Result;
    }
    const QString word = firstWord(f.instruction);
    if (word == u"PAGE")
        return Kind::PageNumber;
    if (word == u"NUMPAGES")
        return Kind::PageCount;
    if (word == u"HYPERLINK" && !hyperlinkTarget(f.instruction).isEmpty())
        return Kind::Hyperlink;
    return Kind::Result;
}

QString hyperlinkTarget(const QString& instruction)
{
    static const QRegularExpression link(QStringLiteral("HYPERLINK\\s+\"([^\"]*)\"(?:\\s*\\\\l\\s*\"([^\"]*)\")?"));
    const auto m = link.match(instruction);
    if (!m.hasMatch())
        return {};
    QString href = m.captured(1);
    if (!m.captured(2).isEmpty())
        href += QLatin1Char('#') + m.captured(2);
    return href;
}

QTextCharFormat fieldFormat(QTextCharFormat cf, const Field& f, int provisionalId)
{
    const Kind kind = kindOf(f);
    if (kind == Kind::Hyperlink) {
        cf.setAnchor(true);
        cf.setAnchorHref(hyperlinkTarget(f.instruction));
        return cf;
    }
    if (kind == Kind::Result && !f.own)
        return cf;
    const int type = kind == Kind::PageNumber ? FieldTypes::PageNumber
                     : kind == Kind::PageCount ? FieldTypes::PageCount
                                               : f.type;
    cf.setProperty(FieldId, f.own && f.id > 0 ? f.id : provisionalId);
    cf.setProperty(FieldData, f.data);
    cf.setProperty(FieldType, type);
    if (f.linkKind > 0) {
        cf.setProperty(FieldLinkKind, f.linkKind);
        cf.setProperty(FieldLinkTarget, f.link);
    }
    if (const int object = Fields::objectTypeFor(type))
        cf.setObjectType(object);
    return cf;
}

QString objectText() { return QString(QChar::ObjectReplacementCharacter); }

void numberProvisional(QTextDocument* doc)
{
    int next = 0;
    QList<QPair<int, int>> ranges; // start, end of each provisional field, in order
    QList<int> ids;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int id = frag.charFormat().intProperty(FieldId);
            next = qMax(next, id);
            if (id >= 0)
                continue;
            if (!ids.isEmpty() && ids.last() == id && ranges.last().second == frag.position())
                ranges.last().second = frag.position() + frag.length();
            else
                ranges.append({frag.position(), frag.position() + frag.length()}), ids.append(id);
        }
    for (const auto& r : std::as_const(ranges)) {
        QTextCursor c(doc);
        c.setPosition(r.first);
        c.setPosition(r.second, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setProperty(FieldId, ++next);
        c.mergeCharFormat(f);
    }
}

void keepAcrossPlain(const QTextCharFormat& from, QTextCharFormat& to)
{
    if (from.isAnchor()) {
        to.setAnchor(true);
        to.setAnchorHref(from.anchorHref());
    }
    for (int p : {FieldId, FieldData, FieldType, FieldLinkKind, FieldLinkTarget})
        if (from.hasProperty(p))
            to.setProperty(p, from.property(p));
    if (Fields::isFieldObject(from.objectType()))
        to.setObjectType(from.objectType());
}

QByteArray open(const QTextCharFormat& f, Escape escape)
{
    const int type = f.intProperty(FieldType);
    const int linkKind = f.intProperty(FieldLinkKind);
    const QString data = f.stringProperty(FieldData);
    const QString link = f.stringProperty(FieldLinkTarget);
    QByteArray out = "{\\field{\\*\\fldinst {\\*\\qxfield\\qxfid" + QByteArray::number(f.intProperty(FieldId))
                     + "\\qxftype" + QByteArray::number(type);
    if (linkKind > 0)
        out += "\\qxflinkkind" + QByteArray::number(linkKind) + "{\\qxflink " + escape(link) + '}';
    if (!data.isEmpty())
        out += "{\\qxfdata " + escape(data) + '}';
    out += '}';
    // What other programs make of it.
    if (type == FieldTypes::PageNumber)
        out += " PAGE ";
    else if (type == FieldTypes::PageCount)
        out += " NUMPAGES ";
    else if (linkKind > 0 && !link.isEmpty())
        out += " HYPERLINK \"" + escape(QString(link).replace(QLatin1Char('"'), QStringLiteral("%22"))) + "\" ";
    // A text field has no instruction: others show its result as it stands.
    return out + "}{\\fldrslt ";
}

QByteArray close() { return "}}"; }

QString resultText(const QTextCharFormat& f)
{
    return Fields::isFieldObject(f.objectType()) ? QStringLiteral("1") : QString();
}

} // namespace RtfFields
