#pragma once
// The four label templates: A4 sheets of 24 labels, 3 across and 8 down, each 70 x 37
// mm without gaps between them (the common office sheet of that size). Every label
// holds eight empty fields named n + "Anrede", "Vorname", "Nachname", "Strasse", "LKZ",
// "PLZ", "Ort", "Land" for n = 1..24, counted along the rows.

#include <QString>
#include <QStringList>

class Document;
class QTextDocument;

namespace LabelTemplate {

constexpr int Columns = 3;
constexpr int Rows = 8;
constexpr int Labels = Columns * Rows;

// Label size in twips (1440 per inch).
constexpr double LabelWidth = 70.0 / 25.4 * 1440.0;
constexpr double LabelHeight = 37.0 / 25.4 * 1440.0;

// The sheet: A4, no side margins. 8 x 37 mm leave 1 mm of the 297; the labels start
// 0.5 mm from the top edge. The bottom margin stays 0 so that rounding never pushes the
// last row (or the paragraph Qt keeps after a table) onto a second page.
constexpr int PageWidth = 11906;
constexpr int PageHeight = 16837;
constexpr int MarginTop = 28;
constexpr int MarginBottom = 0;
constexpr int MarginSide = 0;

// Left inset of the text inside a label, twips (5 mm).
constexpr double TextInset = 5.0 / 25.4 * 1440.0;

// 10, 11, 12, 14.
QList<int> fontSizes();
// "Etiketten_Vorlage_F10.ttx" and so on.
QString fileName(int fontSize);

// The eight field names of one label, without its number.
QStringList fieldNames();

// Replaces the content of `doc` by the template for `fontSize`.
void build(Document& doc, int fontSize);

// Puts table `id` of 64 rows and 3 columns on the grid of the sheet: the labels' 70 mm
// wide columns, 8 rows of 37/8 mm to a label, text 5 mm from the label's left edge.
void shapeTable(QTextDocument* doc, int id);

} // namespace LabelTemplate
