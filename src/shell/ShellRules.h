#pragma once
// Small rules of the main frame and the document window, kept free of widgets so
// that they can be checked on their own.

#include <QString>
#include <optional>

struct InputPosition;

namespace ShellRules {

// The frame's caption, also the title of the close check's message box.
inline const QString& frameCaption()
{
    static const QString caption = QStringLiteral(" Textverarbeitung");
    return caption;
}

// Header/footer switch of the toolbar. Parts: 1 header, 2 first-page header,
// 4 footer, 8 first-page footer. Returns the part to activate, or nothing when the
// button does nothing for `current`. `store` tells whether the window keeps the
// result as its HeaderFooterActive.
struct HeaderFooterStep {
    int part = 0;
    bool store = false;
};
std::optional<HeaderFooterStep> headerFooterStep(const QString& key, int current);

// Zoom in percent for a document window `widthTwips` wide.
int zoomForWidth(int widthTwips);
// Screen pixels to twips at 96 dpi.
inline int pixelsToTwips(int px) { return px * 15; }

// Captions of the edit menu's undo and redo items for the surface's undo kinds.
QString undoCaption(int kind);
QString redoCaption(int kind);

// The leading number of a zoom item's caption ("150%" gives 150); 0 without one.
int zoomFromCaption(const QString& caption);

// The close check's question for a window titled `title`.
QString closeQuestion(const QString& title);

// The message of "Aktuelle Cursor - Position".
QString positionMessage(const InputPosition& p);

} // namespace ShellRules
