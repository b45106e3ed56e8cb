#include "SelectionFormat.h"

#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QList<QTextCharFormat> SelectionFormat::collect(const QTextCursor& c, const QTextCharFormat& atCaret)
{
    if (!c.hasSelection())
        return {atCaret};
    QList<QTextCharFormat> out;
    QSet<int> seen; // a long selection has many fragments but few distinct formats
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    for (QTextBlock b = c.document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() < end && f.position() + f.length() > start
                && !seen.contains(f.charFormatIndex())) {
                seen.insert(f.charFormatIndex());
                out.append(f.charFormat());
            }
        }
    }
    if (out.isEmpty())
        out.append(atCaret);
    return out;
}

namespace {
QTextCharFormat normalised(QTextCharFormat f, const QFont& def)
{
    if (!f.hasProperty(QTextFormat::FontFamilies) || f.fontFamilies().toStringList().isEmpty())
        f.setFontFamilies({def.family()});
    else
        f.setFontFamilies({f.fontFamilies().toStringList().constFirst()});
    if (!f.hasProperty(QTextFormat::FontPointSize))
        f.setFontPointSize(def.pointSizeF());
    f.setFontWeight(f.fontWeight() >= QFont::DemiBold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(f.fontItalic());
    f.setFontUnderline(f.fontUnderline()); // held as TextUnderlineStyle
    f.setFontStrikeOut(f.fontStrikeOut());
    if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush)
        f.setForeground(QColor(Qt::black));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() == Qt::NoBrush)
        f.clearBackground();
    return f;
}
} // namespace

QTextCharFormat SelectionFormat::common(const QList<QTextCharFormat>& formats, const QFont& defaults)
{
    if (formats.isEmpty())
        return normalised({}, defaults);
    QTextCharFormat common = normalised(formats.constFirst(), defaults);
    for (int i = 1; i < formats.size(); ++i) {
        const QTextCharFormat f = normalised(formats.at(i), defaults);
        const auto props = common.properties();
        for (auto it = props.cbegin(); it != props.cend(); ++it)
            if (!f.hasProperty(it.key()) || f.property(it.key()) != it.value())
                common.clearProperty(it.key());
    }
    return common;
}
