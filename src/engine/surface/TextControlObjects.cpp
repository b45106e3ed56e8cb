#include "TextControl.h"
// Fields, tables, lists, images and paragraph frames of the editing surface.

#include "app/AppState.h"
#include "engine/Document.h"
#include "engine/EngineProperties.h"
#include "engine/objects/Fields.h"
#include "engine/objects/Images.h"
#include "engine/objects/ObjectSelection.h"
#include "engine/objects/ParagraphFrames.h"
#include "SurfaceFileIO.h"
#include "engine/objects/Tables.h"
#include "UndoKindTracker.h"

#include <QPainter>
#include <QTextTable>

// Fields ---------------------------------------------------------------------------

void TextControl::resetFieldFormatAtCaret()
{
    const QTextCursor c = textCursor();
    if (c.hasSelection())
        return;
    const QTextCharFormat f = c.charFormat();
    if (f.intProperty(EngineProperty::FieldId) <= 0)
        return;
    const Fields::Range r = Fields::find(m_doc->body(), f.intProperty(EngineProperty::FieldId));
    if (c.position() >= r.end || c.position() <= r.start)
        setCurrentCharFormat(Fields::plainFormat(f));
}

int TextControl::FieldInsert(const QString& text)
{
    QTextCursor c = activeCursor();
    const int id = Fields::insert(c, text);
    if (HeaderFooterActive() && headerFooterEditor())
        headerFooterEditor()->setTextCursor(c);
    else
        setTextCursor(c);
    m_fieldCurrent = id;
    return id;
}

int TextControl::FieldCurrent() const
{
    if (m_fieldCurrent > 0 && Fields::find(activePart(), m_fieldCurrent).id)
        return m_fieldCurrent;
    return Fields::atPosition(activePart(), activeCursor().position());
}

void TextControl::setFieldCurrent(int id)
{
    m_fieldCurrent = Fields::find(activePart(), id).id;
}

QString TextControl::FieldText() const { return Fields::text(activePart(), FieldCurrent()); }
void TextControl::setFieldText(const QString& text) { Fields::setText(activePart(), FieldCurrent(), text); }
int TextControl::FieldNext(int id, int kind) const { return Fields::next(activePart(), id, kind); }
QString TextControl::FieldData(int id) const { return Fields::data(activePart(), id); }
void TextControl::setFieldData(int id, const QString& data) { Fields::setData(activePart(), id, data); }
int TextControl::FieldType(int id) const { return Fields::type(activePart(), id); }
void TextControl::setFieldType(int id, int type)
{
    Fields::setType(activePart(), id, type);
    viewport()->update();
}
int TextControl::FieldLinkKind(int id) const { return Fields::linkKind(activePart(), id); }
void TextControl::setFieldLinkKind(int id, int kind) { Fields::setLinkKind(activePart(), id, kind); }
QString TextControl::FieldLinkTarget(int id) const { return Fields::linkTarget(activePart(), id); }
void TextControl::setFieldLinkTarget(int id, const QString& target)
{
    Fields::setLinkTarget(activePart(), id, target);
}

int TextControl::FieldStart(int id) const
{
    const Fields::Range r = Fields::find(activePart(), id);
    return r.id ? r.start + 1 : 0;
}

int TextControl::FieldEnd(int id) const
{
    const Fields::Range r = Fields::find(activePart(), id);
    return r.id ? r.end : 0;
}

bool TextControl::FieldDelete(bool keepText)
{
    const int id = FieldCurrent();
    m_fieldCurrent = 0;
    return id > 0 && Fields::remove(activePart(), id, keepText);
}

void TextControl::MarkHyperlinks()
{
    AppState& app = appState();
    const bool refreshOff = app.ToolbarRefreshOff;
    app.ToolbarRefreshOff = true;
    const int savedStart = SelStart(), savedLength = SelLength();
    for (int id = FieldNext(0, Fields::KindHyperlinks); id > 0; id = FieldNext(id, Fields::KindHyperlinks)) {
        setFieldCurrent(id);
        const int first = FieldStart(id), last = FieldEnd(id);
        setSelStart(first - 1);
        setSelLength(last - first + 1);
        setForeColor(QColor(0, 0, 255));
        setFontUnderline(true);
    }
    setSelStart(savedStart);
    setSelLength(savedLength);
    app.ToolbarRefreshOff = refreshOff;
}

