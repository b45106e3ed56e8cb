#pragma once
// The editing surface of every document window (and of the few other windows that
// edit rich text). Members carry the names the rest of the program calls: the getter
// is the member's name, the setter `set` + that name. All lengths are twips.

#include <QColor>
#include <QPointer>
#include <QTextCharFormat>
#include <QVariant>

#include <memory>

#include "engine/pages/InputPositions.h"
#include "engine/objects/Lists.h"
#include "ZoomedTextEdit.h"

#include <QTextCursor>

class QPrinter;
class Document;
class FindDialog;
class HeaderFooterEditing;
class ScreenView;
class SurfaceEditing;
class SurfaceFileIO;
class TabStopEditing;
class UndoKindTracker;
struct PageGeometry;

class TextControl : public ZoomedTextEdit {
    Q_OBJECT
public:
    explicit TextControl(QWidget* parent = nullptr);
    ~TextControl() override;

    Document* doc() const { return m_doc; }

    // Text and selection. SelLength -1 selects to the end of the text. Text and SelText
    // end paragraphs with CR LF; setting them turns CR LF and CR into paragraph breaks
    // and a form feed (code 12) into a page break.
    QString Text() const;
    void setText(const QString& text);
    QString SelText() const;
    void setSelText(const QString& text); // inserts at the input position
    int SelStart() const;
    void setSelStart(int pos);
    int SelLength() const;
    void setSelLength(int length);

    // Editing. Clip: 1 cut, 2 copy, 3 paste, 4 delete the selection.
    void Clip(int action);
    void Undo();
    void Redo();
    bool CanCopy() const;
    bool CanPaste() const;
    bool CanUndo() const;
    bool CanRedo() const;
    // Kind of the step that Undo would undo: 0 none, 1 typing, 2 deleting, 3 formatting
    // (4 other); of the step Redo would redo: 0 none, 10, 11, 12 (13 other).
    int UndoKind() const;
    int RedoKind() const;
    // 1 opens the search dialog, 2 the search-and-replace dialog (modeless, owned here).
    void FindReplace(int mode);
    FindDialog* findDialog() const;

    // Frames edits made from outside through textCursor() as one undo step of `kind`
    // (1 typing, 2 deleting, 3 formatting, 4 other). Steps nest.
    void beginEditStep(int kind);
    void endEditStep();

    // Character attributes of the selection (of the input position when nothing is
    // selected). A mixed selection reads as an empty name, 0 or an invalid colour.
    QString FontName() const;
    void setFontName(const QString& name);
    double FontSize() const;
    void setFontSize(double points);
    bool FontBold() const;
    void setFontBold(bool on);
    bool FontItalic() const;
    void setFontItalic(bool on);
    bool FontUnderline() const;
    void setFontUnderline(bool on);
    bool FontStrikethru() const;
    void setFontStrikethru(bool on);
    QColor ForeColor() const;
    void setForeColor(const QColor& c);
    QColor TextBkColor() const;
    void setTextBkColor(const QColor& c);
    // Opens the character dialog; true when the user confirmed.
    bool FontDialog();
    // The character properties shared by the whole selection (of the input position
    // when nothing is selected), with the document's defaults filled in.
    QTextCharFormat commonCharFormat() const;

    // Paragraph: 0 left, 1 right, 2 centred, 3 justified.
    int Alignment() const;
    void setAlignment(int a);
    // Tab stops of the current paragraph: TabCurrent selects one (1-based), TabType
    // (1 left, 2 right, 3 centre, 4 decimal) and TabPos (twips) describe it.
    int TabCurrent() const;
    void setTabCurrent(int index);
    int TabType() const;
    void setTabType(int type);
    int TabPos() const;
    void setTabPos(int twips);
    int TabCount() const;
    // Adds a tab stop to the selected paragraphs (kept sorted); removes one (1-based).
    void addTabStop(int twips, int type = 1);
    void removeTabStop(int index);
    // Indents of the current paragraph, twips: left, first line (relative), right.
    int IndentL() const;
    int IndentFL() const;
    int IndentR() const;

