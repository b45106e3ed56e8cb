#include "TextControl.h"

#include "engine/AlignmentCodes.h"

#include "app/Prompter.h"
#include "CharacterAttributes.h"
#include "engine/dialogs/CharacterDialog.h"
#include "engine/Document.h"
#include "engine/dialogs/FindDialog.h"
#include "FragmentMimeData.h"
#include "engine/pages/HeaderFooterEditing.h"
#include "engine/objects/Images.h"
#include "engine/objects/ParagraphFrames.h"
#include "engine/pages/Paginator.h"
#include "ScreenView.h"
#include "SelectionFormat.h"
#include "ShownLayout.h"
#include "engine/spelling/SpellMarks.h"
#include "SurfaceEditing.h"
#include "SurfaceFileIO.h"
#include "SurfaceKeys.h"
#include "engine/objects/TabStopEditing.h"
#include "UndoKindTracker.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {
QString withCrLf(QString s)
{
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    s.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return s;
}

const QColor kOutsidePage(0x80, 0x80, 0x80);
} // namespace

TextControl::TextControl(QWidget* parent)
    : ZoomedTextEdit(parent), m_doc(new Document(this)),
      m_undo(std::make_unique<UndoKindTracker>(m_doc->body())),
      m_files(std::make_unique<SurfaceFileIO>(*this))
{
    setDocument(m_doc->body());
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    // The document window shows its own edit menu on a right click.
    setContextMenuPolicy(Qt::NoContextMenu);
    // MouseMoved is told without a button pressed too (the magnifier follows it).
    viewport()->setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kOutsidePage);
    setPalette(pal);
    m_spell = new SpellMarks(m_doc->body(), this);
    connect(m_spell, &SpellMarks::marksChanged, viewport(), qOverload<>(&QWidget::update));
    connect(m_doc->body(), &QTextDocument::contentsChange, this, &TextControl::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TextControl::PosChange);
    connect(this, &QTextEdit::selectionChanged, this, &TextControl::PosChange);
    initPages();
    m_view = std::make_unique<ScreenView>(this, m_doc, m_paginator);
    m_hf = std::make_unique<HeaderFooterEditing>(*this, *m_view, m_pagesFilter);
    m_editing = std::make_unique<SurfaceEditing>(*this, *m_undo);
    m_tabs = std::make_unique<TabStopEditing>(*this, *m_undo);
    connect(m_doc, &Document::pageChanged, this, [this] { m_view->update(); });
    m_view->update();
}

TextControl::~TextControl()
{
    // The document outlives the members below by a moment; stop its notifications.
    disconnect(m_doc->body(), nullptr, this, nullptr);
    disconnect(verticalScrollBar(), nullptr, this, nullptr);
    delete m_pagesFilter;
    m_pagesFilter = nullptr;
    delete m_findDialog;
}

// ---- Text and selection -------------------------------------------------------

QString TextControl::Text() const
{
    QString s;
    for (QTextBlock b = m_doc->body()->begin(); b.isValid(); b = b.next()) {
        if (b != m_doc->body()->begin())
            s += QStringLiteral("\r\n");
        s += b.text();
    }
    return withCrLf(s);
}

void TextControl::setText(const QString& text)
{
    m_undo->begin(UndoKindTracker::Typing);
    QTextCursor c(m_doc->body());
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(QTextBlockFormat());
    Paginator::insertText(c, text);
    m_undo->end();
    setTextCursor(c);
}

QString TextControl::SelText() const { return withCrLf(activeCursor().selectedText()); }

void TextControl::setSelText(const QString& text) { m_editing->setSelText(text); }

int TextControl::SelStart() const { return activeCursor().selectionStart(); }

void TextControl::setSelStart(int pos) { m_editing->setSelStart(pos); }

