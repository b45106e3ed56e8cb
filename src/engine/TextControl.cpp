#include "TextControl.h"

#include "app/Prompter.h"
#include "engine/CharacterDialog.h"
#include "engine/DocumentFile.h"
#include "engine/Document.h"
#include "engine/FindDialog.h"
#include "engine/FragmentMimeData.h"
#include "engine/LinePager.h"
#include "engine/SelectionFormat.h"
#include "engine/TabStops.h"
#include "engine/UndoKindTracker.h"
#include "engine/formats/Formats.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QDir>
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
    : QTextEdit(parent), m_doc(new Document(this)),
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
    connect(m_doc, &Document::pageChanged, this, &TextControl::updateLayoutForView);
    connect(m_doc->body(), &QTextDocument::contentsChange, this, &TextControl::onContentsChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TextControl::PosChange);
    connect(this, &QTextEdit::selectionChanged, this, &TextControl::PosChange);
    updateLayoutForView();
}

TextControl::~TextControl()
{
    // The document outlives the members below by a moment; stop its notifications.
    disconnect(m_doc->body(), nullptr, this, nullptr);
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
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList pages = t.split(QChar(12));
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            QTextBlockFormat bf = c.blockFormat();
            bf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c.insertBlock(bf);
        }
        if (!pages.at(i).isEmpty())
            c.insertText(pages.at(i));
    }
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

QString TextControl::SelText() const { return withCrLf(textCursor().selectedText()); }

void TextControl::setSelText(const QString& text)
{
    QTextCursor c = textCursor();
    m_undo->begin(UndoKindTracker::Typing);
    c.beginEditBlock();
    c.removeSelectedText();
    insertWithBreaks(c, text);
    c.endEditBlock();
    m_undo->end();
    setTextCursor(c);
}

int TextControl::SelStart() const { return textCursor().selectionStart(); }

void TextControl::setSelStart(int pos)
{
    QTextCursor c = textCursor();
    const int end = qMax(0, m_doc->body()->characterCount() - 1);
    c.setPosition(qBound(0, pos, end));
    setTextCursor(c);
}

