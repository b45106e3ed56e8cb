#include "DocumentFiles.h"

#include "RecentFiles.h"
#include "ShellRules.h"
#include "WaitCursor.h"
#include "frmMDIChild.h"
#include "frmMDIParent.h"

#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "engine/Document.h"
#include "engine/surface/TextControl.h"
#include "engine/formats/Formats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace DocumentFiles {

namespace {

QString withoutTrailingNul(QString s)
{
    if (s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

void showError(const QString& text)
{
    frmMDIParent* frame = frmMDIParent::instance();
    prompter().message(frame, ShellRules::frameCaption(), text, QMessageBox::Ok);
}

frmMDIChild* activeWindow()
{
    frmMDIParent* frame = frmMDIParent::instance();
    return frame ? frame->activeDocument() : nullptr;
}

void updateToolbar()
{
    if (frmMDIParent* frame = frmMDIParent::instance())
        frame->UpdateToolbar();
}

// The owner of the file and colour dialogs: the shared document window when it
// exists, else the frame.
QWidget* dialogOwner()
{
    frmMDIParent* frame = frmMDIParent::instance();
    if (!frame)
        return nullptr;
    if (frmMDIChild* shared = frame->existingSharedWindow())
        return shared;
    return frame;
}

// A three-letter extension ("x.txm") is cut off.
QString withoutThreeLetterExtension(const QString& name)
{
    if (name.size() >= 4 && name.at(name.size() - 4) == QLatin1Char('.'))
        return name.left(name.size() - 4);
    return name;
}

} // namespace

bool mayReplace(QWidget* owner, const QString& title, const QString& path)
{
    if (!QFileInfo::exists(path))
        return true;
    const QString text = QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nMöchten Sie sie ersetzen?")
                             .arg(QDir::toNativeSeparators(path));
    return prompter().message(owner, title, text, QMessageBox::Yes | QMessageBox::No, Prompter::Icon::Exclamation)
        == QMessageBox::Yes;
}

QString openSaveFilter()
{
    return QStringLiteral(
        "Textverarbeitung (*.txm)|*.txm|Vorlagen (*.ttx)|*.ttx|Microsoft Word (*.doc)|*.doc|"
        "Rich Text Format (*.rtf)|*.rtf|Hypertext Markup Language (*.htm)|*.htm|"
        "Textdokumente (*.txt)|*.txt|Word-Dokument (*.docx)|*.docx|OpenDocument-Text (*.odt)|*.odt");
}

QString exportFilter() { return QStringLiteral("PDF-Dokument (*.pdf)|*.pdf"); }
QString insertTextFilter() { return QStringLiteral("Text (*.txt)|*.txt|RTF-Format (*.rtf)|*.rtf"); }
QString templateFilter() { return QStringLiteral("Textvorlage (*.ttx)|*.ttx"); }

QString pictureFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format).toLower();
    patterns.removeDuplicates();
    patterns.sort();
    return QStringLiteral("Bilder (%1)|%2|Alle Dateien (*)|*")
        .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}

int DocumentFileType(const QString& path)
{
    return Formats::typeOfPath(path);
}

