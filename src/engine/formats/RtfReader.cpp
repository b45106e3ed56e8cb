#include "RtfReader.h"

#include "Cp1252.h"
#include "InputFile.h"
#include "RtfParser.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/TabStops.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace RtfRead {


RtfSink* Parser::partSink(int part)
{
    if (!parts.contains(part)) {
        doc.setHeaderFooterSet(doc.headerFooterSet() | part);
        parts.insert(part, std::make_shared<RtfSink>(doc.headerFooter(part)));
    }
    return parts[part].get();
}

void Parser::text(const QString& s)
{
    State& s0 = st();
    switch (s0.dest) {
    case Dest::Body:
        target(s0)->addText(s, s0.cf);
        if (s0.field >= 0 && s0.field < fields.size() && !s.isEmpty())
            fields[s0.field].shown = true;
        break;
    case Dest::FieldObject:
        // The frozen result gives the object its format, nothing else.
        if (s0.field >= 0 && s0.field < fields.size() && !fields[s0.field].shown)
            showField(s0.field, s0.cf, s0.sink);
        break;
    case Dest::OwnFieldData:
        if (s0.field >= 0 && s0.field < fields.size())
            fields[s0.field].data += s;
        break;
    case Dest::OwnFieldLink:
        if (s0.field >= 0 && s0.field < fields.size())
            fields[s0.field].link += s;
        break;
    case Dest::FontTable:
        fontName += s;
        if (fontName.contains(QLatin1Char(';'))) {
            fonts.insert(fontNumber, fontName.left(fontName.indexOf(QLatin1Char(';'))).trimmed());
            fontName.clear();
        }
        break;
    case Dest::ColorTable:
        for (QChar c : s)
            if (c == u';') {
                colors << ((red | green | blue) || !colors.isEmpty() ? QColor(red, green, blue) : QColor());
                red = green = blue = 0;
            }
        break;
    case Dest::ShapeName:
        if (s0.picProp)
            pictProps.name += s;
        else if (s0.shape >= 0)
            shapes[s0.shape].name += s;
        break;
    case Dest::ShapeValue:
        if (s0.picProp)
            pictProps.value += s;
        else if (s0.shape >= 0)
            shapes[s0.shape].value += s;
        break;
    case Dest::ListTable:
        if (s0.levelText && !curLevels.text.isEmpty())
            curLevels.text.last() += s;
        break;
    case Dest::FieldInst:
        if (s0.field >= 0 && s0.field < fields.size())
            fields[s0.field].instruction += s;
        break;
    case Dest::Pict:
        for (QChar c : s) {
            const int v = c.isDigit() ? c.unicode() - '0'
                          : (c >= u'a' && c <= u'f') ? c.unicode() - 'a' + 10
                          : (c >= u'A' && c <= u'F') ? c.unicode() - 'A' + 10
                                                     : -1;
            if (v < 0)
                continue;
            if (pictHex < 0) {
                pictHex = v;
            } else {
                pict.append(char(pictHex * 16 + v));
                pictHex = -1;
            }
        }
        break;
    default:
        break;
    }
}

QString Parser::decode(const QByteArray& bytes)
{
    const int cp = st().codePage;
    if (cp != 1252) {
        std::shared_ptr<QStringDecoder>& d = decoders[cp];
        if (!d)
            d = std::make_shared<QStringDecoder>(QByteArray("windows-" + QByteArray::number(cp)).constData());
        if (d->isValid())
            return d->decode(bytes);
    }
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += Cp1252::toUnicode(uchar(c));
    return out;
}

void Parser::endParagraph()
{
    State& s = st();
    if (s.dest != Dest::Body)
        return;
    RtfParagraph p = s.para;
    p.mark = s.cf;
    // The rule line that office programs write as an empty paragraph with a border below.
    if (s.ruleBelow && s.sink->paragraphIsEmpty())
        p.format.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth, QTextLength(QTextLength::PercentageLength, 100));
    if ((s.ls > 0 || s.pnStyle != 0) && listOf(s, &p.listFormat, &p.parentNumbers)) {
        p.listKey = s.ls > 0 ? s.ls : 100000 + p.listFormat.style();
        // \li is where the item's text starts: the list adds no indent of its own then.
        // Without one, Qt's indent steps make room for the number.
        p.listFormat.setProperty(EngineProperty::ListLevel, s.ilvl + 1);
        if (p.format.leftMargin() > 0)
            p.listFormat.setIndent(0);
        // The number hangs before the text by the list's usual distance.
        const double first = p.format.textIndent() + Document::twipsToPixels(360);
        if (qAbs(first) < 0.01)
            p.format.clearProperty(QTextFormat::TextIndent);
        else
            p.format.setTextIndent(first);
    }
    // \tx counts from the margin, the block format from the paragraph's indent.
    TabStops::setFromMargin(p.format, s.para.format.tabPositions());
    target(s)->endParagraph(p, s.inTable);
}

