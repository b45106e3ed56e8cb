#pragma once
// Page, line and column of a position on the printed pages, and back.

struct PageGeometry;
class Paginator;

struct InputPosition {
    int page = 1;   // 1-based
    int line = 1;   // 1-based line on that page
    int column = 1; // 1-based column in that line
};

class InputPositions {
public:
    InputPositions(Paginator& paginator, const PageGeometry& page)
        : m_paginator(paginator), m_page(page)
    {
    }
    InputPosition at(int pos) const;
    // The document position at p, or -1 when that page holds no line.
    int positionOf(const InputPosition& p) const;

private:
    Paginator& m_paginator;
    const PageGeometry& m_page;
};
