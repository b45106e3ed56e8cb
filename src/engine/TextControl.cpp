#include "TextControl.h"

#include "AlignmentCodes.h"

#include "app/Prompter.h"
#include "engine/CharacterDialog.h"
#include "engine/DocumentFile.h"
#include "engine/Document.h"
#include "engine/FindDialog.h"
#include "engine/FragmentMimeData.h"
#include "engine/LinePager.h"
#include "engine/Paginator.h"
#include "engine/ScreenView.h"
#include "engine/SelectionFormat.h"
#include "engine/TabStops.h"
#include "engine/UndoKindTracker.h"
#include "engine/formats/FormatIO.h"
#include "engine/formats/Formats.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
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
      m_pager(std::make_unique<LinePager>(m_doc->body()))
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
    connect(m_doc->body(), &QTextDocument::contentsChange, this, &TextControl::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TextControl::PosChange);
    connect(this, &QTextEdit::selectionChanged, this, &TextControl::PosChange);
    initPages();
    m_view = std::make_unique<ScreenView>(this, m_doc, m_paginator, m_pager.get());
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

void TextControl::insertWithBreaks(QTextCursor& c, const QString& text)
{
    Paginator::insertText(c, text);
}

void TextControl::setText(const QString& text)
{
    m_undo->begin(UndoKindTracker::Typing);
    QTextCursor c(m_doc->body());
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(QTextBlockFormat());
    insertWithBreaks(c, text);
    m_undo->end();
    setTextCursor(c);
}

QString TextControl::SelText() const { return withCrLf(activeCursor().selectedText()); }

void TextControl::setSelText(const QString& text)
{
    if (QTextEdit* part = activePartEditor()) {
        QTextCursor c = part->textCursor();
        c.beginEditBlock();
        c.removeSelectedText();
        insertWithBreaks(c, text);
        c.endEditBlock();
        part->setTextCursor(c);
        return;
    }
    QTextCursor c = textCursor();
    m_undo->begin(UndoKindTracker::Typing);
    c.beginEditBlock();
    c.removeSelectedText();
    insertWithBreaks(c, text);
    c.endEditBlock();
    m_undo->end();
    setTextCursor(c);
}

int TextControl::SelStart() const { return activeCursor().selectionStart(); }

void TextControl::setSelStart(int pos)
{
    QTextEdit* editor = activeEditor();
    QTextCursor c = editor->textCursor();
    const int end = qMax(0, activePart()->characterCount() - 1);
    c.setPosition(qBound(0, pos, end));
    editor->setTextCursor(c);
}

int TextControl::SelLength() const
{
    const QTextCursor c = activeCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextControl::setSelLength(int length)
{
    QTextEdit* editor = activeEditor();
    QTextCursor c = editor->textCursor();
    const int start = c.selectionStart();
    const int end = qMax(0, activePart()->characterCount() - 1);
    c.setPosition(start);
    c.setPosition(length < 0 ? end : qBound(start, start + length, end), QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

// ---- Editing ------------------------------------------------------------------

void TextControl::beginEditStep(int kind)
{
    m_undo->begin(UndoKindTracker::Kind(qBound(1, kind, 4)));
}

void TextControl::endEditStep() { m_undo->end(); }

void TextControl::Clip(int action)
{
    if (QTextEdit* part = activePartEditor()) {
        QTextCursor c = part->textCursor();
        if (action == 1 && c.hasSelection())
            part->cut();
        else if (action == 2 && c.hasSelection())
            part->copy();
        else if (action == 3)
            part->paste();
        else if (action == 4 && c.hasSelection()) {
            c.removeSelectedText();
            part->setTextCursor(c);
        }
        return;
    }
    switch (action) {
    case 1:
        if (!textCursor().hasSelection())
            return;
        m_undo->begin(UndoKindTracker::Deleting);
        cut();
        m_undo->end();
        break;
    case 2:
        if (textCursor().hasSelection())
            copy();
        break;
    case 3:
        paste();
        break;
    case 4: {
        QTextCursor c = textCursor();
        if (!c.hasSelection())
            return;
        m_undo->begin(UndoKindTracker::Deleting);
        c.removeSelectedText();
        m_undo->end();
        setTextCursor(c);
        break;
    }
    default: break;
    }
}

void TextControl::Undo()
{
    if (QTextEdit* part = activePartEditor()) {
        part->undo();
        return;
    }
    m_undo->undo();
    ensureCursorVisible();
}

void TextControl::Redo()
{
    if (QTextEdit* part = activePartEditor()) {
        part->redo();
        return;
    }
    m_undo->redo();
    ensureCursorVisible();
}

bool TextControl::CanCopy() const { return activeCursor().hasSelection(); }
bool TextControl::CanPaste() const
{
    const QTextEdit* editor = activeEditor();
    return !editor->isReadOnly() && editor->canPaste();
}
bool TextControl::CanUndo() const { return activePart()->isUndoAvailable(); }
bool TextControl::CanRedo() const { return activePart()->isRedoAvailable(); }
// Steps of a header or footer carry no kind of their own: they count as "other".
int TextControl::UndoKind() const
{
    if (activePartEditor())
        return CanUndo() ? UndoKindTracker::Other : 0;
    return m_undo->undoKind();
}
int TextControl::RedoKind() const
{
    if (activePartEditor())
        return CanRedo() ? 10 + UndoKindTracker::Other - 1 : 0;
    return m_undo->redoKind();
}

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

QString TextControl::FontName() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::FontFamilies) ? f.fontFamilies().toStringList().value(0)
                                                    : QString();
}

void TextControl::setFontName(const QString& name)
{
    QTextCharFormat f;
    f.setFontFamilies({name});
    mergeFormat(f);
}

double TextControl::FontSize() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0.0;
}

