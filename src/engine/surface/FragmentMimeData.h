#pragma once
// Clipboard data of the editing surface. Qt's own rich-text clipboard goes through
// HTML, which drops char-format user properties (fields). This keeps the fragment
// itself for pastes in this process and a byte encoding of text and formats for other
// instances, and still offers plain text and HTML to other programs.

#include <QMimeData>
#include <QTextDocumentFragment>

class QTextCursor;

class FragmentMimeData : public QMimeData {
    Q_OBJECT
public:
    explicit FragmentMimeData(const QTextDocumentFragment& fragment);

    static QString mimeType();
    // The fragment without soft hyphens: other programs and pastes get words whole.
    static QTextDocumentFragment wordsWhole(const QTextDocumentFragment& fragment);
    const QTextDocumentFragment& fragment() const { return m_fragment; }

    static QByteArray encode(const QTextDocumentFragment& fragment);
    // Inserts encoded data at `cursor`; false when the data is not ours or broken.
    static bool insertEncoded(const QByteArray& data, QTextCursor& cursor);
    // Inserts whatever of ours `source` carries; false when it carries nothing of ours.
    static bool insertInto(const QMimeData* source, QTextCursor& cursor);

private:
    QTextDocumentFragment m_fragment;
};
