#include "Lists.h"

#include "engine/Document.h"
#include "TabStops.h"
#include "engine/BlockRange.h"
#include "engine/EngineProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

using namespace EngineProperty;

namespace Lists {

namespace {

bool isBulletStyle(QTextListFormat::Style s)
{
    return s == QTextListFormat::ListDisc || s == QTextListFormat::ListCircle || s == QTextListFormat::ListSquare;
}

QTextListFormat::Style qtStyle(int numberingStyle)
{
    switch (numberingStyle) {
    case 4: return QTextListFormat::ListUpperAlpha;
    case 5: return QTextListFormat::ListLowerAlpha;
    case 6: return QTextListFormat::ListUpperRoman;
    case 7: return QTextListFormat::ListLowerRoman;
    default: return QTextListFormat::ListDecimal;
    }
}

int numberingStyleOf(QTextListFormat::Style s)
{
    switch (s) {
    case QTextListFormat::ListUpperAlpha: return 4;
    case QTextListFormat::ListLowerAlpha: return 5;
    case QTextListFormat::ListUpperRoman: return 6;
    case QTextListFormat::ListLowerRoman: return 7;
    default: return 3;
    }
}

// Attributes of the current list, as (level, marker indent, text indent).
struct Attr {
    int level = 1;
    int marker = 0;
    int text = 360;
    int style = StyleDecimal;
};

Attr current(const QTextCursor& c)
{
    Attr a;
    if (const QTextList* l = c.currentList()) {
        const QTextListFormat f = l->format();
        if (f.hasProperty(ListLevel))
            a.level = f.intProperty(ListLevel);
        if (f.hasProperty(ListIndentMarker))
            a.marker = f.intProperty(ListIndentMarker);
        if (f.hasProperty(ListIndentText))
            a.text = f.intProperty(ListIndentText);
        a.style = numberingStyleOf(f.style());
    }
    return a;
}


} // namespace

int listType(const QTextCursor& c)
{
    const QTextList* l = c.currentList();
    if (!l)
        return None;
    return isBulletStyle(l->format().style()) ? Bullets : Numbers;
}

void setListType(QTextCursor c, int type, State& state)
{
    c.beginEditBlock();
    if (type != Bullets && type != Numbers) {
        forEachSelectedBlock(c, [](const QTextBlock& b) {
            if (QTextList* l = b.textList())
                l->remove(b);
            QTextBlockFormat bf = b.blockFormat();
            const QTextBlockFormat before = bf;
            bf.setLeftMargin(0);
            bf.setIndent(0);
            TabStops::keepOnPage(bf, before);
            QTextCursor(b).setBlockFormat(bf);
        });
        c.endEditBlock();
        return;
    }
    const bool bullets = type == Bullets;
    const QMap<int, int>& pending = bullets ? state.pendingBullet : state.pendingNumbering;
    Attr a = current(c);
    if (listType(c) != type && listType(c) != None) {
        a = Attr(); // a change of kind starts from the defaults
    }
    const int levelIx = bullets ? 2 : 3, markerIx = bullets ? 3 : 4, textIx = bullets ? 5 : 9;
    a.level = qMax(1, pending.value(levelIx, a.level));
    a.marker = qMax(0, pending.value(markerIx, a.marker));
    a.text = qMax(0, pending.value(textIx, a.text));
    if (!bullets)
        a.style = pending.value(1, a.style);

    QTextListFormat lf;
    lf.setStyle(bullets ? QTextListFormat::ListDisc : qtStyle(a.style));
    lf.setIndent(0);
    lf.setNumberSuffix(QStringLiteral("."));
    lf.setProperty(ListLevel, a.level);
    lf.setProperty(ListIndentMarker, a.marker);
    lf.setProperty(ListIndentText, a.text);

    // One list object per command: paragraphs that change leave their old list.
    QTextList* list = nullptr;
    forEachSelectedBlock(c, [&](const QTextBlock& b) {
        if (QTextList* old = b.textList())
            old->remove(b);
        QTextBlockFormat bf = b.blockFormat();
        const QTextBlockFormat before = bf;
        bf.setIndent(0);
        bf.setLeftMargin(Document::twipsToPixels(a.text));
        bf.setTextIndent(0);
        TabStops::keepOnPage(bf, before);
        QTextCursor bc(b);
        bc.setBlockFormat(bf);
        if (!list)
            list = bc.createList(lf);
        else
            list->add(b);
    });
    if (bullets)
        state.pendingBullet.clear();
    else
        state.pendingNumbering.clear();
    c.endEditBlock();
}

int bulletAttribute(const QTextCursor& c, const State& state, int index)
{
    if (state.pendingBullet.contains(index))
        return state.pendingBullet.value(index);
    const Attr a = current(c);
    switch (index) {
    case 2: return a.level;
    case 3: return a.marker;
    case 5: return a.text;
    default: return 0;
    }
}

void setBulletAttribute(State& state, int index, int value) { state.pendingBullet[index] = value; }

int numberingAttribute(const QTextCursor& c, const State& state, int index)
{
    if (state.pendingNumbering.contains(index))
        return state.pendingNumbering.value(index);
    const Attr a = current(c);
    switch (index) {
    case 1: return a.style;
    case 3: return a.level;
    case 4: return a.marker;
    case 9: return a.text;
    default: return 0;
    }
}

void setNumberingAttribute(State& state, int index, int value) { state.pendingNumbering[index] = value; }

void changeLevel(QTextCursor c, State& state, int step)
{
    const int type = listType(c);
    // Writing "no list" back would clear the paragraph's own indent.
    if (type == None)
        return;
    if (type == Bullets) {
        const int d = bulletAttribute(c, state, 5) - bulletAttribute(c, state, 3);
        setBulletAttribute(state, 2, bulletAttribute(c, state, 2) + step);
        setBulletAttribute(state, 3, bulletAttribute(c, state, 3) + step * d);
        setBulletAttribute(state, 5, bulletAttribute(c, state, 5) + step * d);
    } else if (type == Numbers) {
        const int d = numberingAttribute(c, state, 9) - numberingAttribute(c, state, 4);
        setNumberingAttribute(state, 3, numberingAttribute(c, state, 3) + step);
        setNumberingAttribute(state, 4, numberingAttribute(c, state, 4) + step * d);
        setNumberingAttribute(state, 9, numberingAttribute(c, state, 9) + step * d);
    }
    setListType(c, type, state);
}

void setNumberingStyle(QTextCursor c, State& state, int style)
{
    setNumberingAttribute(state, 1, qBound(3, style, 7));
    setListType(c, Numbers, state);
}

} // namespace Lists
