#include "Hyphenator.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <hyphen.h>

#include <memory>

namespace {
// German typesetting leaves at least two letters on either side; shorter words stay whole.
constexpr int kLeftMin = 2;
constexpr int kRightMin = 2;
constexpr int kShortestWord = 5;
// Web and e-mail addresses and names with digits are left as they are written.
bool insideAddress(const QString& s, qsizetype start, qsizetype end)
{
    auto at = [&](qsizetype i) { return i >= 0 && i < s.size() ? s.at(i) : QChar(); };
    const QChar before = at(start - 1), after = at(end);
    static const QString joins = QStringLiteral("@/_");
    if (before.isDigit() || after.isDigit() || joins.contains(before) || joins.contains(after))
        return true;
    return before == QLatin1Char('.') && at(start - 2).isLetterOrNumber()
           || after == QLatin1Char('.') && at(end + 1).isLetterOrNumber();
}
} // namespace

QString Hyphenator::patternFolder()
{
    const QByteArray env = qgetenv("QX_HYPHEN_DIR");
    return env.isEmpty() ? QStringLiteral("/usr/share/hyphen") : QString::fromLocal8Bit(env);
}

const Hyphenator* Hyphenator::forLanguage(const QString& language)
{
    static QHash<QString, std::shared_ptr<Hyphenator>> loaded;
    auto it = loaded.constFind(language);
    if (it != loaded.constEnd())
        return it->get();
    std::shared_ptr<Hyphenator> h;
    const QString file = QDir(patternFolder()).filePath(QStringLiteral("hyph_%1.dic").arg(language));
    if (QFile::exists(file)) {
        if (HyphenDict* dict = hnj_hyphen_load(QFile::encodeName(file).constData()))
            h.reset(new Hyphenator(dict));
    }
    loaded.insert(language, h);
    return h.get();
}

Hyphenator::~Hyphenator() { hnj_hyphen_free(m_dict); }

QList<int> Hyphenator::points(const QString& word) const
{
    QList<int> out;
    if (word.size() < kShortestWord)
        return out;
    // The patterns are lower case, in the file's own encoding; a word that encoding
    // cannot hold is left whole.
    const QString lower = word.toLower();
    QByteArray bytes;
    QList<int> letterOfByte; // UTF-8 patterns count bytes, not letters
    if (m_dict->utf8) {
        for (int i = 0; i < lower.size(); ++i) {
            const QByteArray one = lower.mid(i, 1).toUtf8();
            bytes += one;
            for (int k = 0; k < one.size(); ++k)
                letterOfByte << i;
        }
    } else {
        for (int i = 0; i < lower.size(); ++i) {
            if (lower.at(i).unicode() > 0xff)
                return out;
            bytes += char(lower.at(i).unicode());
            letterOfByte << i;
        }
    }
    QByteArray hyphens(bytes.size() + 5, '\0');
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    const int failed = hnj_hyphen_hyphenate3(m_dict, bytes.constData(), int(bytes.size()), hyphens.data(), nullptr,
                                             &rep, &pos, &cut, kLeftMin, kRightMin, kLeftMin, kRightMin);
    for (int i = 0; !failed && i + 1 < bytes.size(); ++i) {
        // An odd value after byte i allows a break there; breaks that change letters
        // (old spellings such as "ck" to "k-k") are not taken.
        if ((hyphens.at(i) & 1) && !(rep && rep[i]) && letterOfByte[i + 1] != letterOfByte[i])
            out << letterOfByte[i + 1];
    }
    if (rep) {
        for (int i = 0; i < bytes.size(); ++i)
            free(rep[i]);
        free(rep);
    }
    free(pos);
    free(cut);
    return out;
}

QString Hyphenator::hyphenated(const QString& text) const
{
    static const QRegularExpression word(QStringLiteral("\\p{L}+"), QRegularExpression::UseUnicodePropertiesOption);
    QString plain = text;
    plain.remove(QChar::SoftHyphen);
    QString out;
    out.reserve(plain.size() + plain.size() / 4);
    qsizetype done = 0;
    for (auto it = word.globalMatch(plain); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(plain).mid(done, m.capturedStart() - done);
        const QString w = m.captured();
        int from = 0;
        if (!insideAddress(plain, m.capturedStart(), m.capturedEnd())) {
        for (int p : points(w)) {
            out += QStringView(w).mid(from, p - from);
            out += QChar::SoftHyphen;
            from = p;
        }
        }
        out += QStringView(w).mid(from);
        done = m.capturedEnd();
    }
    out += QStringView(plain).mid(done);
    return out;
}
