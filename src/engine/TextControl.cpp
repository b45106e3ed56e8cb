#include "TextControl.h"

#include "engine/Document.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

TextControl::TextControl(QWidget* parent) : QTextEdit(parent), m_doc(new Document(this))
{
    setDocument(m_doc->body());
    setAcceptRichText(true);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    connect(m_doc, &Document::pageChanged, this, &TextControl::updateLayoutForView);
    connect(this, &QTextEdit::textChanged, this, &TextControl::Change);
    connect(this, &QTextEdit::cursorPositionChanged, this, &TextControl::PosChange);
    connect(this, &QTextEdit::selectionChanged, this, &TextControl::PosChange);
    initPages();
    updateLayoutForView();
}

TextControl::~TextControl() = default;

QString TextControl::Text() const { return m_doc->body()->toPlainText(); }

void TextControl::setText(const QString& text)
{
    QTextCursor c(m_doc->body());
    c.select(QTextCursor::Document);
    c.insertText(text);
}

QString TextControl::SelText() const
{
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s;
}

void TextControl::setSelText(const QString& text)
{
    QTextCursor c = textCursor();
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    c.insertText(t);
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

void TextControl::Clip(int action)
{
    switch (action) {
    case 1: cut(); break;
    case 2: copy(); break;
    case 3: paste(); break;
    case 4: textCursor().removeSelectedText(); break;
    default: break;
    }
}

void TextControl::Undo() { undo(); }
void TextControl::Redo() { redo(); }
bool TextControl::CanCopy() const { return textCursor().hasSelection(); }
bool TextControl::CanPaste() const { return canPaste(); }
bool TextControl::CanUndo() const { return m_doc->body()->isUndoAvailable(); }
bool TextControl::CanRedo() const { return m_doc->body()->isRedoAvailable(); }
int TextControl::UndoKind() const { return CanUndo() ? 4 : 0; }
int TextControl::RedoKind() const { return CanRedo() ? 13 : 0; }
void TextControl::FindReplace(int) {}

QString TextControl::FontName() const { return currentCharFormat().font().family(); }
void TextControl::setFontName(const QString& name)
{
    QTextCharFormat f;
    f.setFontFamilies({name});
    mergeCurrentCharFormat(f);
}
double TextControl::FontSize() const { return currentCharFormat().font().pointSizeF(); }
void TextControl::setFontSize(double points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeCurrentCharFormat(f);
}
bool TextControl::FontBold() const { return currentCharFormat().fontWeight() >= QFont::Bold; }
void TextControl::setFontBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(f);
}
bool TextControl::FontItalic() const { return currentCharFormat().fontItalic(); }
void TextControl::setFontItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeCurrentCharFormat(f);
}
bool TextControl::FontUnderline() const { return currentCharFormat().fontUnderline(); }
void TextControl::setFontUnderline(bool on)
{
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeCurrentCharFormat(f);
}
bool TextControl::FontStrikethru() const { return currentCharFormat().fontStrikeOut(); }
void TextControl::setFontStrikethru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeCurrentCharFormat(f);
}
QColor TextControl::ForeColor() const { return currentCharFormat().foreground().color(); }
void TextControl::setForeColor(const QColor& c)
{
    QTextCharFormat f;
    f.setForeground(c);
    mergeCurrentCharFormat(f);
}
QColor TextControl::TextBkColor() const { return currentCharFormat().background().color(); }
void TextControl::setTextBkColor(const QColor& c)
{
    QTextCharFormat f;
    f.setBackground(c);
    mergeCurrentCharFormat(f);
}
bool TextControl::FontDialog() { return false; }

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
    QTextEdit::setAlignment(map[qBound(0, a, 3)]);
}

int TextControl::TabType() const { return 0; }
void TextControl::setTabType(int) {}
int TextControl::TabPos() const { return 0; }
void TextControl::setTabPos(int) {}
int TextControl::TabCount() const { return 0; }

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

void TextControl::setZoomFactor(int percent)
{
    m_zoom = qBound(10, percent, 400);
    updateLayoutForView();
}

void TextControl::setViewMode(int mode)
{
    m_viewMode = qBound(0, mode, 2);
    updateLayoutForView();
}

void TextControl::setControlChars(bool on)
{
    m_controlChars = on;
    viewport()->update();
}

int TextControl::ScrollPosY() const { return int(Document::pixelsToTwips(verticalScrollBar()->value())); }

InputPosition TextControl::CurrentInputPosition() const
{
    const QTextCursor c = textCursor();
    InputPosition p;
    p.column = c.positionInBlock() + 1;
    p.line = c.blockNumber() + 1;
    return p;
}