// Tables ---------------------------------------------------------------------------

int TextControl::TableInsert(int rows, int columns, int pos, int id)
{
    QTextCursor c = textCursor();
    if (pos >= 0)
        c.setPosition(qBound(0, pos, m_doc->body()->characterCount() - 1));
    if (c.currentTable())
        return 0;
    const int result = Tables::insert(c, rows, columns, id);
    if (result)
        setTextCursor(c);
    return result;
}

QString TextControl::TableCellText(int id, int row, int col) const
{
    return Tables::cellText(m_doc->body(), id, row, col);
}
void TextControl::setTableCellText(int id, int row, int col, const QString& text)
{
    Tables::setCellText(m_doc->body(), id, row, col, text);
}
int TextControl::TableCellStart(int id, int row, int col) const { return Tables::cellStart(m_doc->body(), id, row, col); }
int TextControl::TableCellLength(int id, int row, int col) const { return Tables::cellLength(m_doc->body(), id, row, col); }
int TextControl::TableRows(int id) const { return Tables::rowCount(m_doc->body(), id); }
int TextControl::TableColumns(int id) const { return Tables::columnCount(m_doc->body(), id); }
int TextControl::TableAtInputPos() const { return Tables::tableAt(textCursor()); }
int TextControl::TableRowAtInputPos() const { return Tables::rowAt(textCursor()); }
int TextControl::TableColAtInputPos() const { return Tables::columnAt(textCursor()); }
bool TextControl::TableInsertLines(int where, int count) { return Tables::insertRows(textCursor(), where, count); }
bool TextControl::TableInsertColumn(int where) { return Tables::insertColumns(textCursor(), where); }
bool TextControl::TableDeleteLines() { return Tables::deleteRows(textCursor()); }
bool TextControl::TableDeleteColumns() { return Tables::deleteColumns(textCursor()); }
bool TextControl::TableCanInsert() const { return Tables::canInsertTable(textCursor()); }
bool TextControl::TableCanInsertLines() const { return Tables::canInsertRow(textCursor()); }
bool TextControl::TableCanInsertColumn() const { return Tables::canInsertColumn(textCursor()); }
bool TextControl::TableCanDeleteLines() const { return Tables::canDeleteRows(textCursor()); }
bool TextControl::TableCanDeleteColumn() const { return Tables::canDeleteColumns(textCursor()); }

bool TextControl::TableSelect(int what)
{
    const int t = TableAtInputPos();
    if (!t)
        return false;
    Tables::Span span;
    if (what == 1)
        span = Tables::tableSpan(m_doc->body(), t);
    else if (what == 2)
        span = Tables::rowSpan(m_doc->body(), t, TableRowAtInputPos());
    else
        span = Tables::cellSpan(m_doc->body(), t, TableRowAtInputPos(), TableColAtInputPos());
    if (span.start < 0)
        return false;
    setSelStart(span.start);
    setSelLength(span.length);
    return true;
}

void TextControl::setTableGridLines(bool on)
{
    m_tableGridLines = on;
    viewport()->update();
}

// Lists ----------------------------------------------------------------------------

int TextControl::ListType() const { return Lists::listType(textCursor()); }
void TextControl::setListType(int type) { Lists::setListType(textCursor(), type, m_listState); }
int TextControl::BulletAttribute(int index) const { return Lists::bulletAttribute(textCursor(), m_listState, index); }
void TextControl::setBulletAttribute(int index, int value) { Lists::setBulletAttribute(m_listState, index, value); }
int TextControl::NumberingAttribute(int index) const
{
    return Lists::numberingAttribute(textCursor(), m_listState, index);
}
void TextControl::setNumberingAttribute(int index, int value)
{
    Lists::setNumberingAttribute(m_listState, index, value);
}
void TextControl::ListIndentChange(int step) { Lists::changeLevel(textCursor(), m_listState, step); }
void TextControl::ListNumberingStyle(int style) { Lists::setNumberingStyle(textCursor(), m_listState, style); }

// Images ---------------------------------------------------------------------------

