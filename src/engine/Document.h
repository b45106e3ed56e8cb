#pragma once
// The document behind one editing surface: the body text, the page geometry in twips
// and (growing with the page engine) headers, footers, fields and tables. Readers and
// writers of engine/formats work on a Document; windows only observe it.

#include <QObject>
#include <QTextDocument>

struct PageGeometry {
    int width = 11906;  // A4 in twips
    int height = 16837;
    int marginL = 1134; // 2 cm
    int marginT = 1134;
    int marginR = 1134;
    int marginB = 1134;
    bool operator==(const PageGeometry&) const = default;
};

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    QTextDocument* body() { return m_body; }
    const QTextDocument* body() const { return m_body; }

    const PageGeometry& page() const { return m_page; }
    void setPage(const PageGeometry& g);

    // Twips to the body's layout units and back (the body is laid out at 96 dpi).
    static double twipsToPixels(double twips) { return twips / 15.0; }
    static double pixelsToTwips(double px) { return px * 15.0; }

Q_SIGNALS:
    void pageChanged();

private:
    void applyPage();
    QTextDocument* m_body;
    PageGeometry m_page;
};
