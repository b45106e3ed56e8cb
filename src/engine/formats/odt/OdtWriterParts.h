#pragma once
// Small pieces shared by the parts of the ODF text writer: units and attributes.

#include "OdtNames.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"

#include <QColor>
#include <QTextListFormat>

namespace Odt {

inline double twips(double px) { return Document::pixelsToTwips(px); }
inline QString colour(const QColor& c) { return c.name(QColor::HexRgb); }
inline QString attr(const char* name, const QString& value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + esc(value) + QLatin1Char('"');
}
inline int listLevel(const QTextListFormat& lf)
{
    using namespace EngineProperty;
    return qBound(1, lf.hasProperty(ListLevel) ? lf.intProperty(ListLevel) : lf.indent(), 10);
}

} // namespace Odt
