#pragma once
// Reading documents into document windows, writing them back, exporting, inserting
// text files and the file choosers around them. The format follows the file name's
// ending; the surface reads and writes, this module adds the page header of the own
// format and the window's title.
//
// A window's title is its path as the file system spells it; each window also keeps
// that path (frmMDIChild::FilePath) for saving. Documents opened or saved join the
// list of recent files.

#include <QByteArray>
#include <QString>

class QWidget;
class frmMDIChild;
class TextControl;

namespace DocumentFiles {

// Dialog filters.
QString openSaveFilter();
QString exportFilter();
QString insertTextFilter();
QString templateFilter();
// Every picture format this Qt can read, then all files.
QString pictureFilter();

// Format code from the path's ending: 3 TXM/TTX, 5 RTF, 4 HTM/HTML, 9 DOC, 10 XML,
// 11 CSS, 12 PDF, 1 anything else.
int DocumentFileType(const QString& path);

// The name the save dialog returns for `typed` with filter entry `filterIndex`
// (1 txm, 2 ttx, 3 doc, 4 rtf, 5 htm, 6 txt): a three-letter extension is replaced,
// anything else gets the extension appended. Other indexes leave the name alone.
QString withFilterExtension(const QString& typed, int filterIndex);

// The 30-byte page header written in front of an own-format file.
QByteArray pageHeader(int marginL, int marginT, int marginR, int marginB, int height, int width);
QByteArray pageHeader(const TextControl& surface);

// True when `path` does not exist or the user agrees to replace it (asked in German).
bool mayReplace(QWidget* owner, const QString& title, const QString& path);

// File choosers; empty when cancelled. The save choosers ask before replacing a file
// and show the chooser again when the user says no.
QString AskOpenName(QWidget* owner, const QString& filter, const QString& title,
                    const QString& folder);
QString AskSaveName(QWidget* owner, const QString& filter, const QString& title,
                    const QString& folder);
QString AskPdfName(QWidget* owner, const QString& filter, const QString& title,
                   const QString& folder);
QString AskSaveAsName(frmMDIChild* window = nullptr);
// The name the export offers for `window`: the document's own name with ".pdf",
// "Unbenannt.pdf" while it has no file.
QString exportName(const frmMDIChild* window);
QString AskExportName();

// Opens a document the user names (or asks for it) and adds it to the recent files.
void OpenDocument(QString path = {});
// Creates a window for the file; on failure shows the error and returns nullptr.
// With LabelMode the window is titled "Etiketten" and `path` is emptied.
frmMDIChild* LoadDocument(QString& path, int type);
void SaveActiveDocument();
void SaveActiveDocumentAs();
// Saves `window` (the active one when null) to `path`; false on failure, after the
// error was shown. Title and DirtyFlag change only on success.
bool SaveDocument(const QString& path, frmMDIChild* window = nullptr);
void ExportActiveDocument();
bool ExportDocument(const QString& path);
void InsertTextFile();
// Loads a template into `window`'s surface, replacing its content.
void OpenTemplate(frmMDIChild* window);

} // namespace DocumentFiles
