#pragma once
// ZIP packages (DOCX, ODT) read and written through libzip, with the limits that keep
// a hostile file from exhausting memory: member count, size per member and in total,
// compression ratio, and names that would climb out of the package. The XML inside
// is read with QXmlStreamReader through nextToken(), which refuses DTDs, so entity
// bombs never expand.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace ZipPackage {

struct Limits {
    int maxMembers = 4000;
    qint64 maxMemberSize = 128ll << 20;  // uncompressed bytes of one member
    qint64 maxTotalSize = 512ll << 20;   // uncompressed bytes read from one package
    qint64 maxRatio = 200;               // uncompressed / compressed, for members above 1 MB
};

// True when the bytes start like a ZIP file.
bool looksLikeZip(const QByteArray& data);

class Reader {
public:
    explicit Reader(Limits limits = Limits()) : m_limits(limits) {}
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens the package held in `data` (which must outlive the reader) and checks its
    // directory. False with a German error when it is no ZIP or breaks a limit.
    bool open(const QByteArray& data, QString* error);
    QStringList names() const { return m_names; }
    bool contains(const QString& name) const { return m_names.contains(name); }
    // The uncompressed member; the limits are checked against what is really
    // inflated, not only against what the directory claims.
    bool read(const QString& name, QByteArray* out, QString* error);

private:
    Limits m_limits;
    void* m_zip = nullptr;
    QStringList m_names;
    qint64 m_totalRead = 0;
};

class Writer {
public:
    // Members are written in the order they are added; `stored` skips compression
    // (ODF wants its "mimetype" first and stored).
    void add(const QString& name, const QByteArray& data, bool stored = false);
    bool finish(QByteArray* out, QString* error);

private:
    struct Member {
        QString name;
        QByteArray data;
        bool stored;
    };
    QList<Member> m_members;
};

// A member name is safe when it is relative and never climbs with "..".
bool isSafeName(const QString& name);

// QXmlStreamReader::readNext() that treats a DTD as an error: package XML never
// needs one, and refusing it stops entity expansion before it starts.
QXmlStreamReader::TokenType nextToken(QXmlStreamReader& r);
// The German error for a reader that stopped in the member `part`.
QString xmlErrorText(const QXmlStreamReader& r, const QString& part);

// Resolves a relationship target against the folder of the part that names it
// ("word/document.xml" + "media/a.png" → "word/media/a.png"); empty when it leaves
// the package.
QString resolve(const QString& basePart, const QString& target);

} // namespace ZipPackage