void TextControl::setCurrentInputPosition(const InputPosition&) {}

bool TextControl::Load(const QString&, int, int, bool)
{
    m_lastError = QStringLiteral("Dieses Dateiformat kann noch nicht gelesen werden.");
    return false;
}

bool TextControl::Save(const QString&, int, int, bool)
{
    m_lastError = QStringLiteral("Dieses Dateiformat kann noch nicht geschrieben werden.");
    return false;
}

QByteArray TextControl::SaveToMemory(int) const { return {}; }

QVariant TextControl::LoadSaveAttribute(int index) const { return m_loadSaveAttr.value(index); }
void TextControl::setLoadSaveAttribute(int index, const QVariant& value) { m_loadSaveAttr[index] = value; }

void TextControl::updateLayoutForView()
{
    const double scale = m_zoom / 100.0;
    setLineWrapColumnOrWidth(int(m_doc->body()->textWidth() * scale));
    applyPageView();
    viewport()->update();
}

void TextControl::onContentsChange(int, int, int) {}

void TextControl::keyPressEvent(QKeyEvent* e)
{
    Q_EMIT KeyDown(e->key(), e->modifiers());
    QTextEdit::keyPressEvent(e);
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
}

void TextControl::resizeEvent(QResizeEvent* e) { QTextEdit::resizeEvent(e); }
void TextControl::paintEvent(QPaintEvent* e)
{
    if (m_viewMode == 1)
        return paintLayoutView(e);
    QTextEdit::paintEvent(e);
    paintTableGrid();
}

bool TextControl::canInsertFromMimeData(const QMimeData* source) const
{
    return QTextEdit::canInsertFromMimeData(source);
}

QMimeData* TextControl::createMimeDataFromSelection() const
{
    return QTextEdit::createMimeDataFromSelection();
}

void TextControl::insertFromMimeData(const QMimeData* source) { QTextEdit::insertFromMimeData(source); }

// Pages, headers and footers, fields, tables, objects

#include "app/AppState.h"
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
    auto* filter = new PagesFilter(this);
    viewport()->installEventFilter(filter);
    installEventFilter(filter);
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

int TextControl::CurrentPages() const { return m_paginator->pageCount(); }

bool TextControl::PrintDoc(const QString& docName, int first, int last, int copies)
{
    QPrinter* printer = m_printer;
    if (!printer) {
        if (!m_ownPrinter)
            m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = m_ownPrinter.get();
    }
    return m_paginator->print(printer, docName, first, last, copies);
}

QImage TextControl::PageImage(int page, double dpi) const { return m_paginator->renderPage(page, dpi); }

void TextControl::applyPageView()
{
    const bool layout = m_viewMode == 1;
    if (layout) {
        // The body may be laid out zoomed: its page is `scale` layout units per pixel.
        const QSizeF size = Paginator::pageSizePixels(m_doc->page()) * Paginator::layoutScale(m_doc->body());
        if (lineWrapMode() != QTextEdit::FixedPixelWidth)
            setLineWrapMode(QTextEdit::FixedPixelWidth);
        if (lineWrapColumnOrWidth() != int(size.width()))
            setLineWrapColumnOrWidth(int(size.width()));
        Paginator::paginate(m_doc->body(), m_doc->page());
        viewport()->setBackgroundRole(QPalette::Dark);
        setBackgroundRole(QPalette::Dark);
        setAutoFillBackground(true);
        centrePageOnDesk();
    } else if (m_bodyPaginated) {
        Paginator::unpaginate(m_doc->body());
        viewport()->setBackgroundRole(QPalette::Base);
        setViewportMargins(0, 0, 0, 0);
        HeaderFooterLeave();
    }
    if (layout != m_bodyPaginated) {
        m_bodyPaginated = layout;
        m_paginator->setBodyPaginated(layout);
    }
    placeHeaderFooterEditor();
    viewport()->update();
}

void TextControl::centrePageOnDesk()
{
    // The sheet stands in the middle of the desk; the room beside it is a margin of
    // the viewport, so the text keeps its own coordinates.
    const int pageWidth =
        int(Paginator::pageSizePixels(m_doc->page()).width() * Paginator::layoutScale(m_doc->body()));
    const int room = width() - 2 * frameWidth()
                     - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
    const int left = qMax(8, (room - pageWidth) / 2);
    if (viewportMargins().left() != left)
        setViewportMargins(left, 0, 0, 0);
}

