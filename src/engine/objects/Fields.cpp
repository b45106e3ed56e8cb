#include "Fields.h"

#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace EngineProperty;

namespace Fields {

namespace {

// A cursor that selects the field's characters.
QTextCursor selecting(const QTextDocument* doc, const Range& r)
{
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(r.start);
    c.setPosition(r.end, QTextCursor::KeepAnchor);
    return c;
}

QTextCharFormat formatAt(const QTextDocument* doc, const Range& r)
{
    QTextCursor c(const_cast<QTextDocument*>(doc));
    c.setPosition(r.start + 1);
    return c.charFormat();
}

QVariant propertyOf(const QTextDocument* doc, int id, int property)
{
    const Range r = find(doc, id);
    return r.id ? formatAt(doc, r).property(property) : QVariant();
}

bool mergeProperty(QTextDocument* doc, int id, int property, const QVariant& value)
{
    const Range r = find(doc, id);
    if (!r.id)
        return false;
    QTextCursor c = selecting(doc, r);
    QTextCharFormat f;
    f.setProperty(property, value);
    c.mergeCharFormat(f);
    return true;
}

// Replaces the field's characters, keeping its format (with `objectType`).
void replaceContent(QTextDocument* doc, const Range& r, const QString& text, int objectType)
{
    QTextCharFormat f = formatAt(doc, r);
    if (objectType)
        f.setObjectType(objectType);
    else
        f.clearProperty(QTextFormat::ObjectType);
    QTextCursor c = selecting(doc, r);
    c.beginEditBlock();
    const QString shown = text.isEmpty() || objectType ? QString(QChar::ObjectReplacementCharacter) : text;
    c.insertText(shown, f);
    c.endEditBlock();
}

} // namespace

QList<Range> all(const QTextDocument* doc)
{
    QList<Range> out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int id = frag.charFormat().intProperty(FieldId);
            if (id <= 0)
                continue;
            if (!out.isEmpty() && out.last().id == id && out.last().end >= frag.position() - 1)
                out.last().end = frag.position() + frag.length();
            else
                out.append({id, frag.position(), frag.position() + frag.length()});
        }
    }
    return out;
}

Range find(const QTextDocument* doc, int id)
{
    if (id <= 0)
        return {};
    for (const Range& r : all(doc))
        if (r.id == id)
            return r;
    return {};
}

int atPosition(const QTextDocument* doc, int pos)
{
    int found = 0;
    for (const Range& r : all(doc)) {
        if (r.start > pos)
            break;
        if (pos < r.end)
            return r.id; // strictly inside beats touching the end of a neighbour
        if (pos == r.end)
            found = r.id;
    }
    return found;
}

int next(const QTextDocument* doc, int id, int kind)
{
    bool passed = id == 0;
    for (const Range& r : all(doc)) {
        if (!passed) {
            passed = r.id == id;
            continue;
        }
        const QTextCharFormat f = formatAt(doc, r);
        if (kind == KindHyperlinks && f.intProperty(FieldLinkKind) <= 0)
            continue;
        if (kind != 0 && kind != KindHyperlinks && f.intProperty(FieldType) != kind)
            continue;
        return r.id;
    }
    return 0;
}

int highestId(const QTextDocument* doc)
{
    int high = 0;
    for (const Range& r : all(doc))
        high = qMax(high, r.id);
    return high;
}

int insert(QTextCursor& cursor, const QString& text, int id)
{
    QTextDocument* doc = cursor.document();
    if (id <= 0 || find(doc, id).id)
        id = highestId(doc) + 1;
    QTextCharFormat f = plainFormat(cursor.charFormat());
    const QTextCharFormat plain = f;
    f.setProperty(FieldId, id);
    f.setProperty(FieldData, QString());
    f.setProperty(FieldType, FieldTypes::Text);
    cursor.beginEditBlock();
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    cursor.insertText(shown.isEmpty() ? QString(QChar::ObjectReplacementCharacter) : shown, f);
    cursor.setCharFormat(plain); // typed text must not join the field
    cursor.endEditBlock();
    return id;
}

QString text(const QTextDocument* doc, int id)
{
    const Range r = find(doc, id);
    if (!r.id)
        return {};
    QTextCursor c = selecting(doc, r);
    QString s = c.selectedText();
    s.remove(QChar::ObjectReplacementCharacter);
    return s;
}

bool setText(QTextDocument* doc, int id, const QString& text)
{
    const Range r = find(doc, id);
    if (!r.id)
        return false;
    const int objectType = formatAt(doc, r).objectType();
    replaceContent(doc, r, text, isFieldObject(objectType) ? objectType : 0);
    return true;
}

QString data(const QTextDocument* doc, int id) { return propertyOf(doc, id, FieldData).toString(); }

bool setData(QTextDocument* doc, int id, const QString& value)
{
    return mergeProperty(doc, id, FieldData, value);
}

int type(const QTextDocument* doc, int id) { return propertyOf(doc, id, FieldType).toInt(); }

bool setType(QTextDocument* doc, int id, int value)
{
    const Range r = find(doc, id);
    if (!r.id)
        return false;
    QTextCursor c(doc);
    c.beginEditBlock();
    mergeProperty(doc, id, FieldType, value);
    if (const int object = objectTypeFor(value))
        replaceContent(doc, find(doc, id), QString(), object);
    else if (isFieldObject(formatAt(doc, r).objectType()))
        replaceContent(doc, find(doc, id), QString(), 0);
    c.endEditBlock();
    return true;
}

int linkKind(const QTextDocument* doc, int id) { return propertyOf(doc, id, FieldLinkKind).toInt(); }

bool setLinkKind(QTextDocument* doc, int id, int kind)
{
    return mergeProperty(doc, id, FieldLinkKind, kind);
}

QString linkTarget(const QTextDocument* doc, int id)
{
    return propertyOf(doc, id, FieldLinkTarget).toString();
}

bool setLinkTarget(QTextDocument* doc, int id, const QString& target)
{
    return mergeProperty(doc, id, FieldLinkTarget, target);
}

bool remove(QTextDocument* doc, int id, bool keepText)
{
    const Range r = find(doc, id);
    if (!r.id)
        return false;
    QTextCursor c = selecting(doc, r);
    if (!keepText) {
        c.removeSelectedText();
        return true;
    }
    c.beginEditBlock();
    const QString shown = text(doc, id);
    c.insertText(shown, plainFormat(formatAt(doc, r)));
    c.endEditBlock();
    return true;
}

QTextCharFormat plainFormat(QTextCharFormat f)
{
    for (int p : {FieldId, FieldData, FieldType, FieldLinkKind, FieldLinkTarget})
        f.clearProperty(p);
    if (isFieldObject(f.objectType()))
        f.clearProperty(QTextFormat::ObjectType);
    return f;
}

int objectTypeFor(int fieldType)
{
    switch (fieldType) {
    case FieldTypes::PageNumber: return EngineObject::PageNumber;
    case FieldTypes::PageCount: return EngineObject::PageCount;
    default: return 0;
    }
}

bool isFieldObject(int objectType)
{
    return objectType == EngineObject::PageNumber || objectType == EngineObject::PageCount;
}

} // namespace Fields
