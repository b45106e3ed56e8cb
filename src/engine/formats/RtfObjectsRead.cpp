#include "RtfParser.h"

#include "engine/SectionParts.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/Sections.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>

namespace RtfRead {

namespace {

// Beyond these a file is hostile or broken: further shapes and notes are skipped, so
// that a small file cannot make thousands of documents.
constexpr int kMaxShapes = 5000;
constexpr int kMaxNotes = 5000;

// Stands for a note's number until the note's kind (foot or end) is known.
constexpr char16_t kNoteMark = 0xE000;
const QChar kObject(QChar::ObjectReplacementCharacter);

void replaceAll(QTextDocument* d, const QString& what, const QString& with)
{
    for (QTextCursor c = d->find(what); !c.isNull(); c = d->find(what, c))
        c.insertText(with);
}

} // namespace

std::shared_ptr<QTextDocument> Parser::scratchDocument() const
{
    auto d = std::make_shared<QTextDocument>();
    d->setDefaultFont(doc.body()->defaultFont());
    d->setUndoRedoEnabled(false);
    return d;
}

bool Parser::objectWord(const QByteArray& w, int p, bool wasStarred)
{
    Q_UNUSED(wasStarred);
    State& s = st();
    if (w == "shp") {
        if (shapes.size() >= kMaxShapes) {
            s.dest = Dest::Skip;
            return true;
        }
        RtfShapes::Shape shape;
        shape.flow = s.sink;
        shapes.append(shape);
        s.shape = int(shapes.size()) - 1;
        s.dest = Dest::Shape;
        return true;
    }
    if (w == "shpgrp") {
        s.dest = Dest::Skip;
        userNotes << QStringLiteral("Gruppierte Zeichnungsobjekte wurden nicht übernommen.");
        return true;
    }
    if (s.dest == Dest::Shape && s.shape >= 0 && s.shape < shapes.size()) {
        RtfShapes::Shape& shape = shapes[s.shape];
        if (w == "sp") {
            s.shapeProperty = true;
        } else if (w == "sn") {
            s.dest = Dest::ShapeName;
        } else if (w == "sv") {
            s.dest = Dest::ShapeValue;
        } else if (w == "shprslt") {
            // The same shape once more for readers without shapes.
            s.dest = Dest::Skip;
        } else if (w == "shptxt") {
            shape.hasText = true;
            s.dest = Dest::Body;
            if (placesOnPage(shape.flow)) {
                shape.text = scratchDocument();
                shape.sink = std::make_shared<RtfSink>(shape.text.get());
                s.sink = shape.sink.get();
            }
            // Elsewhere (notes) the box's text simply stands in the text.
            s.para = RtfParagraph();
            s.inTable = false;
            s.frame = {};
        } else {
            shape.word(w, p);
        }
        return true;
    }
    if (s.dest == Dest::ShapeName || s.dest == Dest::ShapeValue || s.dest == Dest::Shape)
        return true;
    // A picture's own properties: only its distances are taken.
    if (w == "picprop" && s.dest == Dest::Pict) {
        s.dest = Dest::PicProp;
        s.picProp = true;
        return true;
    }
    if (s.dest == Dest::PicProp) {
        if (w == "sp")
            s.picPropProperty = true;
        else if (w == "sn")
            s.dest = Dest::ShapeName;
        else if (w == "sv")
            s.dest = Dest::ShapeValue;
        return true;
    }

    // Notes.
    if (w == "footnote") {
        if (notesRead.size() >= kMaxNotes) {
            s.dest = Dest::Skip;
            return true;
        }
        Note n;
        n.doc = scratchDocument();
        n.sink = std::make_shared<RtfSink>(n.doc.get());
        notesRead.append(n);
        s.note = int(notesRead.size()) - 1;
        s.dest = Dest::Body;
        s.sink = n.sink.get();
        s.para = RtfParagraph();
        s.inTable = false;
        s.frame = {};
        return true;
    }
    if (w == "ftnalt") {
        if (s.note >= 0)
            notesRead[s.note].endnote = true;
        return true;
    }
    if (w == "chftn") {
        text(QString(QChar(kNoteMark)));
        return true;
    }
    if (w == "ftnsep" || w == "ftnsepc" || w == "aftnsep" || w == "aftnsepc" || w == "ftncn" || w == "aftncn") {
        s.dest = Dest::Skip;
        return true;
    }
    if (w.startsWith("ftnn") && w.size() <= 7) {
        footnoteStyle = w;
        return true;
    }
    if (w.startsWith("aftnn") && w.size() <= 8) {
        endnoteStyle = w;
        return true;
    }
    if (w == "ftnstart" || w == "aftnstart") {
        (w == "ftnstart" ? footnoteCount : endnoteCount) = qBound(0, p - 1, 100000);
        return true;
    }

    // Sections: each starts its page, unless it continues on the page before.
    if (w == "sect") {
        if (s.dest == Dest::Body && s.sink == &body) {
            closeFrame();
            if (!body.paragraphIsEmpty())
                endParagraph();
        }
        pageSettings.word(w, p);
        ++sections;
        if (s.dest == Dest::Body && s.sink == &body)
            body.sectionBreak(sections);
        return true;
    }
    if (w == "sbknone" || w == "sbkcol") {
        body.cancelPageBreak();
        pageSettings.word(w, p);
        return true;
    }
    if (w == "titlepg") {
        titlePage |= sections == 0;
        pageSettings.word(w, p);
        return true;
    }
    return false;
}

RtfSink* Parser::sectionPartSink(int section, int part)
{
    int& id = sectionSets[section];
    if (id == 0)
        id = SectionParts::add(doc);
    std::shared_ptr<RtfSink>& sink = sectionSinks[section * 16 + part];
    if (!sink)
        sink = std::make_shared<RtfSink>(SectionParts::part(doc, id, part, true));
    return sink.get();
}

void Parser::applySections()
{
    for (const auto& sink : std::as_const(sectionSinks))
        sink->finish();
    bool merged = false;
    for (auto it = doc.body()->rootFrame()->begin(); !it.atEnd(); ++it) {
        const QTextBlock b = it.currentBlock();
        const QString mark = b.blockFormat().stringProperty(Sections::PageProperty);
        if (it.currentFrame() || !mark.startsWith(u'#'))
            continue;
        const int n = mark.mid(1).toInt();
        SectionFormat f = pageSettings.section(n);
        f.parts = sectionSets.value(n);
        if (f.parts && pageSettings.titlePage(n)) {
            // A different first page without its own header or footer shows none there.
            for (int part : {1, 4})
                if (SectionParts::part(doc, f.parts, part))
                    SectionParts::part(doc, f.parts, part * 2, true);
        }
        QTextCursor c(b);
        const SectionFormat before = pageSettings.section(n - 1);
        if (pageSettings.continuous(n) && f.page.width == before.page.width && f.page.height == before.page.height) {
            // The page goes on: the section's own margins and parts wait for no page.
            merged = merged || !(f.page == before.page) || f.parts;
            QTextBlockFormat plain = b.blockFormat();
            plain.clearProperty(Sections::PageProperty);
            c.setBlockFormat(plain);
        } else {
            Sections::setBreak(c, f);
        }
    }
    if (merged)
        userNotes << QStringLiteral("Abschnitte, die auf derselben Seite weitergehen, haben die Seitenränder und "
                                    "Kopf- und Fußzeilen des Abschnitts davor erhalten.");
}

RtfSink* Parser::target(State& s)
{
    const bool framed = s.frame.on && !s.inTable && s.sink == &body && s.dest == Dest::Body;
    if (!framed) {
        if (openFrame && s.sink == &body)
            closeFrame();
        return s.sink;
    }
    if (openFrame && openFrame->place == s.frame.place)
        return openFrame->sink.get();
    closeFrame();
    openFrame = std::make_unique<OpenFrame>();
    openFrame->place = s.frame.place;
    openFrame->doc = scratchDocument();
    openFrame->sink = std::make_unique<RtfSink>(openFrame->doc.get());
    return openFrame->sink.get();
}

void Parser::closeFrame()
{
    if (!openFrame)
        return;
    const std::unique_ptr<OpenFrame> frame = std::move(openFrame);
    frame->sink->finish();
    const QTextCharFormat base = st().dest == Dest::Body ? st().cf : QTextCharFormat();
    body.addText(QString(kObject), RtfShapes::textBoxAnchor(base, *frame->doc, frame->place, 0, 0));
    framesRead = true;
}

bool Parser::placesOnPage(const RtfSink* flow) const
{
    if (flow == &body)
        return true;
    for (const auto& part : parts)
        if (part.get() == flow)
            return true;
    return false;
}

void Parser::finishShape(int index)
{
    RtfShapes::Shape& shape = shapes[index];
    RtfShapes::Placement place = shape.place;
    place.x = shape.left;
    place.y = shape.top;
    place.width = qMax(0, shape.right - shape.left);
    place.height = -qMax(0, shape.bottom - shape.top); // the box's own height
    const QTextCharFormat base = st().dest == Dest::Body ? st().cf : QTextCharFormat();
    if (!shape.picture.isNull()) {
        const QString name = QStringLiteral("rtfbild%1").arg(++pictureCount);
        shape.flow->document()->addResource(QTextDocument::ImageResource, QUrl(name), shape.picture);
        if (placesOnPage(shape.flow)) {
            QTextCharFormat f = RtfShapes::pictureAnchor(base, name, place);
            shape.applyDistances(f);
            shape.flow->addText(QString(kObject), f);
        } else {
            QTextImageFormat img;
            shape.applyDistances(img);
            img.setName(name);
            img.setWidth(Document::twipsToPixels(place.width > 0 ? place.width : Document::pixelsToTwips(shape.picture.width())));
            img.setHeight(Document::twipsToPixels(place.height < 0 ? -place.height : Document::pixelsToTwips(shape.picture.height())));
            shape.flow->addText(QString(kObject), img);
        }
    } else if (shape.hasText) {
        if (shape.sink) {
            shape.sink->finish();
            if (!shape.text->toPlainText().trimmed().isEmpty()) {
                shape.flow->addText(QString(kObject), RtfShapes::textBoxAnchor(base, *shape.text, place, shape.padX, shape.padY, shape.line));
                framesRead = true;
            }
        }
    } else if (shape.type != 0) {
        userNotes << QStringLiteral("Zeichnungen und Formen ohne Bild oder Text wurden nicht übernommen.");
    }
    shape.sink.reset();
    shape.text.reset();
    shape.picture = QImage();
}

void Parser::finishNote(int index)
{
    Note& n = notesRead[index];
    n.sink->finish();
    const int number = n.endnote ? ++endnoteCount : ++footnoteCount;
    const QString mark = RtfShapes::noteNumber(number, n.endnote ? endnoteStyle : footnoteStyle);
    replaceAll(n.doc.get(), QString(QChar(kNoteMark)), mark);
    State& s = st();
    RtfSink* owner = openFrame && s.frame.on && s.sink == &body ? openFrame->sink.get() : s.sink;
    owner->resolveMark(QChar(kNoteMark), mark);
}

void Parser::objectGroupEnd(const State& ended)
{
    if (ended.picPropProperty && !st().picPropProperty)
        pictProps.property();
    else if (ended.shapeProperty && !st().shapeProperty && ended.shape >= 0)
        shapes[ended.shape].property();
    if (ended.shape >= 0 && ended.shape != st().shape)
        finishShape(ended.shape);
    if (ended.note >= 0 && ended.note != st().note)
        finishNote(ended.note);
}

void Parser::finishObjects()
{
    QTextDocument* d = doc.body();
    replaceAll(d, QString(QChar(kNoteMark)), QString());
    // Notes follow the text: footnotes first, then endnotes, each under its number.
    bool firstNote = true;
    for (const bool endnotes : {false, true})
        for (const Note& n : std::as_const(notesRead)) {
            if (n.endnote != endnotes || n.doc->isEmpty())
                continue;
            QTextCursor c(d);
            c.movePosition(QTextCursor::End);
            QTextBlockFormat bf = n.doc->begin().blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
            if (firstNote)
                bf.setTopMargin(Document::twipsToPixels(240));
            c.insertBlock(bf, n.doc->begin().charFormat());
            c.insertFragment(QTextDocumentFragment(n.doc.get()));
            // A note's pictures live in the note's document until now.
            for (QTextBlock b = n.doc->begin(); b.isValid(); b = b.next())
                for (auto it = b.begin(); !it.atEnd(); ++it)
                    if (const QTextCharFormat f = it.fragment().charFormat(); f.isImageFormat()) {
                        const QUrl name(f.toImageFormat().name());
                        d->addResource(QTextDocument::ImageResource, name, n.doc->resource(QTextDocument::ImageResource, name));
                    }
            firstNote = false;
        }
    const bool foot = std::any_of(notesRead.cbegin(), notesRead.cend(), [](const Note& n) { return !n.endnote; });
    const bool end = std::any_of(notesRead.cbegin(), notesRead.cend(), [](const Note& n) { return n.endnote; });
    if (foot || end)
        userNotes << (foot && end
                          ? QStringLiteral("Fuß- und Endnoten wurden als Text am Ende des Dokuments übernommen.")
                      : foot ? QStringLiteral("Fußnoten wurden als Text am Ende des Dokuments übernommen.")
                                          : QStringLiteral("Endnoten wurden als Text am Ende des Dokuments übernommen."));

    // A different first page without its own header or footer shows none there.
    if (titlePage) {
        if (parts.contains(1) && !parts.contains(2))
            partSink(2);
        if (parts.contains(4) && !parts.contains(8))
            partSink(8);
    }
    applySections();
    if (RtfShapes::fitTables(doc))
        userNotes << QStringLiteral("Zu breite Tabellen wurden auf die Textbreite verkleinert.");
    RtfShapes::placeOnPages(doc);
    if (framesRead)
        userNotes << QStringLiteral("Textrahmen wurden an ihrer Stelle auf der Seite übernommen; ihr Text lässt sich "
                                    "hier nicht bearbeiten.");
}

} // namespace RtfRead