void TextControl::paintLayoutView(QPaintEvent* e)
{
    // Sheets in the body's layout units; the paginator paints in page pixels.
    const double scale = Paginator::layoutScale(m_doc->body());
    const QSizeF size = Paginator::pageSizePixels(m_doc->page()) * scale;
    const int dx = -horizontalScrollBar()->value(), dy = -verticalScrollBar()->value();
    const int pages = m_paginator->pageCount();
    const QRect visible = viewport()->rect();
    const int firstPage = qMax(1, int(-dy / size.height()) + 1);
    const int lastPage = qMin(pages, int((visible.height() - dy) / size.height()) + 1);
    {
        QPainter p(viewport());
        p.fillRect(e->rect(), palette().color(QPalette::Dark));
        for (int page = firstPage; page <= lastPage; ++page) {
            // A thin strip of desk between the sheets.
            const QRectF sheet(dx, dy + (page - 1) * size.height() + (page > 1 ? 3 : 0), size.width(),
                               size.height() - (page > 1 ? 3 : 0) - (page < pages ? 3 : 0));
            p.fillRect(sheet, Qt::white);
        }
    }
    QTextEdit::paintEvent(e);
    QPainter p(viewport());
    p.setRenderHint(QPainter::Antialiasing);
    for (int page = firstPage; page <= lastPage; ++page) {
        p.save();
        p.translate(dx, dy + (page - 1) * size.height());
        p.scale(scale, scale);
        const int layers = (m_hfDisplay ? Paginator::HeaderFooter : 0) | Paginator::Decorations;
        m_paginator->paintPage(&p, page, layers);
        // Margin guides: where the text area begins and ends.
        const PageGeometry& g = m_doc->page();
        p.setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));
        p.drawRect(QRectF(Document::twipsToPixels(g.marginL), Document::twipsToPixels(g.marginT),
                          Document::twipsToPixels(g.width - g.marginL - g.marginR),
                          Document::twipsToPixels(g.height - g.marginT - g.marginB)));
        p.restore();
    }
    if (m_tableGridLines)
        Tables::paintGridLines(&p, m_doc->body(), QPointF(dx, dy), visible);
    placeHeaderFooterEditor();
}

void TextControl::paintTableGrid()
{
    if (!m_tableGridLines)
        return;
    QPainter p(viewport());
    Tables::paintGridLines(&p, m_doc->body(),
                           QPointF(-horizontalScrollBar()->value(), -verticalScrollBar()->value()),
                           viewport()->rect());
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
            const int pos = cursorForPosition(me->position().toPoint()).position();
            const int id = Fields::atPosition(m_doc->body(), pos);
            const Fields::Range r = Fields::find(m_doc->body(), id);
            if (id > 0 && pos > r.start && pos < r.end && Fields::linkKind(m_doc->body(), id) > 0)
                Q_EMIT HyperlinkClicked(Fields::linkTarget(m_doc->body(), id));
        }
    }
    if (m_viewMode != 1)
        return false;
    if (watched == this) {
        if (event->type() == QEvent::Resize)
            centrePageOnDesk();
        return false;
    }
    if (watched != viewport())
        return false;
    const double scale = Paginator::layoutScale(m_doc->body());
    const QSizeF size = Paginator::pageSizePixels(m_doc->page());
    // Viewport point to page number and 96-dpi pixels on that page.
    auto pagePoint = [&](QPointF viewportPos, int* page) {
        const QPointF docPos =
            (viewportPos + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value())) / scale;
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
    if (m_viewMode != 1)
        setViewMode(1);
    if (!m_hfEditor) {
        m_hfEditor = new QTextEdit(viewport());
        m_hfEditor->setObjectName(QStringLiteral("HeaderFooterEditor"));
        m_hfEditor->setFrameStyle(QFrame::NoFrame);
        m_hfEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_hfEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_hfEditor->setLineWrapMode(QTextEdit::FixedPixelWidth);
        m_hfEditor->installEventFilter(new PagesFilter(this));
    }
    m_hfActive = part;
    PageNumberObject::install(d);
    m_hfEditor->setDocument(d);
    m_hfEditor->setLineWrapColumnOrWidth(int(d->textWidth()));
    connect(d, &QTextDocument::contentsChanged, this, &TextControl::onHeaderFooterChanged,
            Qt::UniqueConnection);
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
    const double scale = Paginator::layoutScale(m_doc->body());
    const QSizeF size = Paginator::pageSizePixels(m_doc->page());
    QRectF r = m_paginator->partRect(m_hfActive, page);
    r.setHeight(qMax(r.height(), 20.0));
    r.translate(0, (page - 1) * size.height());
    r = QRectF(r.topLeft() * scale, r.size()); // the part itself is edited at its own size
    r.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
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