int TextControl::SelLength() const
{
    const QTextCursor c = activeCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextControl::setSelLength(int length) { m_editing->setSelLength(length); }

// ---- Editing ------------------------------------------------------------------

void TextControl::beginEditStep(int kind)
{
    m_undo->begin(UndoKindTracker::Kind(qBound(1, kind, 4)));
}

void TextControl::endEditStep() { m_undo->end(); }

void TextControl::Clip(int action) { m_editing->clip(action); }
void TextControl::Undo() { m_editing->undo(); }
void TextControl::Redo() { m_editing->redo(); }

bool TextControl::CanCopy() const { return activeCursor().hasSelection(); }
bool TextControl::CanPaste() const { return m_editing->canPaste(); }
bool TextControl::CanUndo() const { return activePart()->isUndoAvailable(); }
bool TextControl::CanRedo() const { return activePart()->isRedoAvailable(); }
int TextControl::UndoKind() const { return m_editing->undoKind(); }
int TextControl::RedoKind() const { return m_editing->redoKind(); }

FindDialog* TextControl::findDialog() const { return m_findDialog; }

void TextControl::FindReplace(int mode)
{
    if (!m_findDialog)
        m_findDialog = new FindDialog(this, mode == 2);
    else
        m_findDialog->setReplaceMode(mode == 2);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

// ---- Character attributes -----------------------------------------------------

QTextCharFormat TextControl::commonCharFormat() const
{
    const QTextEdit* editor = activeEditor();
    return SelectionFormat::common(SelectionFormat::collect(editor->textCursor(), editor->currentCharFormat()),
                                   activePart()->defaultFont());
}

void TextControl::mergeFormat(const QTextCharFormat& f)
{
    if (QTextEdit* part = activePartEditor()) {
        part->mergeCurrentCharFormat(f);
        return;
    }
    m_undo->begin(UndoKindTracker::Formatting);
    mergeCurrentCharFormat(f);
    m_undo->end();
}

using CA = CharacterAttributes;
QString TextControl::FontName() const { return CA::fontName(commonCharFormat()); }
void TextControl::setFontName(const QString& name) { mergeFormat(CA::withFontName(name)); }
double TextControl::FontSize() const { return CA::fontSize(commonCharFormat()); }
void TextControl::setFontSize(double points)
{
    if (points > 0)
        mergeFormat(CA::withFontSize(points));
}
bool TextControl::FontBold() const { return CA::bold(commonCharFormat()); }
void TextControl::setFontBold(bool on) { mergeFormat(CA::withBold(on)); }
bool TextControl::FontItalic() const { return CA::italic(commonCharFormat()); }
void TextControl::setFontItalic(bool on) { mergeFormat(CA::withItalic(on)); }
bool TextControl::FontUnderline() const { return CA::underline(commonCharFormat()); }
void TextControl::setFontUnderline(bool on) { mergeFormat(CA::withUnderline(on)); }
bool TextControl::FontStrikethru() const { return CA::strikeOut(commonCharFormat()); }
void TextControl::setFontStrikethru(bool on) { mergeFormat(CA::withStrikeOut(on)); }
QColor TextControl::ForeColor() const { return CA::foreground(commonCharFormat()); }
void TextControl::setForeColor(const QColor& c) { mergeFormat(CA::withForeground(c)); }
QColor TextControl::TextBkColor() const { return CA::background(commonCharFormat()); }
void TextControl::setTextBkColor(const QColor& c) { mergeFormat(CA::withBackground(c)); }

bool TextControl::FontDialog()
{
    CharacterDialog dlg(commonCharFormat(), this);
    if (prompter().exec(&dlg) != QDialog::Accepted)
        return false;
    const QTextCharFormat changes = dlg.changes();
    if (!changes.properties().isEmpty())
        mergeFormat(changes);
    setFocus();
    return true;
}

// ---- Paragraph ----------------------------------------------------------------

int TextControl::Alignment() const { return AlignmentCodes::code(activeEditor()->alignment()); }

void TextControl::setAlignment(int a)
{
    if (QTextEdit* part = activePartEditor()) {
        part->setAlignment(AlignmentCodes::flags(a));
        return;
    }
    // Not through QTextEdit::setAlignment: that lays the body out anew as one endless
    // page, and the page views would lose their sheets.
    QTextBlockFormat f;
    f.setAlignment(AlignmentCodes::flags(a));
    m_undo->begin(UndoKindTracker::Formatting);
    textCursor().mergeBlockFormat(f);
    m_undo->end();
}

int TextControl::TabCurrent() const { return m_tabs->current(); }
void TextControl::setTabCurrent(int index) { m_tabs->setCurrent(index); }
int TextControl::TabType() const { return m_tabs->type(); }
void TextControl::setTabType(int type) { m_tabs->setType(type); }
int TextControl::TabPos() const { return m_tabs->position(); }
void TextControl::setTabPos(int twips) { m_tabs->setPosition(twips); }
int TextControl::TabCount() const { return m_tabs->count(); }
void TextControl::addTabStop(int twips, int type) { m_tabs->add(twips, type); }
void TextControl::removeTabStop(int index) { m_tabs->remove(index); }

int TextControl::IndentL() const { return qRound(Document::pixelsToTwips(textCursor().blockFormat().leftMargin())); }
int TextControl::IndentFL() const { return qRound(Document::pixelsToTwips(textCursor().blockFormat().textIndent())); }
int TextControl::IndentR() const { return qRound(Document::pixelsToTwips(textCursor().blockFormat().rightMargin())); }

// ---- Page -----------------------------------------------------------------------

void TextControl::setPageValue(int PageGeometry::*member, int v)
{
    PageGeometry g = m_doc->page();
    g.*member = v;
    m_doc->setPage(g);
}

int TextControl::PageWidth() const { return m_doc->page().width; }
void TextControl::setPageWidth(int v) { setPageValue(&PageGeometry::width, v); }
int TextControl::PageHeight() const { return m_doc->page().height; }
void TextControl::setPageHeight(int v) { setPageValue(&PageGeometry::height, v); }
int TextControl::PageMarginL() const { return m_doc->page().marginL; }
void TextControl::setPageMarginL(int v) { setPageValue(&PageGeometry::marginL, v); }
int TextControl::PageMarginT() const { return m_doc->page().marginT; }
void TextControl::setPageMarginT(int v) { setPageValue(&PageGeometry::marginT, v); }
int TextControl::PageMarginR() const { return m_doc->page().marginR; }
void TextControl::setPageMarginR(int v) { setPageValue(&PageGeometry::marginR, v); }
int TextControl::PageMarginB() const { return m_doc->page().marginB; }
void TextControl::setPageMarginB(int v) { setPageValue(&PageGeometry::marginB, v); }

// ---- View -----------------------------------------------------------------------

void TextControl::setZoomFactor(int percent) { m_view->setZoom(percent); }
int TextControl::ZoomFactor() const { return m_view->zoom(); }
void TextControl::setViewMode(int mode) { m_view->setMode(mode); }
int TextControl::ViewMode() const { return m_view->mode(); }

void TextControl::setControlChars(bool on)
{
    if (on == m_controlChars)
        return;
    m_controlChars = on;
    QTextOption o = m_doc->body()->defaultTextOption();
    const QTextOption::Flags marks =
        QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators;
    o.setFlags(on ? (o.flags() | marks) : (o.flags() & ~marks));
    m_relayouting = true;
    m_doc->body()->setDefaultTextOption(o);
    m_relayouting = false;
    viewport()->update();
}

int TextControl::ScrollPosY() const { return qRound(verticalScrollBar()->value() / pixelsPerTwip()); }

void TextControl::setScrollPosY(int twips) { verticalScrollBar()->setValue(qRound(twips * pixelsPerTwip())); }

double TextControl::pixelsPerTwip() const { return Document::twipsToPixels(zoom()); }
int TextControl::textLeftX() const { return m_view->textLeftX(); }

// ---- Input position ---------------------------------------------------------

InputPosition TextControl::CurrentInputPosition() const
{
    // Page, line and column of the printed pages, whatever the view shows.
    return InputPositions(*m_paginator, m_doc->page()).at(textCursor().position());
}

void TextControl::setCurrentInputPosition(const InputPosition& p)
{
    int pos = InputPositions(*m_paginator, m_doc->page()).positionOf(p);
    const int end = m_doc->body()->characterCount() - 1;
    pos = pos < 0 ? end : qBound(0, pos, end);
    QTextCursor c = textCursor();
    c.setPosition(pos);
    setTextCursor(c);
    ensureCursorVisible();
}

int TextControl::CurrentPages() const
{
    // The printed pages in every view.
    return m_paginator->pageCount();
}

// ---- Files ------------------------------------------------------------------

bool TextControl::Load(const QString& file, int offset, int format, bool insertAtSelection)
{
    return m_files->load(file, offset, format, insertAtSelection);
}

bool TextControl::Save(const QString& file, int offset, int format, bool selectionOnly)
{
    return m_files->save(file, offset, format, selectionOnly);
}

QByteArray TextControl::SaveToMemory(int format) const { return m_files->saveToMemory(format); }
QString TextControl::LastError() const { return m_files->lastError(); }
QString TextControl::LoadNote() const { return m_files->lastNote(); }
QVariant TextControl::LoadSaveAttribute(int index) const { return m_files->attribute(index); }
void TextControl::setLoadSaveAttribute(int index, const QVariant& value) { m_files->setAttribute(index, value); }

// ---- Notifications and events -------------------------------------------------

void TextControl::onContentsChange(int pos, int removed, int added)
{
    const QTextBlock changed = m_doc->body()->findBlock(pos);
    // A frame's lines lie outside the text that Qt repaints.
    if (ParagraphFrames::hasFrame(changed.blockFormat()) || ParagraphFrames::hasFrame(changed.next().blockFormat()))
        viewport()->update();
    if (!m_relayouting && (removed != 0 || added != 0))
        Q_EMIT Change();
}

void TextControl::keyPressEvent(QKeyEvent* e)
{
    Q_EMIT KeyDown(e->key(), e->modifiers());
    SurfaceKeys::press(*this, *m_undo, e, [this](QKeyEvent* k) {
        if (!moveAlongShownLines(k))
            QTextEdit::keyPressEvent(k);
    });
}

void TextControl::mousePressEvent(QMouseEvent* e)
{
    ZoomedTextEdit::mousePressEvent(e);
    if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton)
        selectObjectAt(e->position().toPoint());
    Q_EMIT UserActivated();
    Q_EMIT MouseDown(e->button(), e->position().toPoint());
}

void TextControl::mouseMoveEvent(QMouseEvent* e)
{
    ZoomedTextEdit::mouseMoveEvent(e);
    Q_EMIT MouseMoved(e->position().toPoint());
}

void TextControl::focusInEvent(QFocusEvent* e)
{
    ZoomedTextEdit::focusInEvent(e);
    switch (e->reason()) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: Q_EMIT UserActivated(); break;
    default: break;
    }
}