void TextControl::setFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

bool TextControl::FontBold() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
}

void TextControl::setFontBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

bool TextControl::FontItalic() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::FontItalic) && f.fontItalic();
}

void TextControl::setFontItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

bool TextControl::FontUnderline() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::TextUnderlineStyle) && f.fontUnderline();
}

void TextControl::setFontUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

bool TextControl::FontStrikethru() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::FontStrikeOut) && f.fontStrikeOut();
}

void TextControl::setFontStrikethru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeFormat(f);
}

QColor TextControl::ForeColor() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
}

void TextControl::setForeColor(const QColor& c)
{
    QTextCharFormat f;
    f.setForeground(c);
    mergeFormat(f);
}

QColor TextControl::TextBkColor() const
{
    const QTextCharFormat f = commonCharFormat();
    return f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
}

void TextControl::setTextBkColor(const QColor& c)
{
    QTextCharFormat f;
    if (c.isValid())
        f.setBackground(c);
    else
        f.setBackground(Qt::NoBrush);
    mergeFormat(f);
}

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
    m_undo->begin(UndoKindTracker::Formatting);
    QTextEdit::setAlignment(AlignmentCodes::flags(a));
    m_undo->end();
}

QList<QTextOption::Tab> TextControl::currentTabs() const
{
    return textCursor().blockFormat().tabPositions();
}

void TextControl::applyTabs(const QList<QTextOption::Tab>& tabs)
{
    QList<QTextOption::Tab> sorted = tabs;
    TabStops::sort(sorted);
    QTextBlockFormat bf;
    bf.setTabPositions(sorted);
    QTextCursor c = textCursor();
    m_undo->begin(UndoKindTracker::Formatting);
    c.mergeBlockFormat(bf);
    m_undo->end();
}

int TextControl::TabType() const
{
    const auto tabs = currentTabs();
    return m_tabCurrent >= 1 && m_tabCurrent <= tabs.size() ? TabStops::typeCode(tabs.at(m_tabCurrent - 1).type)
                                                            : 0;
}

void TextControl::setTabType(int type)
{
    auto tabs = currentTabs();
    if (m_tabCurrent < 1 || m_tabCurrent > tabs.size())
        return;
    tabs[m_tabCurrent - 1] = TabStops::make(TabStops::twips(tabs.at(m_tabCurrent - 1)), type);
    applyTabs(tabs);
}

int TextControl::TabPos() const
{
    const auto tabs = currentTabs();
    return m_tabCurrent >= 1 && m_tabCurrent <= tabs.size() ? TabStops::twips(tabs.at(m_tabCurrent - 1))
                                                            : 0;
}

