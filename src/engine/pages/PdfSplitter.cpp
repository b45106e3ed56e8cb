#include "PdfSplitter.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cstring>

namespace PdfSplitter {

namespace {

// An indirect reference "N G R" inside an object: where its number stands, and the
// name of the dictionary key it was given under.
struct Ref {
    int at = 0;
    int length = 0;
    int object = 0;
    QByteArray key;
};

struct Object {
    int begin = 0;     // "N G obj"
    int body = 0;      // right after "obj"
    int end = 0;       // where the next object or the cross-reference table starts
    QList<Ref> refs;   // only from the dictionary part, never from stream data
};

bool isSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return c && std::strchr("()<>[]{}/%", c);
}

class Reader {
public:
    explicit Reader(const QByteArray& pdf) : d(pdf) {}

    bool read();
    const QByteArray& d;
    QHash<int, Object> objects;
    QList<int> pages; // page objects in order
    int root = 0;
    int info = 0;
    int pagesRoot = 0;
    int firstOffset = 0;

private:
    int scan(int from, int to, QList<Ref>* refs) const;
    bool readXref(int at, QList<QPair<int, int>>* offsets, int* trailer) const;
    bool collectPages(int node, int depth);
    int integerAt(int* i) const;
};

// Reads tokens from `from` until a top-level "stream" or "endobj" (or `to`), noting
// every reference with the last name seen before it. Returns where it stopped.
int Reader::scan(int from, int to, QList<Ref>* refs) const
{
    struct Token {
        int at = -1, length = 0;
        qint64 value = -1; // >= 0 for an unsigned integer
    };
    Token before, last;
    QByteArray key;
    const auto push = [&](Token t) {
        before = last;
        last = t;
    };
    int i = from;
    while (i < to) {
        const char c = d[i];
        if (isSpace(c)) {
            ++i;
        } else if (c == '%') {
            while (i < to && d[i] != '\n' && d[i] != '\r')
                ++i;
        } else if (c == '(') {
            int nesting = 0;
            for (; i < to; ++i) {
                if (d[i] == '\\') {
                    ++i;
                } else if (d[i] == '(') {
                    ++nesting;
                } else if (d[i] == ')' && --nesting == 0) {
                    ++i;
                    break;
                }
            }
            push({});
        } else if (c == '<' && i + 1 < to && d[i + 1] != '<') {
            while (i < to && d[i] != '>')
                ++i;
            ++i;
            push({});
        } else if (c == '<' || c == '>') {
            i += (i + 1 < to && d[i + 1] == c) ? 2 : 1;
            push({});
        } else if (c == '/') {
            const int start = ++i;
            while (i < to && !isSpace(d[i]) && !isDelimiter(d[i]))
                ++i;
            key = d.mid(start, i - start);
            push({});
        } else if (isDelimiter(c)) {
            ++i;
            push({});
        } else {
            const int start = i;
            while (i < to && !isSpace(d[i]) && !isDelimiter(d[i]))
                ++i;
            const QByteArrayView word(d.constData() + start, i - start);
            if (word == "stream" || word == "endobj")
                return start;
            if (word == "R" && before.value >= 0 && last.value >= 0) {
                refs->append({before.at, before.length, int(before.value), key});
                push({});
                continue;
            }
            Token t{start, int(word.size()), -1};
            if (word.size() < 10 && std::all_of(word.begin(), word.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
                t.value = word.toLongLong();
            push(t);
        }
    }
    return to;
}

int Reader::integerAt(int* i) const
{
    while (*i < d.size() && isSpace(d[*i]))
        ++*i;
    const int start = *i;
    while (*i < d.size() && d[*i] >= '0' && d[*i] <= '9')
        ++*i;
    // Cross-reference offsets have ten digits; anything past an int is no offset here.
    const qint64 value = *i > start && *i - start <= 10 ? d.mid(start, *i - start).toLongLong() : -1;
    return value <= INT_MAX ? int(value) : -1;
}

bool Reader::readXref(int at, QList<QPair<int, int>>* offsets, int* trailer) const
{
    if (!d.mid(at, 4).startsWith("xref"))
        return false;
    int i = at + 4;
    for (;;) {
        while (i < d.size() && isSpace(d[i]))
            ++i;
        if (d.mid(i, 7) == "trailer") {
            *trailer = i + 7;
            return true;
        }
        const int first = integerAt(&i);
        const int count = integerAt(&i);
        if (first < 0 || count < 0)
            return false;
        for (int n = 0; n < count; ++n) {
            const int offset = integerAt(&i);
            const int generation = integerAt(&i);
            while (i < d.size() && isSpace(d[i]))
                ++i;
            if (offset < 0 || generation < 0 || i >= d.size())
                return false;
            // An object number the writer took but never wrote stands at offset 0.
            if (d[i] == 'n' && offset > 0)
                offsets->append({first + n, offset});
            ++i;
        }
    }
}

bool Reader::collectPages(int node, int depth)
{
    const auto it = objects.constFind(node);
    if (it == objects.cend() || depth > 32)
        return false;
    bool inner = false;
    for (const Ref& r : it->refs) {
        if (r.key != "Kids")
            continue;
        inner = true;
        const auto kid = objects.constFind(r.object);
        if (kid == objects.cend())
            return false;
        const bool kidIsNode = std::any_of(kid->refs.begin(), kid->refs.end(), [](const Ref& k) { return k.key == "Kids"; });
        if (!kidIsNode)
            pages.append(r.object);
        else if (!collectPages(r.object, depth + 1))
            return false;
    }
    return inner || depth > 0;
}

bool Reader::read()
{
    const int startxref = int(d.lastIndexOf("startxref"));
    if (startxref < 0)
        return false;
    int i = startxref + 9;
    const int xref = integerAt(&i);
    QList<QPair<int, int>> offsets;
    int trailer = 0;
    if (xref <= 0 || xref >= d.size() || !readXref(xref, &offsets, &trailer))
        return false;
    QList<Ref> trailerRefs;
    scan(trailer, startxref, &trailerRefs);
    if (d.indexOf("/Encrypt", trailer) >= 0)
        return false;
    for (const Ref& r : std::as_const(trailerRefs)) {
        if (r.key == "Root")
            root = r.object;
        else if (r.key == "Info")
            info = r.object;
    }

    // An object runs up to the next one; the table follows the last.
    QList<int> starts;
    for (const auto& [number, offset] : std::as_const(offsets))
        starts.append(offset);
    starts.append(xref);
    std::sort(starts.begin(), starts.end());
    firstOffset = starts.first();
    for (const auto& [number, offset] : std::as_const(offsets)) {
        Object o;
        o.begin = offset;
        o.end = *std::upper_bound(starts.begin(), starts.end(), offset);
        int at = offset;
        if (integerAt(&at) != number || integerAt(&at) < 0)
            return false;
        while (at < o.end && isSpace(d[at]))
            ++at;
        if (d.mid(at, 3) != "obj")
            return false;
        o.body = at + 3;
        scan(o.body, o.end, &o.refs);
        objects.insert(number, o);
    }
    if (!objects.contains(root))
        return false;
    for (const Ref& r : std::as_const(objects[root].refs))
        if (r.key == "Pages")
            pagesRoot = r.object;
    return pagesRoot && collectPages(pagesRoot, 0);
}

// Writes object `o` under `number`, its references renumbered through `numbers`.
void writeObject(const Reader& in, const Object& o, int number, const QHash<int, int>& numbers, QByteArray* out)
{
    out->append(QByteArray::number(number) + " 0 obj");
    int at = o.body;
    for (const Ref& r : o.refs) {
        out->append(in.d.constData() + at, r.at - at);
        out->append(QByteArray::number(numbers.value(r.object)));
        at = r.at + r.length;
    }
    out->append(in.d.constData() + at, o.end - at);
}

bool writePart(const Reader& in, const QList<int>& pages, QByteArray* out)
{
    // Every object the part's pages, the catalogue and the document information use;
    // a page's parent becomes the part's own page list, object 2.
    QHash<int, int> numbers{{in.root, 1}, {in.pagesRoot, 2}};
    const QSet<int> ownPages(pages.begin(), pages.end());
    const QSet<int> allPages(in.pages.begin(), in.pages.end());
    QList<int> queue{in.root};
    if (in.info)
        queue.append(in.info);
    queue.append(pages);
    QSet<int> seen(queue.begin(), queue.end());
    for (int n = 0; n < queue.size(); ++n) {
        for (const Ref& r : in.objects.value(queue[n]).refs) {
            if (r.object == in.pagesRoot || seen.contains(r.object))
                continue;
            // Another part's page, or an object that is not there: not ours to cut.
            if ((allPages.contains(r.object) && !ownPages.contains(r.object)) || !in.objects.contains(r.object))
                return false;
            seen.insert(r.object);
            queue.append(r.object);
        }
    }
    QList<int> copied(queue.begin() + 1, queue.end());
    std::sort(copied.begin(), copied.end(),
              [&](int a, int b) { return in.objects.value(a).begin < in.objects.value(b).begin; });
    int next = 3;
    for (int o : std::as_const(copied))
        numbers.insert(o, next++);

    QList<int> offsets(next, 0);
    out->append(in.d.constData(), in.firstOffset);
    offsets[1] = int(out->size());
    writeObject(in, in.objects.value(in.root), 1, numbers, out);
    offsets[2] = int(out->size());
    out->append("2 0 obj\n<<\n/Type /Pages\n/Kids \n[\n");
    for (int p : pages)
        out->append(QByteArray::number(numbers.value(p)) + " 0 R\n");
    out->append("]\n/Count " + QByteArray::number(pages.size()) + "\n/ProcSet [/PDF /Text /ImageB /ImageC]\n>>\nendobj\n");
    for (int o : std::as_const(copied)) {
        offsets[numbers.value(o)] = int(out->size());
        writeObject(in, in.objects.value(o), numbers.value(o), numbers, out);
    }
    const int xref = int(out->size());
    out->append("xref\n0 " + QByteArray::number(next) + "\n0000000000 65535 f \n");
    for (int n = 1; n < next; ++n)
        out->append(QByteArray::number(offsets[n]).rightJustified(10, '0') + " 00000 n \n");
    out->append("trailer\n<<\n/Size " + QByteArray::number(next) + "\n");
    if (in.info)
        out->append("/Info " + QByteArray::number(numbers.value(in.info)) + " 0 R\n");
    out->append("/Root 1 0 R\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
    return true;
}

} // namespace

bool split(const QByteArray& pdf, const QList<int>& pageCounts, QList<QByteArray>* parts)
{
    parts->clear();
    Reader in(pdf);
    if (!in.read())
        return false;
    int total = 0;
    for (int count : pageCounts) {
        if (count <= 0)
            return false;
        total += count;
    }
    if (total != in.pages.size())
        return false;
    int first = 0;
    for (int count : pageCounts) {
        QByteArray part;
        if (!writePart(in, in.pages.mid(first, count), &part)) {
            parts->clear();
            return false;
        }
        parts->append(part);
        first += count;
    }
    return true;
}

} // namespace PdfSplitter
