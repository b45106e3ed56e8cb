#pragma once
// The small interface every file format implements. A reader fills a fresh, empty
// Document (the dispatcher moves the result into the real one only on success, so a
// failed read never half-changes a document); a writer is a pure function of a const
// Document. Errors are German texts meant for the user.

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class Document;

// Options a writer may honour; TextControl fills them from its load/save attributes.
struct WriteOptions {
    // HTML: 0 inline styles, 1 an embedded <style> element, 2 a linked style-sheet file.
    int styleSheetMode = 0;
    // HTML mode 2: the name the <link> refers to (as given, usually relative).
    QString styleSheetFile;
    // HTML mode 2: receives the style sheet that belongs into styleSheetFile.
    QByteArray* styleSheetOut = nullptr;
};

class FormatReader {
public:
    virtual ~FormatReader() = default;
    // True when the bytes look like this format (used to tell formats apart).
    virtual bool sniff(const QByteArray& data) const { return true; }
    virtual bool read(const QByteArray& data, Document& into, QString* error) = 0;
    // After a successful read: what the user should know about a file that was read
    // only in part, repaired or simplified (German; empty when nothing was lost).
    const QString& note() const { return m_note; }

protected:
    void addNote(const QString& text)
    {
        if (!m_note.contains(text))
            m_note += (m_note.isEmpty() ? QString() : QStringLiteral(" ")) + text;
    }

private:
    QString m_note;
};

class FormatWriter {
public:
    virtual ~FormatWriter() = default;
    virtual bool write(const Document& doc, const WriteOptions& options, QByteArray* out,
                       QString* error) = 0;
};

namespace FormatErrors {
// The note for a file that ends before its structure does (a cut-off download or copy).
inline QString incompleteNote()
{
    return QStringLiteral("Die Datei ist unvollständig, vermutlich wurde sie abgeschnitten. Geöffnet wurde, "
                          "was lesbar war; bitte prüfen Sie das Dokument, bevor Sie es speichern.");
}
inline void set(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace FormatErrors

namespace FormatBrushes {
// A brush that paints: a transparent one (CSS "transparent", an alpha of 0) is no colour
// at all, never the black that its red, green and blue would write.
inline bool paints(const QBrush& b) { return b.style() != Qt::NoBrush && b.color().alpha() > 0; }
inline bool background(const QTextFormat& f)
{
    return f.hasProperty(QTextFormat::BackgroundBrush) && paints(f.background());
}
inline bool foreground(const QTextFormat& f)
{
    return f.hasProperty(QTextFormat::ForegroundBrush) && paints(f.foreground());
}
} // namespace FormatBrushes