void TextControl::setTabPos(int twips)
{
    auto tabs = currentTabs();
    twips = qMax(0, twips);
    if (m_tabCurrent >= 1 && m_tabCurrent <= tabs.size())
        tabs[m_tabCurrent - 1] = TabStops::make(twips, TabStops::typeCode(tabs.at(m_tabCurrent - 1).type));
    else if (m_tabCurrent == tabs.size() + 1)
        tabs.append(TabStops::make(twips, 1)); // the next index adds a stop
    else
        return;
    applyTabs(tabs);
    // The current index follows the stop to its sorted place.
    const int at = TabStops::indexAt(currentTabs(), twips);
    if (at >= 0)
        m_tabCurrent = at + 1;
}

int TextControl::TabCount() const { return int(currentTabs().size()); }

void TextControl::addTabStop(int twips, int type)
{
    auto tabs = currentTabs();
    if (TabStops::indexAt(tabs, twips) >= 0)
        return;
    tabs.append(TabStops::make(twips, type));
    applyTabs(tabs);
}

void TextControl::removeTabStop(int index)
{
    auto tabs = currentTabs();
    if (index < 1 || index > tabs.size())
        return;
    tabs.removeAt(index - 1);
    applyTabs(tabs);
}

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
    const int pos = textCursor().position();
    InputPosition out;
    out.page = m_paginator->pageOfPosition(pos);
    QTextDocument* d = m_paginator->layoutDocument();
    const QTextBlock at = d->findBlock(pos);
    if (!at.isValid() || !at.layout() || at.layout()->lineCount() == 0)
        return out;
    const double pageH = Paginator::pageSizePixels(m_doc->page()).height() * Paginator::layoutScale(d);
    const QTextLine line = at.layout()->lineForTextPosition(pos - at.position());
    const int lineIndex = line.isValid() ? line.lineNumber() : 0;
    out.column = line.isValid() ? pos - at.position() - line.textStart() + 1 : 1;
    // Lines of this page up to the caret's: only one page is looked at.
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    int count = 0;
    bool done = false;
    for (QTextBlock b = at; b.isValid() && !done; b = b.previous()) {
        const QTextLayout* l = b.layout();
        const double blockTop = layout->blockBoundingRect(b).top();
        for (int i = (b == at ? lineIndex : l->lineCount() - 1); i >= 0; --i) {
            if (int((blockTop + l->lineAt(i).y()) / pageH) + 1 < out.page) {
                done = true;
                break;
            }
            ++count;
        }
    }
    out.line = qMax(1, count);
    return out;
}

void TextControl::setCurrentInputPosition(const InputPosition& p)
{
    QTextDocument* d = m_paginator->layoutDocument();
    const int page = qBound(1, p.page, m_paginator->pageCount());
    const double pageH = Paginator::pageSizePixels(m_doc->page()).height() * Paginator::layoutScale(d);
    QAbstractTextDocumentLayout* layout = d->documentLayout();
    const int hit = layout->hitTest(QPointF(1, (page - 1) * pageH + 1), Qt::FuzzyHit);
    QTextBlock b = hit < 0 ? d->begin() : d->findBlock(hit);
    if (b.previous().isValid())
        b = b.previous();
    int pos = -1;
    int count = 0;
    bool done = false;
    for (; b.isValid() && !done; b = b.next()) {
        const QTextLayout* l = b.layout();
        const double blockTop = layout->blockBoundingRect(b).top();
        for (int i = 0; l && i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            const int linePage = int((blockTop + line.y()) / pageH) + 1;
            if (linePage < page)
                continue;
            if (linePage > page) {
                done = true;
                break;
            }
            // A wrapped line ends before the first character of the next one.
            const int last = i + 1 < l->lineCount() ? line.textLength() - 1 : line.textLength();
            pos = b.position() + line.textStart() + qBound(0, p.column - 1, qMax(0, last));
            if (++count >= p.line) {
                done = true;
                break;
            }
        }
    }
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
    QByteArray data;
    QString error;
    if (!DocumentFile::read(file, offset, &data, &m_lastError))
        return false;
    bool ok;
    if (insertAtSelection) {
        QTextCursor c = textCursor();
        m_undo->begin(UndoKindTracker::Typing);
        ok = Formats::read(format, data, *m_doc, &c, &error);
        m_undo->end();
        if (ok)
            setTextCursor(c);
    } else {
        m_relayouting = true;
        const bool undoWas = m_doc->body()->isUndoRedoEnabled();
        m_doc->body()->setUndoRedoEnabled(false);
        ok = Formats::read(format, data, *m_doc, nullptr, &error);
        m_doc->applyPage(); // while the history is off: no undo step
        m_doc->body()->setUndoRedoEnabled(undoWas);
        m_relayouting = false;
        m_undo->reset();
        if (ok) {
            // A loaded document is not a changed one: no Change, but the position moved.
            moveCursor(QTextCursor::Start);
            m_pager->invalidateAll();
            m_view->update();
            Q_EMIT PosChange();
        }
    }
    if (ok) {
        const PageGeometry& g = m_doc->page();
        m_loadSaveAttr[0] = g.width;
        m_loadSaveAttr[1] = g.height;
        m_loadSaveAttr[2] = g.marginL;
        m_loadSaveAttr[3] = g.marginT;
        m_loadSaveAttr[4] = g.marginR;
        m_loadSaveAttr[5] = g.marginB;
        m_lastError.clear();
    } else {
        m_lastError = error.isEmpty() ? QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.")
                                            .arg(QDir::toNativeSeparators(file))
                                      : error;
    }
    return ok;
}