void TextControl::contextMenuEvent(QContextMenuEvent* e) { e->ignore(); }

void TextControl::paintOverText(QPainter* p, const QRectF& clip)
{
    if (!showsCopy())
        return m_spell->paint(p, clip);
    for (const ShownLayout::Piece& piece : shownPieces()) {
        p->save();
        p->translate(piece.origin);
        const QRectF local = clip.translated(-piece.origin);
        m_spell->paint(p, local, piece.d, piece.scale, piece.start);
        if (m_controlChars) {
            p->scale(1 / piece.scale, 1 / piece.scale);
            p->setPen(palette().color(QPalette::Text));
            ShownLayout::paintControlChars(p, piece.d, QRectF(local.topLeft() * piece.scale, local.size() * piece.scale));
        }
        p->restore();
    }
}

void TextControl::resizeEvent(QResizeEvent* e)
{
    QTextEdit::resizeEvent(e);
    m_view->resized();
}

void TextControl::paintEvent(QPaintEvent* e)
{
    const Images::ScreenPainting screen;
    if (m_view->showsPages()) {
        m_view->paintLayout(e);
    } else {
        ZoomedTextEdit::paintEvent(e);
        m_view->paintTextExtras();
    }
    paintObjectHandles();
}

QSizeF TextControl::contentsSize() const
{
    // Asked while the surface is still being built, before the view exists.
    return m_view ? m_view->contentsSize(ZoomedTextEdit::contentsSize()) : ZoomedTextEdit::contentsSize();
}

bool TextControl::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(FragmentMimeData::mimeType()) || QTextEdit::canInsertFromMimeData(source);
}

QMimeData* TextControl::createMimeDataFromSelection() const
{
    return new FragmentMimeData(textCursor().selection());
}

void TextControl::insertFromMimeData(const QMimeData* source)
{
    if (!source || isReadOnly())
        return;
    m_undo->begin(UndoKindTracker::Typing);
    QTextCursor c = textCursor();
    if (FragmentMimeData::insertInto(source, c))
        setTextCursor(c);
    else
        QTextEdit::insertFromMimeData(source);
    m_undo->end();
    ensureCursorVisible();
}
