#pragma once
// The style dialog "Formatvorlage": the paragraph styles the surface knows, each a set
// of paragraph and character properties, with a sample of the chosen one.

#include <QDialog>
#include <QTextBlockFormat>
#include <QTextCharFormat>

class QLabel;
class QListWidget;

struct ParagraphStyle {
    QString name;
    QTextBlockFormat block;
    QTextCharFormat chars;
};

class StyleDialog : public QDialog {
    Q_OBJECT
public:
    // `defaultFont` is the document's, which "Standard" returns to.
    StyleDialog(const QFont& defaultFont, int currentHeading, QWidget* parent = nullptr);

    static QList<ParagraphStyle> styles(const QFont& defaultFont);
    // The chosen style; an empty name when none is chosen.
    ParagraphStyle chosen() const;

private:
    void updateSample();

    QList<ParagraphStyle> m_styles;
    QListWidget* m_list;
    QLabel* m_sample;
};