bool TextControl::Save(const QString& file, int offset, int format, bool selectionOnly)
{
    QByteArray body;
    QString error;
    const QTextCursor sel = textCursor();
    // HTML honours the style-sheet mode (attribute 9) and file (attribute 8).
    WriteOptions options;
    QByteArray styleSheet;
    options.styleSheetMode = LoadSaveAttribute(9).toInt();
    options.styleSheetFile = LoadSaveAttribute(8).toString();
    options.styleSheetOut = &styleSheet;
    if (!Formats::write(format, *m_doc, selectionOnly ? &sel : nullptr, &body, &error, options)) {
        m_lastError = error.isEmpty() ? QStringLiteral("Das Dokument kann in diesem Format nicht "
                                                       "gespeichert werden.")
                                      : error;
        return false;
    }
    // The own format's page header is written with the body, from the current page, so
    // the old file is never touched before the whole new one is on disk. Other leading
    // bytes of the old file are kept.
    const bool pageHeader = format == 3 && offset == Formats::PageHeaderSize;
    if (pageHeader ? !DocumentFile::write(file, Formats::pageHeader(m_doc->page()), body, &m_lastError)
                   : !DocumentFile::write(file, offset, body, &m_lastError))
        return false;
    if (format == 4 && options.styleSheetMode == 2 && !options.styleSheetFile.isEmpty()) {
        const QString cssPath = QFileInfo(file).dir().absoluteFilePath(options.styleSheetFile);
        if (!DocumentFile::write(cssPath, 0, styleSheet, &m_lastError))
            return false;
    }
    m_lastError.clear();
    return true;
}

QByteArray TextControl::SaveToMemory(int format) const
{
    QByteArray out;
    QString error;
    if (!Formats::write(format, *m_doc, nullptr, &out, &error))
        return {};
    return out;
}

QVariant TextControl::LoadSaveAttribute(int index) const
{
    const PageGeometry& g = m_doc->page();
    switch (index) {
    case 0: return g.width;
    case 1: return g.height;
    case 2: return g.marginL;
    case 3: return g.marginT;
    case 4: return g.marginR;
    case 5: return g.marginB;
    default: return m_loadSaveAttr.value(index);
    }
}

void TextControl::setLoadSaveAttribute(int index, const QVariant& value)
{
    if (index >= 0 && index <= 5) {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok)
            return;
        static int PageGeometry::*const members[] = {&PageGeometry::width,   &PageGeometry::height,
                                                     &PageGeometry::marginL, &PageGeometry::marginT,
                                                     &PageGeometry::marginR, &PageGeometry::marginB};
        setPageValue(members[index], v);
    }
    m_loadSaveAttr[index] = value;
}

// ---- Notifications and events -------------------------------------------------

void TextControl::onContentsChange(int pos, int removed, int added)
{
    m_pager->invalidateFrom(m_doc->body()->findBlock(pos).blockNumber());
    if (!m_relayouting && (removed != 0 || added != 0))
        Q_EMIT Change();
}

