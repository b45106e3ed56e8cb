#include "PageSetup.h"

#include "app/Prompter.h"

#include <QLocale>
#include <cfenv>
#include <cmath>

namespace PageSetup {

namespace {
double twipsPerUnit(int unit)
{
    return unit == Inch ? 1440.0 : unit == Centimetre ? 567.0 : 0.0;
}

QString unitName(int unit) { return unit == Inch ? QStringLiteral("Zoll") : QStringLiteral("cm"); }
} // namespace

QString Twips2DlgString(float twips, int unit)
{
    const double per = twipsPerUnit(unit);
    if (per == 0) {
        prompter().message(nullptr, QStringLiteral("Textverarbeitung"),
                           QStringLiteral("Interner Fehler: unbekannte Maßeinheit."));
        return {};
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString((double(twips) + 0.0005) / per, 'f', 2);
}

int DlgString2Twips(const QString& text, int unit)
{
    const double per = twipsPerUnit(unit);
    const QString t = text.trimmed();
    if (t.isEmpty() || per == 0)
        return 0;
    bool ok = false;
    double value = QLocale().toDouble(t, &ok);
    // A point typed as the decimal separator is what the user meant, not a thousands dot.
    if (!ok)
        value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        return 0;
    const double twips = value * per;
    if (std::fabs(twips) > 2e9)
        return 0;
    const int oldMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(twips);
    std::fesetround(oldMode);
    return int(rounded);
}

const std::array<Paper, 5>& papers()
{
    static const std::array<Paper, 5> table{{{"A4", 11906, 16837},
                                             {"A5", 8418, 11906},
                                             {"B5", 9978, 14174},
                                             {"Letter", 12240, 15840},
                                             {"Legal", 12240, 20160}}};
    return table;
}

QString paperName(int index)
{
    if (index >= 0 && index < int(papers().size()))
        return QString::fromLatin1(papers()[index].name);
    return QStringLiteral("Benutzerdefiniert");
}

int matchPaper(int width, int height)
{
    for (int i = 0; i < int(papers().size()); ++i)
        if (std::abs(papers()[i].width - width) < 10 && std::abs(papers()[i].height - height) < 10)
            return i;
    return CustomPaper;
}

QString problem(const Values& v, int unit)
{
    const auto len = [unit](int twips) {
        return Twips2DlgString(float(twips), unit) + QLatin1Char(' ') + unitName(unit);
    };
    // The widest page whose doubled width still fits a 16-bit length.
    const int maxWidth = 32767 / 2;
    if (v.width < 1 || v.width > maxWidth)
        return QStringLiteral("Die Breite muss größer als 0 und höchstens %1 sein.").arg(len(maxWidth));
    if (v.height < 1 || v.height > 32767)
        return QStringLiteral("Die Höhe muss größer als 0 und höchstens %1 sein.").arg(len(32767));
    struct Margin {
        int value;
        const char* name;
        int limit;
    };
    const Margin margins[] = {{v.left, "linke", v.width},
                              {v.right, "rechte", v.width},
                              {v.top, "obere", v.height},
                              {v.bottom, "untere", v.height}};
    for (const Margin& m : margins)
        if (m.value < 1 || m.value > m.limit)
            return QStringLiteral("Der %1 Rand muss größer als 0 und höchstens %2 sein.")
                .arg(QLatin1String(m.name), len(m.limit));
    return {};
}

} // namespace PageSetup
