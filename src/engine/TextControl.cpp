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

int TextControl::CurrentPages() const { return 1; }

void TextControl::updateLayoutForView()
{
    const double scale = m_zoom / 100.0;
    setLineWrapColumnOrWidth(int(m_doc->body()->textWidth() * scale));
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
void TextControl::paintEvent(QPaintEvent* e) { QTextEdit::paintEvent(e); }

bool TextControl::canInsertFromMimeData(const QMimeData* source) const
{
    return QTextEdit::canInsertFromMimeData(source);
}

QMimeData* TextControl::createMimeDataFromSelection() const
{
    return QTextEdit::createMimeDataFromSelection();
}

void TextControl::insertFromMimeData(const QMimeData* source) { QTextEdit::insertFromMimeData(source); }
