#pragma once
// The RTF reader's parser, shared by its two source files: RtfReader.cpp (the token
// loop, text, groups, fields, pictures) and RtfControlWords.cpp (the table of control
// words) and RtfObjectsRead.cpp (frames, shapes, notes, sections). Not for use outside
// the reader.

#include "RtfFields.h"
#include "RtfPageSettings.h"
#include "RtfRowDef.h"
#include "RtfShapes.h"
#include "RtfSink.h"
#include "RtfTokenizer.h"
#include "engine/Document.h"

#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <memory>

namespace RtfRead {

// FieldObject: the result of a page-number field, which becomes one object;
// OwnField*: our own field properties inside the instruction.
// Shape*: a {\shp} group, a property's name and value; PicProp: a picture's {\*\picprop}.
enum class Dest { Body, FontTable, ColorTable, Skip, Pict, FieldInst, ListTable, ListOverride, PnText,
                  FieldObject, OwnField, OwnFieldData, OwnFieldLink, Shape, ShapeName, ShapeValue,
                  PicProp };

struct State {
    Dest dest = Dest::Body;
    RtfSink* sink = nullptr;
    QTextCharFormat cf;
    RtfParagraph para;
    bool inTable = false;
    int ls = 0, ilvl = 0;
    int pnStyle = 0; // old-style numbering: QTextListFormat::Style, 0 none
    QTextOption::TabType tabType = QTextOption::LeftTab;
    QChar tabLeader;         // \tldot, \tlhyph, ...: the next stop's leader
    bool ruleBelow = false;  // \brdrb: an empty paragraph with it is a rule line
    int outlineLevel = -1;   // \outlinelevel: a heading
    bool levelText = false;  // inside a list level's \leveltext
    int uc = 1;
    int codePage = 1252; // of the current font, for \'hh and 8-bit text
    int field = -1;
    bool isHeaderPart = false;
    int part = 0;                  // header/footer part being read
    RtfShapes::FrameWords frame;   // \pos... of the paragraph
    int shape = -1;                // index into Parser::shapes
    bool shapeProperty = false;    // inside an \sp group
    bool picProp = false;          // inside a picture's {\*\picprop}
    bool picPropProperty = false;  // inside an \sp group of it
    int note = -1;                 // index into Parser::notes
};

struct ListLevels {
    QList<int> nfc;      // per level
    QList<QString> text; // per level: \leveltext, level numbers as characters 0 to 8
};

class Parser {
public:
    Parser(const QByteArray& data, Document& into) : tok(data), doc(into), body(into.body()) {}

    bool run(QString* error);
    // What the user should know about the file (German sentences).
    QStringList notes() const { return userNotes; }
    // Set when the data ended before the outermost group did.
    bool truncated = false;

private:
    State& st() { return stack.last(); }
    void word(const RtfToken& t);
    void text(const QString& s);
    void byte(unsigned char b) { text(decode(QByteArray(1, char(b)))); }
    QString decode(const QByteArray& bytes);
    void groupEnd();
    void endParagraph();
    bool fieldWord(const QByteArray& w, int p, bool wasStarred);
    // Tab stops, borders, outline levels and list levels (RtfParagraphWords.cpp).
    bool paragraphWord(const RtfToken& t);
    bool listTableWord(const QByteArray& w, int p);
    // The list of a paragraph (false: none): its style and the label's suffix;
    // `parentNumbers` when the label starts with the numbers of the levels above.
    bool listOf(const State& s, QTextListFormat* out, bool* parentNumbers) const;
    void showField(int field, const QTextCharFormat& cf, RtfSink* sink);
    RtfSink* partSink(int part);
    // A header or footer of a later section, read into the section's own set.
    RtfSink* sectionPartSink(int section, int part);
    // Gives the paragraphs that start later sections their section's page.
    void applySections();
    // The body and the headers and footers hold shapes at their place on the page.
    bool placesOnPage(const RtfSink* flow) const;
    void finishPicture();
    // Frames, shapes, notes and sections (RtfObjectsRead.cpp).
    bool objectWord(const QByteArray& w, int p, bool wasStarred);
    RtfSink* target(State& s);
    void closeFrame();
    void finishShape(int index);
    void finishNote(int index);
    void objectGroupEnd(const State& ended);
    void finishObjects();
    std::shared_ptr<QTextDocument> scratchDocument() const;

    RtfTokenizer tok;
    Document& doc;
    RtfSink body;
    QHash<int, std::shared_ptr<RtfSink>> parts;
    QList<State> stack;
    QHash<int, QString> fonts;
    QHash<int, int> fontCodePages;
    int ansiCodePage = 1252;
    QHash<int, std::shared_ptr<QStringDecoder>> decoders;
    int defaultFont = 0;
    QList<QColor> colors;
    int red = 0, green = 0, blue = 0;
    QString fontName;
    int fontNumber = 0;
    int skipChars = 0;
    bool starred = false;
    QList<RtfFields::Field> fields;
    // List table: list id -> levels; overrides: ls -> list id.
    QHash<int, ListLevels> listTable;
    QHash<int, int> overrides;
    int curListId = 0, curOverrideList = 0;
    ListLevels curLevels;
    int defaultTab = 0; // \deftab, twips
    bool hyphenateAll = false; // \hyphauto: paragraphs are hyphenated unless \hyphpar0
    RtfPageSettings pageSettings;
    // Row definition of the table row being read.
    RtfRowDef rowDef;
    // Picture being read.
    QByteArray pict;
    int pictHex = -1;
    QByteArray pictKind;
    int picW = 0, picH = 0, picWGoal = 0, picHGoal = 0, picScaleX = 100, picScaleY = 100;
    int pictureCount = 0;

    // The frame whose paragraphs are being read; its anchor goes into the body once a
    // paragraph outside it follows.
    struct OpenFrame {
        RtfShapes::Placement place;
        std::shared_ptr<QTextDocument> doc;
        std::unique_ptr<RtfSink> sink;
    };
    std::unique_ptr<OpenFrame> openFrame;
    QList<RtfShapes::Shape> shapes;
    struct Note {
        std::shared_ptr<QTextDocument> doc;
        std::shared_ptr<RtfSink> sink;
        bool endnote = false;
    };
    QList<Note> notesRead;
    QByteArray footnoteStyle = "ftnnar", endnoteStyle = "aftnnrlc";
    int footnoteCount = 0, endnoteCount = 0;
    int sections = 0;
    bool titlePage = false;
    // Headers and footers of later sections: section -> set id in the document, and
    // section * 16 + part -> the part's sink.
    QHash<int, int> sectionSets;
    QHash<int, std::shared_ptr<RtfSink>> sectionSinks;
    bool framesRead = false;
    QStringList userNotes;
    // A picture's own {\*\picprop}: its distances to the text.
    RtfShapes::Shape pictProps;
};

} // namespace RtfRead