void Parser::finishPicture()
{
    if (pictKind != "png" && pictKind != "jpeg")
        return;
    const QImage img = InputFile::decodePicture(pict);
    if (img.isNull())
        return;
    // A shape's picture: the shape places it.
    if (st().dest == Dest::ShapeValue && st().shape >= 0) {
        shapes[st().shape].picture = img;
        return;
    }
    const QString name = QStringLiteral("rtfbild%1").arg(++pictureCount);
    RtfSink* into = nullptr;
    // The picture belongs to the document of the enclosing text destination.
    for (qsizetype i = stack.size() - 1; i >= 0; --i)
        if (stack[i].dest == Dest::Body) {
            into = target(stack[i]);
            break;
        }
    if (!into)
        return;
    into->document()->addResource(QTextDocument::ImageResource, QUrl(name), img);
    QTextImageFormat f;
    f.setName(name);
    const double w = picWGoal > 0 ? Document::twipsToPixels(picWGoal) : img.width();
    const double h = picHGoal > 0 ? Document::twipsToPixels(picHGoal) : img.height();
    f.setWidth(w * qBound(1, picScaleX, 1000) / 100.0);
    f.setHeight(h * qBound(1, picScaleY, 1000) / 100.0);
    pictProps.applyDistances(f);
    into->addText(QString(QChar::ObjectReplacementCharacter), f);
}

void Parser::groupEnd()
{
    const State ended = stack.takeLast();
    if (ended.dest == Dest::Pict && st().dest != Dest::Pict)
        finishPicture();
    // The end of a field's own group: a page object or an empty own field whose
    // result was missing still needs its character.
    if (ended.field >= 0 && ended.field != st().field && ended.field < fields.size()) {
        const RtfFields::Field& f = fields[ended.field];
        if (!f.shown && (f.own || RtfFields::kindOf(f) == RtfFields::Kind::PageNumber
                         || RtfFields::kindOf(f) == RtfFields::Kind::PageCount))
            showField(ended.field, ended.cf, ended.sink);
    }
    if (ended.isHeaderPart && !st().isHeaderPart)
        ended.sink->finish();
    objectGroupEnd(ended);
}

void Parser::showField(int field, const QTextCharFormat& cf, RtfSink* sink)
{
    RtfFields::Field& f = fields[field];
    f.shown = true;
    sink->addText(RtfFields::objectText(), RtfFields::fieldFormat(cf, f, -(field + 1)));
}

bool Parser::fieldWord(const QByteArray& w, int p, bool wasStarred)
{
    State& s = st();
    if (w == "field") {
        fields.append(RtfFields::Field());
        s.field = int(fields.size()) - 1;
        return true;
    }
    // The page number as headers and footers of older programs write it, without a field.
    if (w == "chpgn") {
        if (s.dest == Dest::Body) {
            fields.append(RtfFields::Field());
            fields.last().instruction = QStringLiteral("PAGE");
            showField(int(fields.size()) - 1, s.cf, target(s));
        }
        return true;
    }
    const bool inField = s.field >= 0 && s.field < fields.size();
    if (w == "fldinst") {
        s.dest = Dest::FieldInst;
        return true;
    }
    if (w == "fldrslt") {
        s.dest = Dest::Body;
        if (!inField)
            return true;
        const RtfFields::Field& f = fields[s.field];
        const RtfFields::Kind kind = RtfFields::kindOf(f);
        if (kind == RtfFields::Kind::PageNumber || kind == RtfFields::Kind::PageCount)
            s.dest = Dest::FieldObject;
        else
            s.cf = RtfFields::fieldFormat(s.cf, f, -(s.field + 1));
        return true;
    }
    if (w == "qxfield" && wasStarred && s.dest == Dest::FieldInst && inField) {
        s.dest = Dest::OwnField;
        fields[s.field].own = true;
        return true;
    }
    if (s.dest == Dest::OwnField && inField) {
        RtfFields::Field& f = fields[s.field];
        if (w == "qxfid") f.id = qMax(0, p);
        else if (w == "qxftype") f.type = p;
        else if (w == "qxflinkkind") f.linkKind = p;
        else if (w == "qxfdata") s.dest = Dest::OwnFieldData;
        else if (w == "qxflink") s.dest = Dest::OwnFieldLink;
        return true;
    }
    // In a page field's result only the character format counts, which the usual
    // words set.
    return s.dest == Dest::OwnFieldData || s.dest == Dest::OwnFieldLink;
}