void TextControl::keyPressEvent(QKeyEvent* e)
{
    Q_EMIT KeyDown(e->key(), e->modifiers());
    if (e->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    if (e->matches(QKeySequence::Redo)
        || (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier)) {
        Redo();
        return;
    }
    if (e->matches(QKeySequence::Cut)) {
        Clip(1);
        return;
    }
    if (e->matches(QKeySequence::Paste)) {
        Clip(3);
        return;
    }
    if (isReadOnly()) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    UndoKindTracker::Kind kind = UndoKindTracker::None;
    const int key = e->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || e->matches(QKeySequence::DeleteStartOfWord)
        || e->matches(QKeySequence::DeleteEndOfWord)) {
        kind = UndoKindTracker::Deleting;
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) {
        kind = UndoKindTracker::Typing;
    } else if (!e->text().isEmpty() && e->text().at(0).isPrint()
               && (!(e->modifiers() & Qt::ControlModifier) || (e->modifiers() & Qt::AltModifier))) {
        // Ctrl+Alt is AltGr on some systems: it types "@", "€", "{".
        kind = UndoKindTracker::Typing;
    }
    if (kind == UndoKindTracker::None) {
        QTextEdit::keyPressEvent(e);
        return;
    }
    const QTextCursor before = textCursor();
    // Typing into a selection replaces it: that starts a step of its own.
    m_undo->begin(kind, !before.hasSelection() && key != Qt::Key_Return && key != Qt::Key_Enter,
                  before.position());
    QTextEdit::keyPressEvent(e);
    m_undo->end(textCursor().position());
    ensureCursorVisible(); // laid out only now that the step is closed
}

void TextControl::mousePressEvent(QMouseEvent* e)
{
    ZoomedTextEdit::mousePressEvent(e);
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

void TextControl::resizeEvent(QResizeEvent* e)
{
    QTextEdit::resizeEvent(e);
    m_view->resized();
}

void TextControl::paintEvent(QPaintEvent* e)
{
    if (ViewMode() == 1)
        return m_view->paintLayout(e);
    ZoomedTextEdit::paintEvent(e);
    paintTableGrid();
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

// Pages, headers and footers, fields, tables, objects

#include "app/AppState.h"
#include "app/CurrentPrinter.h"
#include "engine/PagePrinter.h"
#include "engine/EngineProperties.h"
#include "engine/Fields.h"
#include "engine/Images.h"
#include "engine/PageNumberObject.h"
#include "engine/Paginator.h"
#include "engine/ParagraphFrames.h"
#include "engine/Tables.h"

#include <QPainter>
#include <QPrinter>
#include <QTextTable>

class TextControl::PagesFilter : public QObject {
public:
    explicit PagesFilter(TextControl* owner) : QObject(owner), m_owner(owner) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return m_owner->pagesEventFilter(watched, event);
    }

private:
    TextControl* m_owner;
};

void TextControl::initPages()
{
    m_paginator = new Paginator(m_doc, this);
    PageNumberObject::install(m_doc->body());
    Images::installFixedHandler(m_doc->body());
    m_pagesFilter = new PagesFilter(this);
    viewport()->installEventFilter(m_pagesFilter);
    installEventFilter(m_pagesFilter);
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        m_fieldCurrent = 0;
        resetFieldFormatAtCaret();
    });
    connect(m_doc, &Document::headerFooterSetChanged, this, [this](int bits) {
        if (m_hfActive && !(bits & m_hfActive))
            HeaderFooterLeave(); // before the part is deleted
        viewport()->update();
    });
}

// Pages --------------------------------------------------------------------------

bool TextControl::PrintDoc(const QString& docName, int first, int last, int copies)
{
    return PagePrinter::print(*m_paginator, m_printer ? m_printer : &currentPrinter(), docName,
                              first, last, copies);
}

QImage TextControl::PageImage(int page, double dpi) const { return m_paginator->renderPage(page, dpi); }

void TextControl::paintTableGrid()
{
    if (!m_tableGridLines)
        return;
    QPainter p(viewport());
    p.translate(-scrollOffset());
    p.scale(zoom(), zoom());
    Tables::paintGridLines(&p, m_doc->body(), QPointF(), QRectF(toDocument(QPointF()), toDocument(viewport()->rect().bottomRight())));
}

