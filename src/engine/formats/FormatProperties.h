#pragma once
// Text form of QTextFormat properties for the own format: a readable name for each
// property (user properties as "user+N", others Qt knows as "p<number>") and a typed
// text for each value. Pens and patterned brushes travel as base64 of QDataStream;
// values of other types without a text form (gradients, textures) are not kept.

#include <QString>
#include <QVariant>

namespace FormatProperties {

QString nameOf(int property);
// -1 when the name is not understood.
int propertyOf(const QString& name);

struct TypedText {
    QString type;  // "bool", "int", "double", "string", "color", ...
    QString value;
};
// An empty type when the value is not kept.
TypedText encode(const QVariant& v);
// An invalid QVariant when type or value cannot be read.
QVariant decode(const QString& type, const QString& value);

} // namespace FormatProperties
