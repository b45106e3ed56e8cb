#pragma once
// The document behind one editing surface: the body text, the page geometry in twips
// and (growing with the page engine) headers, footers, fields and tables. Readers and
// writers of engine/formats work on a Document; windows only observe it.

#include <QImage>
#include <QObject>
#include <QTextDocument>

#include <memory>

struct PageGeometry {
    int width = 11906;  // A4 in twips
    int height = 16837;
    int marginL = 1134; // 2 cm
    int marginT = 1134;
    int marginR = 1134;
    int marginB = 1134;
    bool operator==(const PageGeometry&) const = default;
};

class AutoHyphens;

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    QTextDocument* body() { return m_body; }
    const QTextDocument* body() const { return m_body; }

    const PageGeometry& page() const { return m_page; }
    void setPage(const PageGeometry& g);

    // Header and footer parts, each its own document: 1 header, 2 first-page header,
    // 4 footer, 8 first-page footer. The set is the sum of the parts present.
    int headerFooterSet() const { return m_hfSet; }
    // Creates the parts named in `bits` that are missing and removes the others.
    void setHeaderFooterSet(int bits);
    QTextDocument* headerFooter(int part) const; // nullptr when the part is absent
    // Distances of header and footer from the page edge, twips.
    // They are part of the page: a change emits pageChanged.
    int headerDistance() const { return m_headerDistance; }
    void setHeaderDistance(int twips);
    int footerDistance() const { return m_footerDistance; }
    void setFooterDistance(int twips);

    // The spelling language, named as Hunspell names its dictionaries: "de_DE", "de_AT",
    // "de_CH" or "en_US". Part of the document: changing it marks the body modified.
    static QString defaultLanguage() { return QStringLiteral("de_DE"); }
    QString language() const { return m_language; }
    void setLanguage(const QString& language);

    // Twips to pixels at 96 dpi and back. The body and its headers and footers are laid
    // out in these pixels whatever the screen's resolution; the surface zooms by painting.
    static double twipsToPixels(double twips) { return twips / 15.0; }
    static double pixelsToTwips(double px) { return px * 15.0; }

    // Lays the body out on the page: a page-wide text width and the page margins in its
    // root frame, in every view. Called again after a reader cleared the root frame.
    void applyPage();
    // Sets the root frame's margins to the page's (96-dpi pixels). Qt records that as an
    // edit: the modified flag stays, and an empty history stays empty.
    static void setRootMargins(QTextDocument* d, const PageGeometry& g);

    // A copy to be painted on another thread: the body and parts are cloned as they
    // stand (a clone lays nothing out), page and distances taken over. Its body is not
    // laid out at 96 dpi: it serves a Paginator that does not follow edits.
    std::unique_ptr<Document> paintingCopy() const;

    // Keeps the soft hyphens of hyphenated paragraphs in step with their text.
    AutoHyphens* hyphens() const { return m_hyphens; }

Q_SIGNALS:
    void pageChanged();
    void headerFooterSetChanged(int bits);
    void languageChanged(const QString& language);

private:
    struct CopyOf {
        const Document& original;
    };
    explicit Document(CopyOf from);

    QTextDocument* m_body;
    QImage m_device{1, 1, QImage::Format_RGB32}; // 96 dpi, for every part's layout
    void layOutAt96Dpi(QTextDocument* d);
    PageGeometry m_page;
    int m_hfSet = 0;
    QTextDocument* m_parts[4] = {nullptr, nullptr, nullptr, nullptr};
    int m_headerDistance = 720;
    int m_footerDistance = 720;
    QString m_language = defaultLanguage();
    AutoHyphens* m_hyphens;
};
