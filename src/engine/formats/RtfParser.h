#pragma once
// The RTF reader's parser, shared by its two source files: RtfReader.cpp (the token
// loop, text, groups, fields, pictures) and RtfControlWords.cpp (the table of control
// words). Not for use outside the reader.

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
// Shape*: a {\shp} group, its instance, a property's name and value; PicProp: a
// picture's {\*\picprop}.
enum class Dest { Body, FontTable, ColorTable, Skip, Pict, FieldInst, ListTable, ListOverride, PnText,
                  FieldObject, OwnField, OwnFieldData, OwnFieldLink, Shape, ShapeInst, ShapeName,
                  ShapeValue, PicProp };

struct State {
    Dest dest = Dest::Body;
    RtfSink* sink = nullptr;
    QTextCharFormat cf;
    RtfParagraph para;
    bool inTable = false;
    int ls = 0, ilvl = 0;
    int pnStyle = 0; // old-style numbering: QTextListFormat::Style, 0 none
    QTextOption::TabType tabType = QTextOption::LeftTab;
    int uc = 1;
    int codePage = 1252; // of the current font, for \'hh and 8-bit text
    int field = -1;
    bool isHeaderPart = false;
};

struct ListLevels {
    QList<int> nfc; // per level
};

class Parser {
public:
    Parser(const QByteArray& data, Document& into) : tok(data), doc(into), body(into.body()) {}

    bool run(QString* error);
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
    void showField(int field, const QTextCharFormat& cf, RtfSink* sink);
    RtfSink* partSink(int part);
    void finishPicture();
    // Shapes and picture properties (RtfShapeReading.cpp).
    bool shapeWord(const QByteArray& w, int p, bool wasStarred);
    void shapeText(const QString& s);
    void shapeGroupEnd(const State& ended);
    // True when the picture just read belongs to the shape being read.
    bool takenByShape(const QTextImageFormat& f, QTextDocument* target);

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
    RtfPageSettings pageSettings;
    // Row definition of the table row being read.
    RtfRowDef rowDef;
    // Picture being read.
    QByteArray pict;
    int pictHex = -1;
    QByteArray pictKind;
    int picW = 0, picH = 0, picWGoal = 0, picHGoal = 0, picScaleX = 100, picScaleY = 100;
    int pictureCount = 0;
    // Shape being read, the picture's own properties, where \sn and \sv text goes.
    RtfShape shape;
    QTextDocument* shapeDoc = nullptr;
    RtfShape pictProps;
    RtfShape* propTarget = nullptr;
};

} // namespace RtfRead
