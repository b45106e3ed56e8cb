#include "SectionParts.h"

#include "Document.h"
#include "PartIndex.h"
#include "formats/LocalTextDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QMap>
#include <QTextDocument>

namespace {

// The sets of one document, a child object of it.
class Store : public QObject {
    Q_OBJECT
public:
    explicit Store(Document* doc) : QObject(doc), m_doc(doc)
    {
        const int dpm = qRound(96 / 0.0254);
        m_device.setDotsPerMeterX(dpm);
        m_device.setDotsPerMeterY(dpm);
    }

    QTextDocument* made(const QTextDocument* clone = nullptr)
    {
        // Laid out at 96 dpi like the document's own parts.
        QTextDocument* d = clone ? clone->clone(this) : new LocalTextDocument(this);
        if (!clone) {
            d->setDefaultFont(m_doc->body()->defaultFont());
            d->setDocumentMargin(0);
        }
        d->documentLayout()->setPaintDevice(&m_device);
        const PageGeometry& g = m_doc->page();
        d->setTextWidth(qMax(10.0, Document::twipsToPixels(g.width - g.marginL - g.marginR)));
        return d;
    }

    QMap<int, QList<QTextDocument*>> sets; // id -> four parts, nullptr where absent

private:
    Document* m_doc;
    QImage m_device{1, 1, QImage::Format_RGB32};
};

Store* storeOf(const Document& doc) { return doc.findChild<Store*>(QString(), Qt::FindDirectChildrenOnly); }

Store* storeOf(Document& doc)
{
    Store* s = doc.findChild<Store*>(QString(), Qt::FindDirectChildrenOnly);
    return s ? s : new Store(&doc);
}

} // namespace

namespace SectionParts {

int add(Document& doc)
{
    Store* s = storeOf(doc);
    const int id = s->sets.isEmpty() ? 1 : s->sets.lastKey() + 1;
    s->sets.insert(id, QList<QTextDocument*>(4, nullptr));
    return id;
}

QTextDocument* part(Document& doc, int id, int which, bool create)
{
    const int i = partIndex(which);
    Store* s = storeOf(std::as_const(doc));
    if (i < 0 || !s || !s->sets.contains(id))
        return nullptr;
    QTextDocument*& d = s->sets[id][i];
    if (!d && create)
        d = s->made();
    return d;
}

QTextDocument* part(const Document& doc, int id, int which)
{
    const int i = partIndex(which);
    const Store* s = storeOf(doc);
    return i < 0 || !s || !s->sets.contains(id) ? nullptr : s->sets.value(id).at(i);
}

QList<int> ids(const Document& doc)
{
    const Store* s = storeOf(doc);
    return s ? s->sets.keys() : QList<int>();
}

void clear(Document& doc)
{
    if (Store* s = storeOf(std::as_const(doc))) {
        for (const QList<QTextDocument*>& set : std::as_const(s->sets))
            for (QTextDocument* d : set)
                if (d)
                    d->deleteLater();
        s->sets.clear();
    }
}

void cloneInto(const Document& from, Document& to)
{
    const Store* source = storeOf(from);
    if (!source)
        return;
    Store* target = storeOf(to);
    for (auto it = source->sets.cbegin(); it != source->sets.cend(); ++it) {
        QList<QTextDocument*>& set = target->sets[it.key()];
        set = QList<QTextDocument*>(4, nullptr);
        for (int i = 0; i < 4; ++i)
            if (const QTextDocument* d = it.value().at(i))
                set[i] = target->made(d);
    }
}

} // namespace SectionParts

#include "SectionParts.moc"
