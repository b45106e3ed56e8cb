#include "ZipPackage.h"

#include <zip.h>

namespace ZipPackage {

namespace {

const QString kNoZip = QStringLiteral("Die Datei ist kein gültiges ZIP-Paket und kann nicht gelesen werden.");
const QString kDamaged = QStringLiteral("Die Datei ist beschädigt: ein Teil des ZIP-Pakets lässt sich nicht entpacken.");

QString tooBig(qint64 limit)
{
    return QStringLiteral("Die Datei ist entpackt zu groß (mehr als %1 MB) und wird nicht gelesen.").arg(limit >> 20);
}

zip_t* zipOf(void* p) { return static_cast<zip_t*>(p); }

} // namespace

bool looksLikeZip(const QByteArray& data) { return data.startsWith("PK\x03\x04"); }

bool isSafeName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return false;
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':'))
        return false;
    const QStringList parts = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

QString resolve(const QString& basePart, const QString& target)
{
    QString path = target;
    if (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    else if (const qsizetype slash = basePart.lastIndexOf(QLatin1Char('/')); slash >= 0)
        path = basePart.left(slash + 1) + path;
    QStringList out;
    for (const QString& part : path.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == u".")
            continue;
        if (part == u"..") {
            if (out.isEmpty())
                return {};
            out.removeLast();
            continue;
        }
        out << part;
    }
    return out.join(QLatin1Char('/'));
}

Reader::~Reader()
{
    if (m_zip)
        zip_discard(zipOf(m_zip));
}

bool Reader::open(const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!looksLikeZip(data))
        return fail(kNoZip);
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &ze);
    if (!src) {
        zip_error_fini(&ze);
        return fail(kNoZip);
    }
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &ze);
    zip_error_fini(&ze);
    if (!z) {
        zip_source_free(src);
        return fail(kNoZip);
    }
    m_zip = z;
    const zip_int64_t count = zip_get_num_entries(z, 0);
    if (count < 0 || count > m_limits.maxMembers)
        return fail(QStringLiteral("Die Datei enthält zu viele Teile (mehr als %1) und wird nicht gelesen.")
                        .arg(m_limits.maxMembers));
    qint64 declared = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            return fail(kDamaged);
        const QString name = QString::fromUtf8(st.name);
        if (!isSafeName(name))
            return fail(QStringLiteral("Die Datei enthält einen unzulässigen Pfad (\"%1\") und wird nicht gelesen.")
                            .arg(name));
        if ((st.valid & ZIP_STAT_SIZE) && qint64(st.size) > m_limits.maxMemberSize)
            return fail(tooBig(m_limits.maxMemberSize));
        declared += qint64(st.size);
        m_names << name;
    }
    if (declared > m_limits.maxTotalSize)
        return fail(tooBig(m_limits.maxTotalSize));
    return true;
}

bool Reader::read(const QString& name, QByteArray* out, QString* error)
{
    out->clear();
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!m_zip)
        return fail(kNoZip);
    const QByteArray utf8 = name.toUtf8();
    zip_stat_t st;
    if (zip_stat(zipOf(m_zip), utf8.constData(), 0, &st) != 0)
        return fail(QStringLiteral("Der Teil \"%1\" fehlt in der Datei.").arg(name));
    const qint64 compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? qint64(st.comp_size) : 0;
    zip_file_t* f = zip_fopen_index(zipOf(m_zip), st.index, 0);
    if (!f)
        return fail(kDamaged);
    char buf[65536];
    bool ok = true;
    QString problem;
    for (;;) {
        const zip_int64_t n = zip_fread(f, buf, sizeof buf);
        if (n < 0) {
            ok = false;
            problem = kDamaged;
            break;
        }
        if (n == 0)
            break;
        out->append(buf, qsizetype(n));
        m_totalRead += n;
        // Declared sizes can lie: count what really comes out.
        if (out->size() > m_limits.maxMemberSize || m_totalRead > m_limits.maxTotalSize) {
            ok = false;
            problem = tooBig(out->size() > m_limits.maxMemberSize ? m_limits.maxMemberSize : m_limits.maxTotalSize);
            break;
        }
        if (out->size() > (1 << 20) && out->size() > qMax<qint64>(compressed, 1) * m_limits.maxRatio) {
            ok = false;
            problem = QStringLiteral("Die Datei ist ungewöhnlich stark gepackt und wird aus Sicherheitsgründen "
                                     "nicht gelesen.");
            break;
        }
    }
    zip_fclose(f);
    if (!ok) {
        out->clear();
        return fail(problem);
    }
    return true;
}

void Writer::add(const QString& name, const QByteArray& data, bool stored)
{
    m_members.append({name, data, stored});
}

bool Writer::finish(QByteArray* out, QString* error)
{
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QString cannot = QStringLiteral("Das ZIP-Paket konnte nicht erstellt werden.");
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &ze);
    if (!target) {
        zip_error_fini(&ze);
        return fail(cannot);
    }
    zip_t* z = zip_open_from_source(target, ZIP_TRUNCATE, &ze);
    zip_error_fini(&ze);
    if (!z) {
        zip_source_free(target);
        return fail(cannot);
    }
    zip_source_keep(target); // the archive lets go of it on close; its bytes are the result
    bool ok = true;
    for (const Member& m : std::as_const(m_members)) {
        zip_source_t* s = zip_source_buffer(z, m.data.constData(), zip_uint64_t(m.data.size()), 0);
        const zip_int64_t ix = s ? zip_file_add(z, m.name.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
        if (ix < 0) {
            if (s)
                zip_source_free(s);
            ok = false;
            break;
        }
        zip_set_file_compression(z, zip_uint64_t(ix), m.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        // A fixed time keeps the output reproducible.
        zip_file_set_mtime(z, zip_uint64_t(ix), 315532800 + 86400, 0);
    }
    if (!ok || zip_close(z) != 0) {
        zip_discard(z);
        zip_source_free(target);
        return fail(cannot);
    }
    out->clear();
    zip_stat_t st;
    if (zip_source_open(target) != 0) {
        zip_source_free(target);
        return fail(cannot);
    }
    if (zip_source_stat(target, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
        out->reserve(qsizetype(st.size));
    char buf[65536];
    zip_int64_t n = 0;
    while ((n = zip_source_read(target, buf, sizeof buf)) > 0)
        out->append(buf, qsizetype(n));
    zip_source_close(target);
    zip_source_free(target);
    m_members.clear();
    if (n < 0)
        return fail(cannot);
    return true;
}

QXmlStreamReader::TokenType nextToken(QXmlStreamReader& r)
{
    const QXmlStreamReader::TokenType t = r.readNext();
    if (t == QXmlStreamReader::DTD) {
        r.raiseError(QStringLiteral("DTD"));
        return QXmlStreamReader::Invalid;
    }
    return t;
}

QString xmlErrorText(const QXmlStreamReader& r, const QString& part)
{
    if (r.errorString() == u"DTD")
        return QStringLiteral("Die Datei enthält eine DTD-Deklaration (\"%1\") und wird aus Sicherheitsgründen "
                              "nicht gelesen.").arg(part);
    return QStringLiteral("Die Datei ist beschädigt: \"%1\" ist kein gültiges XML (Zeile %2).")
        .arg(part).arg(r.lineNumber());
}

} // namespace ZipPackage
