#pragma once
// The printed copies of a body with sections: Qt lays a document out in one page size,
// so each section gets a copy of its own, cut from the body and laid out on its own
// page; the pages are numbered on across the copies.

#include "engine/Sections.h"

#include <QList>
#include <QTextDocument>

#include <functional>
#include <memory>

namespace SectionCopies {

struct Copy {
    std::shared_ptr<QTextDocument> doc;
    int index = 0; // of the section
    Sections::Section section;
    int end = 0;       // body position where the next section starts
    int firstPage = 1; // printed number of the copy's first page
    int pages = 1;
};

// A clone of `body` that holds only the paragraphs from `start` to `end` (a position
// past the end for the last section). Positions in it are the body's minus `start`.
std::unique_ptr<QTextDocument> cut(const QTextDocument* body, int start, int end);

// One copy per section of `body`, each laid out by `layOut`; pages numbered on.
QList<Copy> build(const QTextDocument* body, const QList<Sections::Section>& sections,
                  const std::function<void(QTextDocument*, const Copy&)>& layOut);

int pageCount(const QList<Copy>& copies);
// The copy that holds printed page `page`, or the copy of body position `pos`.
const Copy& ofPage(const QList<Copy>& copies, int page);
const Copy& ofPosition(const QList<Copy>& copies, int pos);

} // namespace SectionCopies