    // Page, twips.
    int PageWidth() const;
    void setPageWidth(int v);
    int PageHeight() const;
    void setPageHeight(int v);
    int PageMarginL() const;
    void setPageMarginL(int v);
    int PageMarginT() const;
    void setPageMarginT(int v);
    int PageMarginR() const;
    void setPageMarginR(int v);
    int PageMarginB() const;
    void setPageMarginB(int v);

    // View. ZoomFactor in percent; ViewMode 0 normal, 1 layout (pages), 2 centred page.
    int ZoomFactor() const;
    void setZoomFactor(int percent);
    int ViewMode() const;
    void setViewMode(int mode);
    bool ControlChars() const { return m_controlChars; }
    void setControlChars(bool on);
    int ScrollPosY() const;
    void setScrollPosY(int twips);
    // Geometry for the ruler: screen pixels per twip at the current zoom, and the
    // x (in this widget) where the text area's left edge is shown.
    double pixelsPerTwip() const;
    int textLeftX() const;
    // Insert (true) or overwrite (false).
    bool InsertionMode() const { return !overwriteMode(); }
    void setInsertionMode(bool insert) { setOverwriteMode(!insert); }

    // Input position as page, line and column; setting it moves the caret there.
    InputPosition CurrentInputPosition() const;
    void setCurrentInputPosition(const InputPosition& p);

    // Files. Format codes: 1 text, 3 own, 4 HTML, 5 RTF, 9 Word, 10 XML, 11 CSS, 12 PDF.
    // On failure they return false and LastError() holds a German description.
    bool Load(const QString& file, int offset, int format, bool insertAtSelection);
    bool Save(const QString& file, int offset, int format, bool selectionOnly);
    QByteArray SaveToMemory(int format) const;
    QString LastError() const;
    // After a Load that succeeded with a file read only in part (cut off, characters
    // dropped) or simplified: a German note for the user; empty for a whole file.
    QString LoadNote() const;
    // 0..5 page width, height, margins left, top, right, bottom; 8 style-sheet file,
    // 9 style-sheet mode; others are kept and returned as set.
    QVariant LoadSaveAttribute(int index) const;
    void setLoadSaveAttribute(int index, const QVariant& value);

    int CurrentPages() const;

Q_SIGNALS:
    // Notifications the document window handles.
    void Change();                                      // content changed
    void PosChange();                                   // input position or selection moved
    void KeyDown(int key, Qt::KeyboardModifiers mods);  // before the key is handled
    void MouseDown(Qt::MouseButton button, QPoint pos); // pos in widget pixels
    void MouseMoved(QPoint pos);
    void UserActivated();                               // clicked or focused by the user
    void ViewChanged(); // zoom, view mode or page geometry changed what is shown
    void HeaderFooterActivated(int part);               // 1, 2, 4, 8
    void HeaderFooterLeft();
    void HyperlinkClicked(const QString& target);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void paintOverText(QPainter* p, const QRectF& clip) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    QSizeF contentsSize() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void setPageValue(int PageGeometry::*member, int v);
    void onContentsChange(int pos, int removed, int added);
    void mergeFormat(const QTextCharFormat& f);

    Document* m_doc;
    std::unique_ptr<UndoKindTracker> m_undo;
    QPointer<FindDialog> m_findDialog;
    bool m_controlChars = false;
    bool m_relayouting = false; // layout-only changes are no content change
    // Loading and saving reach into the undo tracker and view.
    friend class SurfaceFileIO;
    std::unique_ptr<SurfaceFileIO> m_files;
    // Editing members that act on the active part, and the tab stops' members.
    friend class SurfaceEditing;
    std::unique_ptr<SurfaceEditing> m_editing;
    std::unique_ptr<TabStopEditing> m_tabs;

