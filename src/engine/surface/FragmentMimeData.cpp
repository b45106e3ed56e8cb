#include "FragmentMimeData.h"

#include "engine/spelling/AutoHyphens.h"

#include <QDataStream>
#include <QIODevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
constexpr quint32 kMagic = 0x54584652; // "TXFR"
constexpr quint32 kVersion = 1;
} // namespace

FragmentMimeData::FragmentMimeData(const QTextDocumentFragment& laidOut) : m_fragment(wordsWhole(laidOut))
{
    const QTextDocumentFragment& fragment = m_fragment;
    QString plain = fragment.toPlainText();
    setText(plain);
    setHtml(fragment.toHtml());
    setData(mimeType(), encode(fragment));
}

QTextDocumentFragment FragmentMimeData::wordsWhole(const QTextDocumentFragment& fragment)
{
    if (!fragment.toRawText().contains(QChar::SoftHyphen))
        return fragment;
    QTextDocument doc;
    QTextCursor(&doc).insertFragment(fragment);
    AutoHyphens::strip(&doc, true);
    return QTextDocumentFragment(&doc);
}

QString FragmentMimeData::mimeType()
{
    return QStringLiteral("application/x-textverarbeitung-fragment");
}

QByteArray FragmentMimeData::encode(const QTextDocumentFragment& fragment)
{
    QTextDocument doc;
    QTextCursor(&doc).insertFragment(fragment);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setVersion(QDataStream::Qt_6_4);
    s << kMagic << kVersion << qint32(doc.blockCount());
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        s << QTextFormat(b.blockFormat()) << QTextFormat(b.charFormat());
        QList<QPair<QString, QTextFormat>> runs;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            runs.append({it.fragment().text(), it.fragment().charFormat()});
        s << qint32(runs.size());
        for (const auto& r : runs)
            s << r.first << r.second;
    }
    return out;
}

bool FragmentMimeData::insertEncoded(const QByteArray& data, QTextCursor& cursor)
{
    QDataStream s(data);
    s.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0;
    qint32 blocks = 0;
    s >> magic >> version >> blocks;
    if (magic != kMagic || version != kVersion || blocks < 0 || s.status() != QDataStream::Ok)
        return false;
    // Read everything first so that broken data inserts nothing.
    struct Block {
        QTextFormat blockFormat, charFormat;
        QList<QPair<QString, QTextFormat>> runs;
    };
    QList<Block> read;
    for (qint32 i = 0; i < blocks; ++i) {
        Block b;
        qint32 runs = 0;
        s >> b.blockFormat >> b.charFormat >> runs;
        if (s.status() != QDataStream::Ok || runs < 0)
            return false;
        for (qint32 r = 0; r < runs; ++r) {
            QString text;
            QTextFormat f;
            s >> text >> f;
            b.runs.append({text, f});
        }
        if (s.status() != QDataStream::Ok)
            return false;
        read.append(b);
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (int i = 0; i < read.size(); ++i) {
        const Block& b = read.at(i);
        // The first paragraph continues the one at the cursor, as in any paste.
        if (i > 0)
            cursor.insertBlock(b.blockFormat.toBlockFormat(), b.charFormat.toCharFormat());
        for (const auto& r : b.runs)
            cursor.insertText(r.first, r.second.toCharFormat());
    }
    cursor.endEditBlock();
    return true;
}

bool FragmentMimeData::insertInto(const QMimeData* source, QTextCursor& cursor)
{
    if (const auto* own = qobject_cast<const FragmentMimeData*>(source)) {
        cursor.insertFragment(own->fragment());
        return true;
    }
    if (source && source->hasFormat(mimeType()))
        return insertEncoded(source->data(mimeType()), cursor);
    return false;
}
