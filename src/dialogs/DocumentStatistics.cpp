#include "DocumentStatistics.h"
#include "engine/pages/PlainLayout.h"

#include "engine/pages/Paginator.h"
#include "engine/spelling/AutoHyphens.h"
#include "engine/surface/TextControl.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace DocumentStatistics {

namespace {

bool isSeparator(QChar c) { return c == u' ' || c == u'\r' || c == u'\n'; }

} // namespace

QString plainImage(const QTextDocument& doc)
{
    // Blocks in document order visit every cell of a table, each cell paragraph once.
    QString image;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            image += u'\n';
        QString s = AutoHyphens::isOn(b) ? AutoHyphens::plain(b.text()) : b.text();
        s.remove(QChar::ObjectReplacementCharacter);
        s.replace(QChar::LineSeparator, u'\r');
        s.replace(QChar::Nbsp, u' ');
        image += s;
    }
    return image;
}

int countWords(const QString& image)
{
    int words = 0;
    QChar previous = image.isEmpty() ? QChar(0) : QChar(u'\n');
    for (QChar c : image) {
        if (c.unicode() >= 32 && !isSeparator(c) && isSeparator(previous))
            ++words;
        previous = c;
    }
    return words;
}

int engineCharacters(const QString& image) { return int(image.size() - image.count(u'\r')); }

Counts fromImage(const QString& image, int pages, int lines)
{
    const int spaces = int(image.count(u' '));
    const int lineFeeds = int(image.count(u'\n'));
    const int characters = engineCharacters(image);
    Counts c;
    c.pages = pages;
    c.words = countWords(image);
    c.charsNoSpaces = characters - lineFeeds - spaces;
    c.chars = characters - lineFeeds;
    c.paragraphs = lineFeeds + 1;
    c.lines = lines;
    return c;
}

int layoutLines(const QTextDocument& doc)
{
    // A long plain text is not laid out paragraph by paragraph; its lines are known.
    if (const auto* plain = qobject_cast<const PlainLayout*>(doc.documentLayout()))
        return plain->lineCount();
    // Asking for the size finishes the layout of every block.
    doc.documentLayout()->documentSize();
    int lines = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.isVisible() && b.layout())
            lines += b.layout()->lineCount();
    return lines;
}

Counts of(TextControl& surface)
{
    const int pages = surface.CurrentPages();
    QTextDocument* laidOut = surface.paginator()->layoutDocument();
    return fromImage(plainImage(*surface.document()), pages,
                     layoutLines(laidOut ? *laidOut : *surface.document()));
}

} // namespace DocumentStatistics