    // Pages, headers and footers, fields, tables, objects
public:
    // Pages as printed: a copy of the body laid out at print resolution, which the page
    // views show, so the screen, printing, the preview and the page count agree with
    // the PDF.
    class Paginator* paginator() const { return m_paginator; }
    // The page views show the printed copy; the normal view the body's own layout.
    // With sections, shownDocument() is the body laid out on the first section's page
    // only: the page views show the sections' copies (shownPieces()).
    QTextDocument* shownDocument() const override;
    double shownScale() const override;
    bool showsCopy() const override;
    ShownLayout::Pieces shownPieces() const override;
    // The sheet of printed page `page` in the page views (document pixels), and the
    // page whose sheet holds a document point.
    QRectF sheetRect(int page) const;
    int sheetAt(const QPointF& docPos) const;
    // The page the caret's text is shown on: its section's in the page views, else the
    // document's.
    PageGeometry caretPage() const;
    bool settling() const override { return m_relayouting; }
    // The red marks under misspelt words of the body.
    class SpellMarks* spellMarks() const { return m_spell; }
    QPrinter* Printer() const { return m_printer; }
    void setPrinter(QPrinter* printer) { m_printer = printer; }
    // Prints pages first..last (0 = to the end) `copies` times on Printer() (the
    // application's current printer when none was set); false when nothing was printed.
    bool PrintDoc(const QString& docName, int first, int last, int copies);
    QImage PageImage(int page, double dpi = 96) const;

    // Header and footer parts (1, 2, 4, 8) and their distances: index 1 header, 4 footer.
    int HeaderFooterSet() const;
    void setHeaderFooterSet(int bits);
    int HeaderFooterDistance(int index) const;
    void setHeaderFooterDistance(int index, int twips);
    // 15 when the first page has its own parts, else 5; writing 15 adds first-page
    // parts beside the present ones, 5 removes them.
    int HeaderFooterFlags() const;
    void setHeaderFooterFlags(int flags);
    // 1 shows headers and footers in the page views.
    int HeaderFooterDisplay() const { return m_hfDisplay; }
    void setHeaderFooterDisplay(int v);
    // Moves editing into part n (on the sheets of a page view); false when the part is absent.
    bool HeaderFooterActivate(int part);
    // Moves editing into the header (slot 1) or footer (4) printed on `page`, of
    // whichever section; false when the page has none.
    bool HeaderFooterActivateOn(int page, int slot);
    int HeaderFooterActive() const;
    void HeaderFooterLeave();
    class QTextEdit* headerFooterEditor() const;

    // Fields of the part being edited (the body unless a header/footer is active).
    int FieldInsert(const QString& text);
    int FieldCurrent() const;
    void setFieldCurrent(int id);
    QString FieldText() const;
    void setFieldText(const QString& text);
    int FieldNext(int id, int kind) const;
    QString FieldData(int id) const;
    void setFieldData(int id, const QString& data);
    int FieldType(int id) const;
    void setFieldType(int id, int type);
    int FieldLinkKind(int id) const;
    void setFieldLinkKind(int id, int kind);
    QString FieldLinkTarget(int id) const;
    void setFieldLinkTarget(int id, const QString& target);
    int FieldStart(int id) const; // first position, counted from 1; 0 when absent
    int FieldEnd(int id) const;   // last position, counted from 1
    bool FieldDelete(bool keepText);
    void MarkHyperlinks();

