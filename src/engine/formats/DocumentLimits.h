#pragma once
// After a file was read: every value that decides where text lands is brought into
// what a page can show, so that no file can hide its text (a page of size zero,
// margins wider than the page, indents of two billion pixels, fonts of 1e308 points,
// NaN, a picture larger than the page). Runs in time linear in the document.

struct PageGeometry;
class Document;
class QTextDocument;

namespace DocumentLimits {

// Page sizes in twips: at least a small label, at most A0 in either orientation.
constexpr int MinPageWidth = 1440;    // 2.54 cm
constexpr int MinPageHeight = 720;    // 1.27 cm
constexpr int MaxPageSide = 67417;    // 1189 mm, the long side of A0
// Wider tables become text (Word's own limit is 63 columns).
constexpr int MaxTableColumns = 63;
// Font sizes in points.
constexpr double MinFontPoints = 1;
constexpr double MaxFontPoints = 1638;

// The page brought into range; margins leave at least half the page for text.
PageGeometry clampedPage(const PageGeometry& g);
// Clamps the page and every paragraph, character and picture format of the body and
// of the header and footer parts; pictures named by the document are loaded.
void apply(Document& doc);

} // namespace DocumentLimits
