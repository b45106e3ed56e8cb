#pragma once
// "Druck - Vorschau": the pages of one document as the printer produces them, one or
// two side by side, fitted to the window or at 75 % and 100 % of their printed size,
// and printing from there. Every page is painted by the surface's paginator at the
// window's resolution.

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QPushButton;
class QScrollBar;
class TextControl;

class frmPrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmPrintPreview(QWidget* parent = nullptr);
    ~frmPrintPreview() override;

    // Shows the preview of `tx` modally.
    static void ShowPreview(TextControl* tx, QWidget* parent = nullptr);
    // The main frame's print setup, run by "Drucken" before it prints.
    static void setPrintSetup(std::function<void()> printSetup);

    // Takes the surface and resets the view: page 1, fitted, one page.
    void setSurface(TextControl* tx);
    int currentPage() const { return m_current; }
    bool twoPages() const { return m_twoPages; }
    int zoomLevel() const { return m_zoom; }
    // Zoom factor (percent) at which picture 1 or 2 is painted; below 10 it stays blank.
    int pictureFactor(int picture) const;

    QWidget* Frame1;
    QPushButton* btnClose;
    QPushButton* btnZoomOut;
    QPushButton* btnZoomIn;
    QPushButton* btnPages;
    QPushButton* btnPrevious;
    QPushButton* btnNext;
    QPushButton* btnPrint;
    QLabel* lblPage;
    QWidget* picMain;
    QWidget* picPage1;
    QWidget* picPage2;
    QScrollBar* scrollH;
    QScrollBar* scrollV;

public Q_SLOTS:
    void btnClose_Click();
    void btnZoomOut_Click();
    void btnZoomIn_Click();
    void btnPages_Click();
    void btnPrevious_Click();
    void btnNext_Click();
    void btnPrint_Click();
    void scroll_Change();
    void Form_Resize();
    // Left-button release on a page picture at `pos` (pixels in the picture).
    void picPage_MouseUp(int picture, QPoint pos, Qt::KeyboardModifiers mods);

protected:
    void resizeEvent(QResizeEvent* e) override;
    void done(int result) override;

private:
    void updateControls();
    void refresh();
    void setZoomLevel(int level);
    double twipsPerPixel() const;
    QRect pixels(const QRectF& twips) const;
    class PagePicture;

    QPointer<TextControl> m_surface;
    int m_pageWidth = 11906, m_pageHeight = 16837;
    int m_current = 1;
    bool m_twoPages = false;
    int m_zoom = 0;
    int m_savedZoom = 100;
};
