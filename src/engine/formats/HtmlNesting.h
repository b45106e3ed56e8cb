#pragma once
// HTML nested deeper than a page can show, or than Qt's HTML import and table layout
// handle in reasonable time, loses its innermost tags before import; the text stays.
// One pass over the text with a stack of open elements: linear in the input.

#include <QString>

namespace HtmlNesting {

// Tables nested deeper: cells end in a blank, rows in a line break.
constexpr int MaxTableNesting = 8;
// Lists nested deeper: items become line breaks.
constexpr int MaxListNesting = 8;
// Tables of a document: Qt walks all frames for every frame it adds; later tables
// lose their tags like nested ones.
constexpr int MaxTables = 1000;
// Items of one list: Qt's cost of adding an item grows with the list's length.
constexpr int MaxListItems = 500;
// Widest column span of a table cell.
constexpr int MaxColumnSpan = 64;
// Any element nested deeper loses its tags.
constexpr int MaxNesting = 64;

QString limit(const QString& html);

} // namespace HtmlNesting