    // Tables by id; rows, columns and cell positions count from 1.
    int TableInsert(int rows, int columns, int pos = -1, int id = -1);
    QString TableCellText(int id, int row, int col) const;
    void setTableCellText(int id, int row, int col, const QString& text);
    int TableCellStart(int id, int row, int col) const;
    int TableCellLength(int id, int row, int col) const;
    int TableRows(int id) const;
    int TableColumns(int id) const;
    int TableAtInputPos() const;
    int TableRowAtInputPos() const;
    int TableColAtInputPos() const;
    bool TableInsertLines(int where, int count = 1); // 1 above, 2 below
    bool TableInsertColumn(int where);               // 1 left, 2 right
    bool TableDeleteLines();
    bool TableDeleteColumns();
    bool TableCanInsert() const;
    bool TableCanInsertLines() const;
    bool TableCanInsertColumn() const;
    bool TableCanDeleteLines() const;
    bool TableCanDeleteColumn() const;
    // Selects the table (1), row (2) or cell (3) at the input position.
    bool TableSelect(int what);
    bool TableGridLines() const { return m_tableGridLines; }
    void setTableGridLines(bool on);

    // Lists: 0 none, 2 bullets, 4 numbering; attributes by number.
    int ListType() const;
    void setListType(int type);
    int BulletAttribute(int index) const;
    void setBulletAttribute(int index, int value);
    int NumberingAttribute(int index) const;
    void setNumberingAttribute(int index, int value);
    void ListIndentChange(int step); // +1 larger, -1 smaller
    void ListNumberingStyle(int style); // 3..7

    // Images and objects.
    int ObjectInsertAsChar(const QString& file, int pos = -1, int scaleX = 100, int scaleY = 100);
    int ObjectInsertFixed(const QString& file, int xTwips, int yTwips, int scaleX = 100, int scaleY = 100);
    int ObjectSelected() const; // id of the selected image, 0 none
    void setObjectSelected(int id); // 0 clears the object selection
    // Selects the picture under the viewport point (a click); clears the object
    // selection when there is none.
    void selectObjectAt(const QPoint& viewportPos);
    int ImageDistance(int side) const; // 1 left, 2 top, 3 right, 4 bottom
    void setImageDistance(int side, int twips);
    // The selected picture shown as a grey box on screen (1) or as itself (0); -1 and
    // not settable while no picture is selected.
    int ImageDisplay() const;
    void setImageDisplay(int v);
    // Writes the selected picture's pixels to `file` (PNG, JPEG or BMP by its ending);
    // false with LastError() set.
    bool SaveImage(const QString& file);
    QString ImageExportFormats() const;
    int ImageExportFormat() const { return m_imageExportFormat; }
    void setImageExportFormat(int index) { m_imageExportFormat = index; }

    // Paragraph frames of the selection; -1 when not uniform.
    int FrameStyle() const;
    void setFrameStyle(int style);
    int FrameLineWidth() const;
    void setFrameLineWidth(int twips);
    int FrameDistance() const;
    void setFrameDistance(int twips);

private:
    void initPages();
    void paintObjectHandles();
    void refreshObjectHandles();
    QRect m_objectHandles; // where the handles of the selected picture were drawn
    void resetFieldFormatAtCaret();
    QTextDocument* activePart() const;
    QTextCursor activeCursor() const;
    // The header/footer editor while a part is being edited, else null; the editor
    // that the selection, character, paragraph and editing members act on.
    class QTextEdit* activePartEditor() const;
    class QTextEdit* activeEditor() const;
    // Deleted first in the destructor: the viewport and the header/footer editor outlive
    // this object's own destructor and would otherwise feed their last events into it.
    QObject* m_pagesFilter = nullptr;
    class Paginator* m_paginator = nullptr;
    QPrinter* m_printer = nullptr;
    int m_hfDisplay = 1;
    int m_fieldCurrent = 0;
    bool m_tableGridLines = true;
    int m_imageExportFormat = 1;
    int m_objectSelected = 0;
    Lists::State m_listState;
    // The view owns the screen geometry and reaches into the scroll area for it.
    friend class ScreenView;
    std::unique_ptr<ScreenView> m_view;
    std::unique_ptr<HeaderFooterEditing> m_hf;
    class SpellMarks* m_spell = nullptr;
};
