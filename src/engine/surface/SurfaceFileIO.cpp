#include "SurfaceFileIO.h"

#include "engine/Document.h"
#include "engine/DocumentFile.h"
#include "engine/objects/Images.h"
#include "ScreenView.h"
#include "TextControl.h"
#include "UndoKindTracker.h"
#include "engine/formats/FormatIO.h"
#include "engine/formats/Formats.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>

bool SurfaceFileIO::load(const QString& file, int offset, int format, bool insertAtSelection)
{
    TextControl& s = m_surface;
    QByteArray data;
    QString error;
    m_lastNote.clear();
    if (!DocumentFile::read(file, offset, &data, &m_lastError))
        return false;
    bool ok;
    if (insertAtSelection) {
        QTextCursor c = s.textCursor();
        s.m_undo->begin(UndoKindTracker::Typing);
        ok = Formats::readFrom(format, data, file, *s.m_doc, &c, &error, &m_lastNote);
        if (ok)
            Images::numberImages(s.m_doc->body());
        s.m_undo->end();
        if (ok)
            s.setTextCursor(c);
    } else {
        ok = replaceDocument(data, format, &error, &m_lastNote, file);
    }
    if (ok) {
        const PageGeometry& g = s.m_doc->page();
        m_attributes[0] = g.width;
        m_attributes[1] = g.height;
        m_attributes[2] = g.marginL;
        m_attributes[3] = g.marginT;
        m_attributes[4] = g.marginR;
        m_attributes[5] = g.marginB;
        m_lastError.clear();
    } else {
        m_lastError = error.isEmpty() ? QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.")
                                            .arg(QDir::toNativeSeparators(file))
                                      : error;
    }
    return ok;
}

bool SurfaceFileIO::replaceDocument(const QByteArray& data, int format, QString* error, QString* note,
                                    const QString& sourcePath)
{
    TextControl& s = m_surface;
    QTextDocument* body = s.m_doc->body();
    s.m_relayouting = true;
    const bool undoWas = body->isUndoRedoEnabled();
    body->setUndoRedoEnabled(false);
    // Qt's layout of the body waits for the whole text: laid out after each part a
    // reader inserts, a long text took as long again.
    const QSizeF pageSize = body->pageSize();
    body->setPageSize(QSizeF(0, 0));
    const bool ok = Formats::readFrom(format, data, sourcePath, *s.m_doc, nullptr, error, note);
    body->setPageSize(pageSize);
    s.m_doc->applyPage(); // while the history is off: no undo step
    // The printed copy is taken anew: one taken while reading (the caret moved) lacks
    // the pictures that come last in a file.
    Q_EMIT s.m_doc->pageChanged();
    if (ok)
        Images::numberImages(body);
    body->setUndoRedoEnabled(undoWas);
    s.m_relayouting = false;
    s.m_undo->reset();
    if (ok) {
        // A loaded document is not a changed one: no Change, but the position moved.
        // The view chooses the body's layout before the caret asks it for a place.
        s.m_view->update();
        s.moveCursor(QTextCursor::Start);
        s.m_view->update();
        // It opens at the top of its first sheet: moving the caret there scrolled a
        // window still too small for it to the first line, past the header.
        s.verticalScrollBar()->setValue(0);
        s.horizontalScrollBar()->setValue(0);
        Q_EMIT s.PosChange();
    }
    return ok;
}

bool SurfaceFileIO::save(const QString& file, int offset, int format, bool selectionOnly)
{
    const Document& doc = *m_surface.doc();
    QByteArray body;
    QString error;
    const QTextCursor sel = m_surface.textCursor();
    // HTML honours the style-sheet mode (attribute 9) and file (attribute 8).
    WriteOptions options;
    QByteArray styleSheet;
    options.styleSheetMode = attribute(9).toInt();
    options.styleSheetFile = attribute(8).toString();
    options.styleSheetOut = &styleSheet;
    if (!Formats::write(format, doc, selectionOnly ? &sel : nullptr, &body, &error, options)) {
        m_lastError = error.isEmpty() ? QStringLiteral("Das Dokument kann in diesem Format nicht "
                                                       "gespeichert werden.")
                                      : error;
        return false;
    }
    // The own format's page header is written with the body, from the current page, so
    // the old file is never touched before the whole new one is on disk. Other leading
    // bytes of the old file are kept.
    const bool pageHeader = format == 3 && offset == Formats::PageHeaderSize;
    if (pageHeader ? !DocumentFile::write(file, Formats::pageHeader(doc.page()), body, &m_lastError)
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

QByteArray SurfaceFileIO::saveToMemory(int format) const
{
    QByteArray out;
    QString error;
    if (!Formats::write(format, *m_surface.doc(), nullptr, &out, &error))
        return {};
    return out;
}

QVariant SurfaceFileIO::attribute(int index) const
{
    const PageGeometry& g = m_surface.doc()->page();
    switch (index) {
    case 0: return g.width;
    case 1: return g.height;
    case 2: return g.marginL;
    case 3: return g.marginT;
    case 4: return g.marginR;
    case 5: return g.marginB;
    default: return m_attributes.value(index);
    }
}

void SurfaceFileIO::setAttribute(int index, const QVariant& value)
{
    if (index >= 0 && index <= 5) {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok)
            return;
        static int PageGeometry::*const members[] = {&PageGeometry::width,   &PageGeometry::height,
                                                     &PageGeometry::marginL, &PageGeometry::marginT,
                                                     &PageGeometry::marginR, &PageGeometry::marginB};
        m_surface.setPageValue(members[index], v);
    }
    m_attributes[index] = value;
}

bool SurfaceFileIO::savePicture(int id, const QString& file)
{
    if (!id) {
        m_lastError = QStringLiteral("Es ist kein Bild ausgewählt.");
        return false;
    }
    if (!Images::savePicture(m_surface.doc()->body(), id, file, &m_lastError))
        return false;
    m_lastError.clear();
    return true;
}
