#pragma once
// Text form of QTextFormat properties for the own format: a readable name for each
// property (user properties as "user+N", others Qt knows as "p<number>") and a typed
// text for each value. Values of types without a text form travel as base64 of
// QDataStream, so no property is ever dropped.

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
TypedText encode(const QVariant& v);
// An invalid QVariant when type or value cannot be read.
QVariant decode(const QString& type, const QString& value);

} // namespace FormatProperties