bool TextControl::pagesEventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_hfEditor && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        HeaderFooterLeave();
        return true;
    }
    if (watched == viewport() && event->type() == QEvent::MouseButtonRelease) {
        // A click on a hyperlink field reports its target.
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && !textCursor().hasSelection()) {
            const int pos = cursorAt(me->position().toPoint()).position();
            const int id = Fields::atPosition(m_doc->body(), pos);
            const Fields::Range r = Fields::find(m_doc->body(), id);
            if (id > 0 && pos > r.start && pos < r.end && Fields::linkKind(m_doc->body(), id) > 0)
                Q_EMIT HyperlinkClicked(Fields::linkTarget(m_doc->body(), id));
        }
    }
    if (ViewMode() != 1 || watched == this)
        return false;
    if (watched != viewport())
        return false;
    const double scale = zoom();
    const QSizeF size = Paginator::pageSizePixels(m_doc->page());
    // Viewport point to page number and 96-dpi pixels on that page.
    auto pagePoint = [&](QPointF viewportPos, int* page) {
        const QPointF docPos = toDocument(viewportPos);
        *page = int(docPos.y() / size.height()) + 1;
        return QPointF(docPos.x(), docPos.y() - (*page - 1) * size.height());
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        int page = 0;
        const QPointF pp = pagePoint(me->position(), &page);
        if (me->button() == Qt::LeftButton && (me->modifiers() & Qt::AltModifier)) {
            // Alt + left mouse grabs a fixed image on this page.
            QTextDocument* d = m_doc->body();
            for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment f = it.fragment();
                    if (f.charFormat().objectType() != EngineObject::FixedImage)
                        continue;
                    if (m_paginator->pageOfPosition(f.position()) == page
                        && Images::fixedRect(d, f.position()).contains(pp)) {
                        m_movingImage = f.charFormat().intProperty(EngineProperty::ImageId);
                        m_objectSelected = m_movingImage;
                        m_moveStart = me->position().toPoint();
                        m_moveOrigin = Images::fixedPosition(d, m_movingImage);
                        return true;
                    }
                }
        }
        if (m_hfActive && m_hfEditor && !m_hfEditor->geometry().contains(me->position().toPoint()))
            HeaderFooterLeave();
        m_objectSelected = 0;
        return false;
    }
    case QEvent::MouseMove:
        if (m_movingImage) {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPointF delta = QPointF(me->position().toPoint() - m_moveStart) / scale;
            Images::setFixedPosition(m_doc->body(), m_movingImage,
                                     m_moveOrigin + QPoint(qRound(Document::pixelsToTwips(delta.x())),
                                                           qRound(Document::pixelsToTwips(delta.y()))));
            viewport()->update();
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_movingImage) {
            m_movingImage = 0;
            return true;
        }
        return false;
    case QEvent::MouseButtonDblClick: {
        // A double click into a header or footer edits it.
        auto* me = static_cast<QMouseEvent*>(event);
        int page = 0;
        const QPointF pp = pagePoint(me->position(), &page);
        const PageGeometry& g = m_doc->page();
        int slot = 0;
        if (pp.y() < Document::twipsToPixels(g.marginT))
            slot = 1;
        else if (pp.y() > size.height() - Document::twipsToPixels(g.marginB))
            slot = 4;
        const int part = slot ? m_paginator->partForPage(page, slot) : 0;
        if (part) {
            HeaderFooterActivate(part);
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// Headers and footers -------------------------------------------------------------

int TextControl::HeaderFooterSet() const { return m_doc->headerFooterSet(); }
void TextControl::setHeaderFooterSet(int bits) { m_doc->setHeaderFooterSet(bits); }

int TextControl::HeaderFooterDistance(int index) const
{
    return index == 4 || index == 8 ? m_doc->footerDistance() : m_doc->headerDistance();
}

void TextControl::setHeaderFooterDistance(int index, int twips)
{
    if (index == 4 || index == 8)
        m_doc->setFooterDistance(qMax(0, twips));
    else
        m_doc->setHeaderDistance(qMax(0, twips));
    placeHeaderFooterEditor();
    viewport()->update();
}

int TextControl::HeaderFooterFlags() const { return (m_doc->headerFooterSet() & 10) ? 15 : 5; }

void TextControl::setHeaderFooterFlags(int flags)
{
    int set = m_doc->headerFooterSet();
    if (flags & 2) {
        if (set & 1) set |= 2;
        if (set & 4) set |= 8;
        if (!(set & 5)) set |= 2;
    } else {
        set &= ~10;
    }
    m_doc->setHeaderFooterSet(set);
}

void TextControl::setHeaderFooterDisplay(int v)
{
    m_hfDisplay = v;
    viewport()->update();
}

bool TextControl::HeaderFooterActivate(int part)
{
    QTextDocument* d = m_doc->headerFooter(part);
    if (!d)
        return false;
    if (ViewMode() != 1)
        setViewMode(1);
    if (!m_hfEditor) {
        m_hfEditor = new ZoomedTextEdit(viewport());
        m_hfEditor->setObjectName(QStringLiteral("HeaderFooterEditor"));
        m_hfEditor->setFrameStyle(QFrame::NoFrame);
        m_hfEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_hfEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_hfEditor->setLineWrapMode(QTextEdit::FixedPixelWidth);
        m_hfEditor->installEventFilter(m_pagesFilter);
    }
    m_hfActive = part;
    PageNumberObject::install(d);
    m_hfEditor->setDocument(d);
    m_hfEditor->setLineWrapColumnOrWidth(int(d->textWidth()));
    connect(d, &QTextDocument::contentsChanged, this, &TextControl::onHeaderFooterChanged,
            Qt::UniqueConnection);
    placeHeaderFooterEditor();
    m_view->reveal(m_hfEditor->geometry());
    placeHeaderFooterEditor();
    m_hfEditor->show();
    m_hfEditor->setFocus();
    Q_EMIT HeaderFooterActivated(part);
    return true;
}

void TextControl::HeaderFooterLeave()
{
    if (!m_hfActive)
        return;
    m_hfActive = 0;
    if (m_hfEditor) {
        m_hfEditor->hide();
        m_hfEditor->setDocument(nullptr); // holds no part that may be removed later
    }
    setFocus();
    viewport()->update();
    Q_EMIT HeaderFooterLeft();
}

void TextControl::onHeaderFooterChanged()
{
    placeHeaderFooterEditor();
    viewport()->update();
}

void TextControl::placeHeaderFooterEditor()
{
    if (!m_hfEditor || !m_hfActive)
        return;
    // Parts of the first page are edited there, the others on the caret's page (the
    // second one when the first page has its own).
    int page = 1;
    if (m_hfActive == 1 || m_hfActive == 4) {
        page = m_paginator->pageOfPosition(textCursor().position());
        if (page == 1 && m_paginator->partForPage(1, m_hfActive) != m_hfActive)
            page = 2;
    }
    const QSizeF size = Paginator::pageSizePixels(m_doc->page());
    QRectF r = m_paginator->partRect(m_hfActive, page);
    r.setHeight(qMax(r.height(), 20.0));
    r.translate(0, (page - 1) * size.height());
    // The part is shown at the body's zoom, painted like the body.
    m_hfEditor->setZoom(zoom());
    r = QRectF(toViewport(r.topLeft()), r.size() * zoom());
    if (m_hfEditor->geometry() != r.toAlignedRect())
        m_hfEditor->setGeometry(r.toAlignedRect());
}

// Fields ---------------------------------------------------------------------------

QTextDocument* TextControl::activePart() const
{
    if (m_hfActive)
        if (QTextDocument* d = m_doc->headerFooter(m_hfActive))
            return d;
    return m_doc->body();
}

QTextEdit* TextControl::activePartEditor() const
{
    if (m_hfActive && m_hfEditor && m_doc->headerFooter(m_hfActive))
        return m_hfEditor;
    return nullptr;
}

QTextEdit* TextControl::activeEditor() const
{
    if (QTextEdit* part = activePartEditor())
        return part;
    return const_cast<TextControl*>(this);
}

QTextCursor TextControl::activeCursor() const
{
    if (m_hfActive && m_hfEditor && m_doc->headerFooter(m_hfActive))
        return m_hfEditor->textCursor();
    return textCursor();
}

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
    if (m_hfActive && m_hfEditor)
        m_hfEditor->setTextCursor(c);
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

void TextControl::setObjectSelected(int id) { m_objectSelected = id; }

int TextControl::ImageDistance(int side) const { return Images::distance(m_doc->body(), ObjectSelected(), side); }
void TextControl::setImageDistance(int side, int twips)
{
    Images::setDistance(m_doc->body(), ObjectSelected(), side, twips);
}
QString TextControl::ImageExportFormats() const { return Images::exportFormats(); }

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
