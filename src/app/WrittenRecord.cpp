#include "WrittenRecord.h"

#include "SafeSave.h"

#include <QFile>
#include <QStringDecoder>

QString decodeText(const QByteArray& bytes)
{
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8.decode(b);
    if (!utf8.hasError())
        return s;
    QStringDecoder cp1252("windows-1252");
    if (cp1252.isValid())
        return cp1252.decode(b);
    return QString::fromLatin1(b);
}

WrittenRecordReader::WrittenRecordReader(const QByteArray& data) : m_text(decodeText(data)) {}

WrittenRecordReader WrittenRecordReader::fromFile(const QString& path, bool* ok)
{
    QFile f(path);
    const bool opened = f.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return WrittenRecordReader(opened ? f.readAll() : QByteArray());
}

bool WrittenRecordReader::atEnd() const
{
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n')
            return false;
    }
    return true;
}

QVariant WrittenRecordReader::next()
{
    const qsizetype n = m_text.size();
    while (m_pos < n && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
        ++m_pos;
    // A line end left over from the previous record.
    while (m_pos < n && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n'))
        ++m_pos;
    while (m_pos < n && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
        ++m_pos;

    auto skipSeparator = [&] {
        while (m_pos < n && (m_text[m_pos] == u' ' || m_text[m_pos] == u'\t'))
            ++m_pos;
        if (m_pos < n && m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_pos < n && (m_text[m_pos] == u'\r' || m_text[m_pos] == u'\n')) {
            if (m_text[m_pos] == u'\r' && m_pos + 1 < n && m_text[m_pos + 1] == u'\n')
                ++m_pos;
            ++m_pos;
        }
    };

    if (m_pos < n && m_text[m_pos] == u'"') {
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? n : close;
        const QString value = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? n : close + 1;
        // Anything between the closing quote and the separator is dropped.
        while (m_pos < n && m_text[m_pos] != u',' && m_text[m_pos] != u'\r' &&
               m_text[m_pos] != u'\n')
            ++m_pos;
        skipSeparator();
        return value;
    }

    qsizetype end = m_pos;
    while (end < n && m_text[end] != u',' && m_text[end] != u'\r' && m_text[end] != u'\n')
        ++end;
    const QString raw = m_text.mid(m_pos, end - m_pos).trimmed();
    m_pos = end;
    skipSeparator();

    if (raw.compare(u"#TRUE#", Qt::CaseInsensitive) == 0)
        return true;
    if (raw.compare(u"#FALSE#", Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double d = raw.toDouble(&isNumber);
    if (isNumber)
        return d;
    return raw;
}

bool WrittenRecordReader::nextBool()
{
    const QVariant v = next();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (v.typeId() == QMetaType::Double)
        return v.toDouble() != 0;
    return false;
}

void WrittenRecordWriter::separator()
{
    if (m_inRecord)
        m_out += QLatin1Char(',');
    m_inRecord = true;
}

WrittenRecordWriter& WrittenRecordWriter::text(const QString& s)
{
    separator();
    // The format has no escape: a quote inside the text ends it when read back.
    m_out += QLatin1Char('"') + s + QLatin1Char('"');
    return *this;
}

WrittenRecordWriter& WrittenRecordWriter::flag(bool b)
{
    separator();
    m_out += b ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    return *this;
}

WrittenRecordWriter& WrittenRecordWriter::number(double d)
{
    separator();
    m_out += QString::number(d, 'g', 15);
    return *this;
}

WrittenRecordWriter& WrittenRecordWriter::endRecord()
{
    m_out += QStringLiteral("\r\n");
    m_inRecord = false;
    return *this;
}

bool WrittenRecordWriter::writeTo(const QString& path, QString* error) const
{
    return SafeSave::saveFile(path, data(), error);
}
