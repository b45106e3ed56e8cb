#pragma once
// Bullet and numbered lists of the paragraphs at a cursor, with the attribute numbers
// the editor commands use. Attributes written before the list type wait in a State
// and take effect when the list type is written.

#include <QMap>

class QTextCursor;

namespace Lists {

constexpr int None = 0;
constexpr int Bullets = 2;
constexpr int Numbers = 4;

// Numbering styles: 3 "1, 2, 3", 4 "A, B, C", 5 "a, b, c", 6 "I, II, III, IV",
// 7 "i, ii, iii, iv".
constexpr int StyleDecimal = 3;

struct State {
    QMap<int, int> pendingBullet;    // 2 level, 3 marker indent, 5 text indent (twips)
    QMap<int, int> pendingNumbering; // 1 style, 3 level, 4 marker indent, 9 text indent
};

int listType(const QTextCursor& c);
void setListType(QTextCursor c, int type, State& state);

int bulletAttribute(const QTextCursor& c, const State& state, int index);
void setBulletAttribute(State& state, int index, int value);
int numberingAttribute(const QTextCursor& c, const State& state, int index);
void setNumberingAttribute(State& state, int index, int value);

// The indent commands: +1 (larger) or -1 (smaller) for the current paragraph.
void changeLevel(QTextCursor c, State& state, int step);
// Sets the numbering style (3..7) and makes the paragraphs a numbered list.
void setNumberingStyle(QTextCursor c, State& state, int style);

} // namespace Lists
