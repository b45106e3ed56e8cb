#pragma once
// The written-record format of the program's small files: comma-separated fields,
// texts in double quotes without escaping, yes/no as #TRUE#/#FALSE#, numbers with a
// point, each record ended by CR LF. One reader and one writer for all of them.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>

class WrittenRecordReader {
public:
    explicit WrittenRecordReader(const QByteArray& data);
    // Reads the whole file; an unreadable file gives an empty reader.
    static WrittenRecordReader fromFile(const QString& path, bool* ok = nullptr);

    bool atEnd() const;
    // Next item: QString for texts (quoted or not), bool for #TRUE#/#FALSE#,
    // double for numbers. An empty unquoted item is an empty QString.
    QVariant next();
    QString nextText() { return next().toString(); }
    bool nextBool();

private:
    QString m_text;
    qsizetype m_pos = 0;
};

class WrittenRecordWriter {
public:
    WrittenRecordWriter& text(const QString& s);
    WrittenRecordWriter& flag(bool b);
    WrittenRecordWriter& number(double d);
    // Ends the current record with CR LF.
    WrittenRecordWriter& endRecord();
    QByteArray data() const { return m_out.toUtf8(); }
    // Writes the records to `path` as UTF-8 (atomically); false on failure.
    bool writeTo(const QString& path, QString* error = nullptr) const;

private:
    void separator();
    QString m_out;
    bool m_inRecord = false;
};

// Decodes a small text file: UTF-8 (with or without BOM), else Windows-1252.
QString decodeText(const QByteArray& bytes);