QString withFilterExtension(const QString& typed, int filterIndex)
{
    static const char* const extensions[] = {"txm", "ttx", "doc", "rtf", "htm", "txt", "docx", "odt"};
    QString name = withoutTrailingNul(typed.trimmed());
    if (name.isEmpty() || filterIndex < 1 || filterIndex > 8)
        return name;
    // The four-letter ending of its own filter is not doubled.
    if (filterIndex == 7 && name.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        name.chop(5);
    return withoutThreeLetterExtension(name) + QLatin1Char('.') +
           QLatin1String(extensions[filterIndex - 1]);
}

QByteArray pageHeader(int marginL, int marginT, int marginR, int marginB, int height, int width)
{
    PageGeometry g;
    g.marginL = marginL;
    g.marginT = marginT;
    g.marginR = marginR;
    g.marginB = marginB;
    g.height = height;
    g.width = width;
    return Formats::pageHeader(g);
}

QByteArray pageHeader(const TextControl& s)
{
    return pageHeader(s.PageMarginL(), s.PageMarginT(), s.PageMarginR(), s.PageMarginB(),
                      s.PageHeight(), s.PageWidth());
}

QString AskOpenName(QWidget* owner, const QString& filter, const QString& title,
                    const QString& folder)
{
    return prompter().openFile(owner, title, filter, folder).path.trimmed();
}

QString AskSaveName(QWidget* owner, const QString& filter, const QString& title,
                    const QString& folder)
{
    AppState& app = appState();
    if (app.DefaultFileName.isEmpty())
        app.DefaultFileName = QStringLiteral("Unbenannt");
    for (;;) {
        const FileChoice c = prompter().saveFile(owner, title, filter, folder, app.DefaultFileName);
        if (c.cancelled())
            return {};
        // The ending is added after the dialog, so the dialog cannot know the real name.
        const QString name = withFilterExtension(c.path, c.filterIndex);
        if (mayReplace(owner, title, name))
            return name;
        app.DefaultFileName = QFileInfo(name).fileName();
    }
}

QString AskPdfName(QWidget* owner, const QString& filter, const QString& title,
                   const QString& folder)
{
    AppState& app = appState();
    if (app.DefaultFileName.isEmpty())
        app.DefaultFileName = QStringLiteral("Unbenannt");
    for (;;) {
        const QString name = prompter().saveFile(owner, title, filter, folder, app.DefaultFileName).path.trimmed();
        if (name.isEmpty() || mayReplace(owner, title, name))
            return name;
        app.DefaultFileName = QFileInfo(name).fileName();
    }
}

QString AskSaveAsName(frmMDIChild* window)
{
    if (!window)
        window = activeWindow();
    QString name;
    if (window && !window->FilePath().isEmpty() && Folders::fileExists(window->FilePath()))
        name = withoutThreeLetterExtension(QFileInfo(window->FilePath()).fileName());
    appState().DefaultFileName = name;
    return withoutTrailingNul(AskSaveName(dialogOwner(), openSaveFilter(),
                                          QStringLiteral("Speichern unter"),
                                          appState().WorkFolder));
}

QString exportName(const frmMDIChild* window)
{
    if (!window || window->FilePath().isEmpty())
        return QStringLiteral("Unbenannt.pdf");
    return QFileInfo(window->FilePath()).completeBaseName() + QStringLiteral(".pdf");
}

QString AskExportName()
{
    // The PDF of a saved document goes beside it under its own name.
    frmMDIChild* w = activeWindow();
    appState().DefaultFileName = exportName(w);
    const QString folder = w && !w->FilePath().isEmpty() ? QFileInfo(w->FilePath()).absolutePath()
                                                          : appState().WorkFolder;
    return withoutTrailingNul(AskPdfName(dialogOwner(), exportFilter(), QStringLiteral("Export"),
                                         folder));
}

void OpenDocument(QString path)
{
    if (path.isEmpty())
        path = AskOpenName(frmMDIParent::instance(), openSaveFilter(), QStringLiteral("Öffnen"),
                           appState().WorkFolder);
    path = withoutTrailingNul(path);
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty())
        return;
    // Only what the user opens joins the recent files, not templates or recovered copies.
    if (LoadDocument(path, DocumentFileType(path)) && !path.isEmpty())
        RecentFiles::add(path);
}

frmMDIChild* LoadDocument(QString& path, int type)
{
    auto* w = new frmMDIChild();
    TextControl* s = w->surface();
    WaitCursor wait;
    s->setLoadSaveAttribute(37, true);
    if (!s->Load(path, type == 3 ? 30 : 0, type, false)) {
        wait.restore();
        const QString error = s->LastError();
        delete w;
        showError(error);
        return nullptr;
    }
    // The page geometry the file holds (attributes 0..5); a missing value keeps the default.
    const auto stored = [s](int attribute, void (*apply)(TextControl*, int)) {
        if (const int v = s->LoadSaveAttribute(attribute).toInt(); v > 0)
            apply(s, v);
    };
    stored(0, [](TextControl* t, int v) { t->setPageWidth(v); });
    stored(1, [](TextControl* t, int v) { t->setPageHeight(v); });
    stored(2, [](TextControl* t, int v) { t->setPageMarginL(v); });
    stored(3, [](TextControl* t, int v) { t->setPageMarginT(v); });
    stored(4, [](TextControl* t, int v) { t->setPageMarginR(v); });
    stored(5, [](TextControl* t, int v) { t->setPageMarginB(v); });
    if (appState().LabelMode) {
        w->setTitle(QStringLiteral("Etiketten"));
        path.clear();
    } else {
        const QString file = QFileInfo(path).absoluteFilePath();
        w->setTitle(file, file);
    }
    // A freshly loaded document counts as unchanged, unless the file was read only in
    // part or simplified: then saving it must not look like nothing happened.
    const QString note = s->LoadNote();
    w->DirtyFlag = !note.isEmpty();
    w->showDocument();
    updateToolbar();
    if (!note.isEmpty()) {
        wait.restore();
        prompter().message(w, ShellRules::frameCaption(), note, QMessageBox::Ok, Prompter::Icon::Information);
    }
    return w;
}

