#pragma once
// Sections: a paragraph whose format carries Sections::PageProperty starts a new page
// and a new section with its own page size, margins, header/footer distances and, where
// it names a set (SectionParts), its own headers and footers. The first section's page
// is the document's. A document without such paragraphs has one section.

#include "Document.h"

#include <QList>
#include <QTextFormat>

class QTextBlockFormat;
class QTextCursor;

struct SectionFormat {
    PageGeometry page;
    int headerDistance = 720;
    int footerDistance = 720;
    int parts = 0; // id of the section's own header/footer set in the document, 0 none
    bool operator==(const SectionFormat&) const = default;
};

namespace Sections {

// Block format property of a section's first paragraph, QString (encode()). Saved in
// the own format like the properties of EngineProperties.h: the number is taken.
constexpr int PageProperty = QTextFormat::UserProperty + 70;

struct Section {
    int start = 0; // body position of the section's first paragraph
    SectionFormat format;
};

// The first section's format: the document's page and distances.
SectionFormat firstOf(const Document& doc);
// The property's text: "width height left top right bottom header footer parts".
QString encode(const SectionFormat& f);
bool decode(const QVariant& v, SectionFormat* out);
// The section a break paragraph starts, or false for any other paragraph.
bool breakOf(const QTextBlockFormat& f, SectionFormat* out);
bool isBreak(const QTextBlockFormat& f);
// The sections of the body in order; one at least. Only paragraphs of the body's own
// flow start sections (not those in tables).
QList<Section> of(const Document& doc);
// True when the body has a section break.
bool any(const QTextDocument* body);
// The header (slot 1) or footer (slot 4) on a page of section `index`, `first` on the
// section's first page: the section's own part, else the nearest earlier section's.
// A first-page part (2, 8) counts only for the first page of the section that has it.
// `kind`, when given, receives the part's number (1, 2, 4, 8), 0 when there is none.
QTextDocument* partFor(const Document& doc, const QList<Section>& sections, int index, int slot, bool first,
                       int* kind = nullptr);

// Makes the cursor's paragraph start a section of format `f` on a new page.
void setBreak(QTextCursor& c, const SectionFormat& f);
// Inserts a new paragraph at the cursor that starts a section of format `f`.
void insertBreak(QTextCursor& c, const SectionFormat& f);

} // namespace Sections