int TextControl::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TextControl::setSelLength(int length)
{
    QTextCursor c = textCursor();
    const int start = c.selectionStart();
    const int end = qMax(0, m_doc->body()->characterCount() - 1);
    c.setPosition(start);
    c.setPosition(length < 0 ? end : qBound(start, start + length, end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

// ---- Editing ------------------------------------------------------------------

void TextControl::beginEditStep(int kind)
{
    m_undo->begin(UndoKindTracker::Kind(qBound(1, kind, 4)));
}

void TextControl::endEditStep() { m_undo->end(); }

void TextControl::Clip(int action)
{
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
    m_undo->undo();
    ensureCursorVisible();
}

void TextControl::Redo()
{
    m_undo->redo();
    ensureCursorVisible();
}

bool TextControl::CanCopy() const { return textCursor().hasSelection(); }
bool TextControl::CanPaste() const { return !isReadOnly() && canPaste(); }
bool TextControl::CanUndo() const { return m_doc->body()->isUndoAvailable(); }
bool TextControl::CanRedo() const { return m_doc->body()->isRedoAvailable(); }
int TextControl::UndoKind() const { return m_undo->undoKind(); }
int TextControl::RedoKind() const { return m_undo->redoKind(); }

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
    return SelectionFormat::common(SelectionFormat::collect(textCursor(), currentCharFormat()),
                                   m_doc->body()->defaultFont());
}

void TextControl::mergeFormat(const QTextCharFormat& f)
{
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

int TextControl::Alignment() const
{
    const Qt::Alignment a = alignment();
    if (a & Qt::AlignRight)
        return 1;
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & Qt::AlignJustify)
        return 3;
    return 0;
}

void TextControl::setAlignment(int a)
{
    static const Qt::Alignment map[] = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignRight,
                                        Qt::AlignHCenter, Qt::AlignJustify};
    m_undo->begin(UndoKindTracker::Formatting);
    QTextEdit::setAlignment(map[qBound(0, a, 3)]);
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

void TextControl::setZoomFactor(int percent)
{
    const int z = qBound(10, percent, 400);
    if (z == m_zoom)
        return;
    // Keep the same part of the text in view.
    const int twips = ScrollPosY();
    m_zoom = z;
    updateLayoutForView();
    setScrollPosY(twips);
}

void TextControl::setViewMode(int mode)
{
    m_viewMode = qBound(0, mode, 2);
    updateLayoutForView();
}

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

int TextControl::ScrollPosY() const
{
    return qRound(verticalScrollBar()->value() / m_doc->layoutUnitsPerTwip());
}

void TextControl::setScrollPosY(int twips)
{
    verticalScrollBar()->setValue(qRound(twips * m_doc->layoutUnitsPerTwip()));
}

double TextControl::pixelsPerTwip() const { return m_doc->layoutUnitsPerTwip(); }

int TextControl::textLeftX() const
{
    return viewport()->geometry().left() - horizontalScrollBar()->value();
}

void TextControl::updateLayoutForView()
{
    // Zoom: the body is laid out at 96 × zoom dpi, so QTextEdit itself shows text,
    // caret, selection and mouse hits at the zoomed size.
    m_relayouting = true;
    const double widthBefore = m_doc->body()->textWidth();
    const double scaleBefore = m_doc->layoutScale();
    m_doc->setLayoutScale(m_zoom / 100.0);
    const double perTwip = m_doc->layoutUnitsPerTwip();
    const PageGeometry& g = m_doc->page();
    if (m_viewMode == 0) {
        setViewportMargins(0, 0, 0, 0);
        setLineWrapMode(QTextEdit::WidgetWidth);
        // The document set the page's text width; here the window's width counts.
        m_doc->body()->setTextWidth(viewport()->width());
    } else {
        // A page-wide column centred in the window, grey around it; the page's own
        // left and right margins are drawn white beside the text.
        const int textW = qMax(10, qRound((g.width - g.marginL - g.marginR) * perTwip));
        const int pageW = qRound(g.width * perTwip);
        const int inner = contentsRect().width() - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
        const int outside = qMax(0, (inner - pageW) / 2);
        const int left = outside + qRound(g.marginL * perTwip);
        const int right = qMax(0, inner - left - textW);
        setViewportMargins(left, 0, qMin(right, outside + qRound(g.marginR * perTwip)), 0);
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(textW);
        m_doc->body()->setTextWidth(textW);
    }
    m_relayouting = false;
    m_pager->setUnitsPerTwip(perTwip);
    m_pager->setPageBodyHeight(g.height - g.marginT - g.marginB);
    if (m_doc->body()->textWidth() != widthBefore || m_doc->layoutScale() != scaleBefore)
        m_pager->invalidateAll(); // lines wrap anew
    update();
    viewport()->update();
    Q_EMIT ViewChanged();
}

void TextControl::paintPageMargins()
{
    if (m_viewMode == 0)
        return;
    const PageGeometry& g = m_doc->page();
    const double perTwip = m_doc->layoutUnitsPerTwip();
    const QRect vp = viewport()->geometry();
    const int ml = qRound(g.marginL * perTwip);
    const int mr = qRound(g.marginR * perTwip);
    const int textW = qRound((g.width - g.marginL - g.marginR) * perTwip);
    const int x0 = vp.left() - horizontalScrollBar()->value();
    QPainter p(this);
    p.setClipRect(contentsRect());
    p.fillRect(QRect(x0 - ml, vp.top(), ml, vp.height()), Qt::white);
    p.fillRect(QRect(x0 + textW, vp.top(), mr, vp.height()), Qt::white);
}

bool TextControl::event(QEvent* e)
{
    const bool r = QTextEdit::event(e);
    if (e->type() == QEvent::Paint)
        paintPageMargins();
    return r;
}

// ---- Input position ---------------------------------------------------------

InputPosition TextControl::CurrentInputPosition() const
{
    const PagedPosition pp = m_pager->positionOf(textCursor().position());
    return {pp.page, pp.line, pp.column};
}

void TextControl::setCurrentInputPosition(const InputPosition& p)
{
    const int pos = m_pager->positionAt({p.page, p.line, p.column});
    QTextCursor c = textCursor();
    c.setPosition(pos);
    setTextCursor(c);
    ensureCursorVisible();
}

int TextControl::CurrentPages() const { return m_pager->pageCount(); }

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
        m_doc->body()->setDocumentMargin(0);
        m_doc->body()->setUndoRedoEnabled(undoWas);
        m_relayouting = false;
        m_undo->reset();
        if (ok) {
            // A loaded document is not a changed one: no Change, but the position moved.
            moveCursor(QTextCursor::Start);
            m_pager->invalidateAll();
            updateLayoutForView();
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
    if (!Formats::write(format, *m_doc, selectionOnly ? &sel : nullptr, &body, &error)) {
        m_lastError = error.isEmpty() ? QStringLiteral("Das Dokument kann in diesem Format nicht "
                                                       "gespeichert werden.")
                                      : error;
        return false;
    }
    // The caller may have written a header into the first bytes; they are kept.
    if (!DocumentFile::write(file, offset, body, &m_lastError))
        return false;
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
}

void TextControl::mousePressEvent(QMouseEvent* e)
{
    QTextEdit::mousePressEvent(e);
    Q_EMIT UserActivated();
    Q_EMIT MouseDown(e->button(), e->position().toPoint());
}

void TextControl::mouseMoveEvent(QMouseEvent* e)
{
    QTextEdit::mouseMoveEvent(e);
    Q_EMIT MouseMoved(e->position().toPoint());
}

void TextControl::focusInEvent(QFocusEvent* e)
{
    QTextEdit::focusInEvent(e);
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
    if (m_viewMode != 0)
        updateLayoutForView();
    else
        m_pager->invalidateAll(); // the text flows at the new width
}

void TextControl::paintEvent(QPaintEvent* e) { QTextEdit::paintEvent(e); }

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