void SaveActiveDocument()
{
    frmMDIChild* w = activeWindow();
    if (!w)
        return;
    QString path;
    if (w->Title().left(9) == QLatin1String("Unbenannt"))
        path = AskSaveAsName(w);
    else
        path = w->FilePath().isEmpty() ? w->Title() : w->FilePath();
    if (path.isEmpty())
        return;
    path = withoutTrailingNul(path);
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.')))
        path += QStringLiteral(".txm");
    SaveDocument(path, w);
}

void SaveActiveDocumentAs()
{
    const QString path = AskSaveAsName();
    if (!path.isEmpty())
        SaveDocument(path);
}

bool SaveDocument(const QString& path, frmMDIChild* w)
{
    if (!w)
        w = activeWindow();
    if (!w)
        return false;
    TextControl* s = w->surface();
    const int type = DocumentFileType(path);
    WaitCursor wait;
    bool ok = false;
    QString error;
    switch (type) {
    case 3:
        // The surface writes the page header from its margins together with the body.
        ok = s->Save(path, Formats::PageHeaderSize, 3, false);
        break;
    case 4:
    case 5:
    case 9:
    case 12:
    case 13:
    case 14:
        s->setLoadSaveAttribute(0, s->PageWidth());
        s->setLoadSaveAttribute(1, s->PageHeight());
        s->setLoadSaveAttribute(2, s->PageMarginL());
        s->setLoadSaveAttribute(3, s->PageMarginT());
        s->setLoadSaveAttribute(4, s->PageMarginR());
        s->setLoadSaveAttribute(5, s->PageMarginB());
        ok = s->Save(path, 0, type, false);
        break;
    default:
        ok = s->Save(path, 0, type, false);
        break;
    }
    if (!ok) {
        if (error.isEmpty())
            error = s->LastError();
        wait.restore();
        showError(error);
        return false;
    }
    const QString file = QFileInfo(path).absoluteFilePath();
    w->setTitle(file, file);
    RecentFiles::add(file);
    w->DirtyFlag = false;
    updateToolbar();
    return true;
}

void ExportActiveDocument()
{
    const QString path = AskExportName();
    if (!path.isEmpty())
        ExportDocument(path);
}

bool ExportDocument(const QString& path)
{
    frmMDIChild* w = activeWindow();
    if (!w)
        return false;
    WaitCursor wait;
    if (!w->surface()->Save(path, 0, DocumentFileType(path), false)) {
        wait.restore();
        showError(w->surface()->LastError());
        return false;
    }
    return true;
}

void InsertTextFile()
{
    const QString path = withoutTrailingNul(AskOpenName(frmMDIParent::instance(),
                                                        insertTextFilter(),
                                                        QStringLiteral("Öffnen"),
                                                        appState().WorkFolder));
    frmMDIChild* w = activeWindow();
    if (path.isEmpty() || !w)
        return;
    WaitCursor wait;
    const int format = DocumentFileType(path) == 5 ? 5 : 1;
    if (!w->surface()->Load(path, 0, format, true)) {
        wait.restore();
        showError(w->surface()->LastError());
    }
}

void OpenTemplate(frmMDIChild* w)
{
    if (!w)
        return;
    const QString path = withoutTrailingNul(AskOpenName(w, templateFilter(),
                                                        QStringLiteral("Textvorlage öffnen"),
                                                        appState().WorkFolder));
    if (path.isEmpty())
        return;
    WaitCursor wait;
    // Templates carry the page header of the own format like every .txm file.
    if (!w->surface()->Load(path, 30, 3, false)) {
        wait.restore();
        showError(w->surface()->LastError());
    }
}

} // namespace DocumentFiles
