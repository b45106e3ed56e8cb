#include "RtfListTable.h"
#include "RtfText.h"

#include "engine/EngineProperties.h"
#include "engine/objects/ListNumbers.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

QByteArray num(int v) { return QByteArray::number(v); }
using RtfText::hexByte;

int nfcOf(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListDecimal: return 0;
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    default: return 23;
    }
}

} // namespace

void RtfListTable::collect(const QTextDocument* d)
{
    const QTextList* previous = nullptr;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        const QTextList* l = b.textList();
        if (l && !m_places.contains(l))
            place(l, previous);
        previous = l;
    }
}

void RtfListTable::place(const QTextList* l, const QTextList* previous)
{
    const int level = qBound(1, ListNumbers::levelOf(l->format()), 9) - 1;
    // A deeper list right after an item joins that item's list, one per look and level.
    if (previous && level > 0) {
        const auto [number, previousLevel] = m_places.value(previous);
        Group& g = m_groups[number - 1];
        const bool under = std::any_of(g.levels, g.levels + level, [](const QTextList* x) { return x != nullptr; });
        const QTextList* there = g.levels[level];
        if (under && (!there || there->format().style() == l->format().style())) {
            if (!there)
                g.levels[level] = l;
            m_places.insert(l, {number, level});
            return;
        }
    }
    m_groups.append(Group());
    m_groups.last().levels[level] = l;
    m_places.insert(l, {int(m_groups.size()), level});
}

QByteArray RtfListTable::levelGroup(const Group& g, int level, QList<QString>& texts) const
{
    // A level without a list of its own looks like the nearest one above it.
    const QTextList* l = nullptr;
    for (int i = level; !l && i >= 0; --i)
        l = g.levels[i];
    for (int i = level + 1; !l && i < 9; ++i)
        l = g.levels[i];
    const QTextListFormat f = l->format();
    const int nfc = nfcOf(f.style());
    QByteArray out = "{\\listlevel\\levelnfc" + num(nfc) + "\\levelnfcn" + num(nfc)
                     + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0";
    if (nfc == 23) {
        texts[level] = QString();
        out += "{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}";
    } else {
        // The text names each shown level by its number (a character below 9).
        const bool ownList = g.levels[level] == l;
        QString text = ownList && f.boolProperty(EngineProperty::ListParentNumbers) && level > 0 ? texts[level - 1]
                       : f.boolProperty(EngineProperty::ListParentNumbers)                       ? QString()
                                                                                                 : f.numberPrefix();
        text += QChar(level);
        text += f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
        texts[level] = text;
        QByteArray body, numbers;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).unicode() < 9) {
                body += hexByte(text.at(i).unicode());
                numbers += hexByte(int(i) + 1);
            } else {
                body += RtfText::escape(QStringView(text).mid(i, 1));
            }
        }
        out += "{\\leveltext" + hexByte(int(text.size())) + body + ";}{\\levelnumbers" + numbers + ";}";
    }
    const int li = 360 * (level + 2);
    return out + "\\fi-360\\li" + num(li) + "\\lin" + num(li) + "}";
}

QByteArray RtfListTable::write() const
{
    if (m_groups.isEmpty())
        return {};
    QByteArray out = "{\\*\\listtable";
    for (int id = 1; id <= m_groups.size(); ++id) {
        out += "\n{\\list\\listtemplateid" + num(1000 + id) + "\\listsimple0";
        QList<QString> texts(9);
        for (int level = 0; level < 9; ++level)
            out += levelGroup(m_groups[id - 1], level, texts);
        out += "{\\listname ;}\\listid" + num(id) + "}";
    }
    out += "}\n{\\*\\listoverridetable";
    for (int id = 1; id <= m_groups.size(); ++id)
        out += "{\\listoverride\\listid" + num(id) + "\\listoverridecount0\\ls" + num(id) + "}";
    return out + "}\n";
}