int TextControl::ObjectInsertAsChar(const QString& file, int pos, int scaleX, int scaleY)
{
    QTextCursor c = textCursor();
    if (pos >= 0)
        c.setPosition(qBound(0, pos, m_doc->body()->characterCount() - 1));
    const int id = Images::insertAsChar(c, file, scaleX, scaleY);
    if (id)
        setTextCursor(c);
    return id;
}

int TextControl::ObjectInsertFixed(const QString& file, int xTwips, int yTwips, int scaleX, int scaleY)
{
    QTextCursor c = textCursor();
    const int id = Images::insertFixed(c, file, xTwips, yTwips, scaleX, scaleY);
    if (id) {
        setTextCursor(c);
        m_objectSelected = id;
    }
    viewport()->update();
    return id;
}

int TextControl::ObjectSelected() const
{
    if (m_objectSelected > 0 && Images::positionOf(m_doc->body(), m_objectSelected) >= 0)
        return m_objectSelected;
    return Images::selectedId(textCursor());
}

void TextControl::setObjectSelected(int id)
{
    m_objectSelected = id;
    refreshObjectHandles();
}

void TextControl::selectObjectAt(const QPoint& viewportPos)
{
    const int id = ObjectSelection::imageAt(*this, viewportPos);
    const int pos = id ? Images::positionOf(m_doc->body(), id) : -1;
    if (pos >= 0) {
        // The picture's character becomes the selection: copy, cut and delete take it.
        QTextCursor c = textCursor();
        c.setPosition(pos);
        c.setPosition(pos + 1, QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    setObjectSelected(id);
}

void TextControl::paintObjectHandles()
{
    const int id = ObjectSelected();
    const QRectF r = id ? ObjectSelection::shownRect(*this, id) : QRectF();
    if (r.isEmpty())
        return;
    QPainter p(viewport());
    ObjectSelection::paintHandles(&p, QRectF(toViewport(r.topLeft()), toViewport(r.bottomRight())));
}

void TextControl::refreshObjectHandles()
{
    const int id = ObjectSelected();
    const QRectF r = id ? ObjectSelection::shownRect(*this, id) : QRectF();
    QRect now;
    if (!r.isEmpty())
        now = ObjectSelection::handlesArea(QRectF(toViewport(r.topLeft()), toViewport(r.bottomRight())))
                  .toAlignedRect();
    if (now == m_objectHandles)
        return;
    viewport()->update(m_objectHandles);
    viewport()->update(now);
    m_objectHandles = now;
}

int TextControl::ImageDistance(int side) const { return Images::distance(m_doc->body(), ObjectSelected(), side); }
void TextControl::setImageDistance(int side, int twips)
{
    Images::setDistance(m_doc->body(), ObjectSelected(), side, twips);
}
QString TextControl::ImageExportFormats() const { return Images::exportFormats(); }

int TextControl::ImageDisplay() const
{
    const int id = ObjectSelected();
    return id ? int(Images::shownAsBox(m_doc->body(), id)) : -1;
}

bool TextControl::SaveImage(const QString& file) { return m_files->savePicture(ObjectSelected(), file); }

void TextControl::setImageDisplay(int v)
{
    if (const int id = ObjectSelected(); id && v >= 0 && v != ImageDisplay()) {
        m_undo->begin(UndoKindTracker::Formatting);
        Images::setShownAsBox(m_doc->body(), id, v > 0);
        m_undo->end();
    }
}

// Paragraph frames -----------------------------------------------------------------

int TextControl::FrameStyle() const { return ParagraphFrames::style(textCursor()); }
void TextControl::setFrameStyle(int style)
{
    ParagraphFrames::setStyle(textCursor(), style);
    viewport()->update();
}
int TextControl::FrameLineWidth() const { return ParagraphFrames::lineWidth(textCursor()); }
void TextControl::setFrameLineWidth(int twips)
{
    ParagraphFrames::setLineWidth(textCursor(), twips);
    viewport()->update();
}
int TextControl::FrameDistance() const { return ParagraphFrames::distance(textCursor()); }
void TextControl::setFrameDistance(int twips)
{
    ParagraphFrames::setDistance(textCursor(), twips);
    viewport()->update();
}
