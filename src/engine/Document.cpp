#include "Document.h"

#include <QTextFrame>
#include <QTextFrameFormat>

Document::Document(QObject* parent) : QObject(parent), m_body(new QTextDocument(this))
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(11);
    m_body->setDefaultFont(f);
    m_body->setDocumentMargin(0);
    applyPage();
}

void Document::setPage(const PageGeometry& g)
{
    if (g == m_page)
        return;
    m_page = g;
    applyPage();
    Q_EMIT pageChanged();
}

void Document::applyPage()
{
    // The text width is what a line may fill; the editor shows margins around it.
    const double textWidth = twipsToPixels(m_page.width - m_page.marginL - m_page.marginR);
    m_body->setTextWidth(qMax(10.0, textWidth));
}
