#pragma once
// Loading and saving of the editing surface's document in every format, with the
// load/save attributes and the German description of the last failure.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

class TextControl;

class SurfaceFileIO {
public:
    explicit SurfaceFileIO(TextControl& surface) : m_surface(surface) {}

    bool load(const QString& file, int offset, int format, bool insertAtSelection);
    bool save(const QString& file, int offset, int format, bool selectionOnly);
    QByteArray saveToMemory(int format) const;
    // The pixels of picture `id` of the body, in the format the file's ending names.
    bool savePicture(int id, const QString& file);
    QString lastError() const { return m_lastError; }
    // After a successful load of a file that was read only in part: what the user should know.
    QString lastNote() const { return m_lastNote; }
    QVariant attribute(int index) const;
    void setAttribute(int index, const QVariant& value);

private:
    // Reading into the whole document replaces it without an undo step or a Change.
    bool replaceDocument(const QByteArray& data, int format, QString* error, QString* note, const QString& sourcePath);

    TextControl& m_surface;
    QString m_lastError;
    QString m_lastNote;
    QMap<int, QVariant> m_attributes;
};
