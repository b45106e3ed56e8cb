#pragma once
// Property numbers the engine stores in QTextFormat objects. Readers and writers of
// every file format serialise them, so the numbers are part of the saved documents:
// never renumber, only append.

#include <QTextFormat>

namespace EngineProperty {

// Fields: a run of characters whose char format carries FieldId (> 0).
constexpr int FieldId = QTextFormat::UserProperty + 1;         // int, unique per document
constexpr int FieldData = QTextFormat::UserProperty + 2;       // QString, the field name
constexpr int FieldType = QTextFormat::UserProperty + 3;       // int, see FieldTypes
constexpr int FieldLinkKind = QTextFormat::UserProperty + 4;   // int, 0 none, 1 hyperlink
constexpr int FieldLinkTarget = QTextFormat::UserProperty + 5; // QString, e.g. a web address

// Tables: the caller's table id lives in the table frame format.
constexpr int TableId = QTextFormat::UserProperty + 20; // int

// Images (QTextImageFormat, or the fixed-image object format).
constexpr int ImageId = QTextFormat::UserProperty + 30;        // int, unique per document
constexpr int ImageDistanceL = QTextFormat::UserProperty + 31; // twips to the text
constexpr int ImageDistanceT = QTextFormat::UserProperty + 32;
constexpr int ImageDistanceR = QTextFormat::UserProperty + 33;
constexpr int ImageDistanceB = QTextFormat::UserProperty + 34;
constexpr int ImagePosX = QTextFormat::UserProperty + 35;     // fixed image: twips from page left
constexpr int ImagePosY = QTextFormat::UserProperty + 36;     // fixed image: twips from page top
constexpr int ImageWidth = QTextFormat::UserProperty + 37;    // fixed image: twips
constexpr int ImageHeight = QTextFormat::UserProperty + 38;   // fixed image: twips
constexpr int ImageName = QTextFormat::UserProperty + 39;     // QString, resource name (QUrl text)

// Paragraph frames (block format).
constexpr int FrameStyle = QTextFormat::UserProperty + 40;     // int, low byte: parts and line style
constexpr int FrameLineWidth = QTextFormat::UserProperty + 41; // twips
constexpr int FrameDistance = QTextFormat::UserProperty + 42;  // twips

// Lists (QTextListFormat): level and the two indents in twips.
constexpr int ListLevel = QTextFormat::UserProperty + 50;       // int, 1-based
constexpr int ListIndentMarker = QTextFormat::UserProperty + 51; // twips, where the marker starts
constexpr int ListIndentText = QTextFormat::UserProperty + 52;   // twips, where the text starts
// bool: the label starts with the parent item's label ("2.1." under "2."); the number
// prefix holds that label and follows it (ListNumbers).
constexpr int ListParentNumbers = QTextFormat::UserProperty + 53;

// Text boxes: a fixed image whose content is text (from other suites' frames), kept as
// HTML and drawn inside the image's rectangle, the paddings inside its edges.
constexpr int TextBoxHtml = QTextFormat::UserProperty + 60;     // QString
constexpr int TextBoxPaddingX = QTextFormat::UserProperty + 61; // twips, left and right
constexpr int TextBoxPaddingY = QTextFormat::UserProperty + 62; // twips, top and bottom
constexpr int TextBoxLine = QTextFormat::UserProperty + 63;     // twips, the border's width; 0 none

// Images, continued: shown on screen as a grey box (bool); print and files show it.
constexpr int ImageShownAsBox = QTextFormat::UserProperty + 64;

// Paragraphs (block format): automatic hyphenation on (bool).
constexpr int Hyphenate = QTextFormat::UserProperty + 65;

} // namespace EngineProperty

namespace EngineObject {
// Custom inline objects (QTextCharFormat::setObjectType).
constexpr int PageNumber = QTextFormat::UserObject + 1; // shows the page it is drawn on
constexpr int FixedImage = QTextFormat::UserObject + 2; // zero-width anchor of a fixed image
constexpr int PageCount = QTextFormat::UserObject + 3;  // shows the number of pages
} // namespace EngineObject

namespace FieldTypes {
constexpr int Text = 0;
constexpr int PageNumber = 3;
constexpr int PageCount = 4; // the document's number of pages
} // namespace FieldTypes

// Paragraph frame style bits.
namespace FrameBits {
constexpr int Left = 0x01;
constexpr int Right = 0x02;
constexpr int Top = 0x04;
constexpr int Bottom = 0x08;
constexpr int TabLines = 0x10;
constexpr int Single = 0x20;
constexpr int Double = 0x40;
constexpr int Connected = 0x80;
} // namespace FrameBits