bool Parser::run(QString* error)
{
    RtfToken t = tok.next();
    if (t.kind != RtfToken::GroupStart) {
        FormatErrors::set(error, QStringLiteral("Die Datei ist keine RTF-Datei."));
        return false;
    }
    State root;
    root.sink = &body;
    stack.append(root);
    doc.body()->setUndoRedoEnabled(false);
    // One edit block: the layout runs once at the end instead of after every insert.
    QTextCursor batch(doc.body());
    batch.beginEditBlock();
    bool closed = false;
    while (!closed) {
        t = tok.next();
        if (skipChars > 0) {
            if (t.kind == RtfToken::Text && !t.word.isEmpty()) {
                const int n = qMin<int>(skipChars, t.word.size());
                skipChars -= n;
                t.word.remove(0, n);
                if (t.word.isEmpty())
                    continue;
            } else if (t.kind == RtfToken::HexByte || t.kind == RtfToken::Symbol || t.kind == RtfToken::Word
                       || t.kind == RtfToken::Binary) {
                --skipChars;
                continue;
            } else {
                skipChars = 0;
            }
        }
        switch (t.kind) {
        case RtfToken::End:
            // Cut off before the last brace: what was read so far is kept.
            truncated = true;
            closed = true;
            break;
        case RtfToken::GroupStart:
            if (stack.size() >= RtfReader::MaxDepth) {
                batch.endEditBlock();
                FormatErrors::set(error, QStringLiteral("Die RTF-Datei ist zu tief verschachtelt und kann nicht gelesen werden."));
                return false;
            }
            {
                State inner = stack.last(); // a copy: appending may move the list
                stack.append(std::move(inner));
            }
            break;
        case RtfToken::GroupEnd:
            if (stack.size() == 1) {
                closed = true;
                break;
            }
            groupEnd();
            break;
        case RtfToken::Word:
            if (stack.size() == 1 && t.word == "rtf" && tok.position() < 16)
                break;
            word(t);
            break;
        case RtfToken::Symbol:
            starred = false;
            if (t.symbol == '*') {
                starred = true;
            } else if (t.symbol == '\\' || t.symbol == '{' || t.symbol == '}') {
                text(QString(QLatin1Char(t.symbol)));
            } else if (t.symbol == '~') {
                text(QString(QChar::Nbsp));
            } else if (t.symbol == '-') {
                text(QString(QChar(0x00AD)));
            } else if (t.symbol == '_') {
                text(QString(QChar(0x2011)));
            } else if (t.symbol == '\t') {
                text(QStringLiteral("\t"));
            }
            break;
        case RtfToken::HexByte:
            if (st().dest == Dest::Pict)
                pict.append(char(t.param));
            else
                byte(uchar(t.param));
            break;
        case RtfToken::Text: {
            if (st().dest == Dest::Pict) {
                text(QString::fromLatin1(t.word));
                break;
            }
            QByteArray bytes;
            bytes.reserve(t.word.size());
            for (char c : t.word)
                if (uchar(c) >= 0x20 || c == '\t')
                    bytes += c;
            text(decode(bytes));
            break;
        }
        case RtfToken::Binary:
            if (st().dest == Dest::Pict)
                pict += t.word;
            break;
        }
    }
    while (stack.size() > 1)
        groupEnd(); // a cut-off file: close what is open, so shapes and notes are kept
    closeFrame();
    body.finish();
    batch.endEditBlock();
    for (const auto& sink : std::as_const(parts))
        sink->finish();
    pageSettings.apply(doc);
    finishObjects();
    RtfFields::numberProvisional(doc.body());
    QList<QTextDocument*> partDocs;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        partDocs << doc.headerFooter(it.key());
    for (const auto& sink : std::as_const(sectionSinks))
        partDocs << sink->document();
    for (QTextDocument* d : std::as_const(partDocs)) {
        RtfFields::numberProvisional(d);
        if (defaultTab > 0)
            TabStops::setDefaultDistance(d, defaultTab);
    }
    if (defaultTab > 0)
        TabStops::setDefaultDistance(doc.body(), defaultTab);
    doc.body()->setUndoRedoEnabled(true);
    return true;
}

} // namespace RtfRead

bool RtfReader::sniff(const QByteArray& data) const
{
    const QByteArray head = data.left(64).trimmed();
    return head.startsWith("{\\rtf");
}

bool RtfReader::read(const QByteArray& data, Document& into, QString* error)
{
    if (!sniff(data)) {
        FormatErrors::set(error, QStringLiteral("Die Datei ist keine RTF-Datei."));
        return false;
    }
    RtfRead::Parser parser(data, into);
    if (!parser.run(error))
        return false;
    if (parser.truncated)
        addNote(FormatErrors::incompleteNote());
    for (const QString& note : parser.notes())
        addNote(note);
    return true;
}
