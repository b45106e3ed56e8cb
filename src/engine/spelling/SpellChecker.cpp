#include "SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>
#include <hunspell/hunspell.hxx>

SpellChecker::SpellChecker(const QString& language, const QString& workFolder)
    : m_language(language), m_userFile(QDir(workFolder).filePath(userDictionaryName()))
{
    if (isInstalled(language)) {
        const QString base = QDir(dictionaryFolder()).filePath(language);
        m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                                QFile::encodeName(base + QStringLiteral(".dic")).constData());
    }
    loadUserWords();
}

SpellChecker::~SpellChecker() = default;

QString SpellChecker::dictionaryFolder()
{
    const QByteArray env = qgetenv("QX_HUNSPELL_DIR");
    return env.isEmpty() ? QStringLiteral("/usr/share/hunspell") : QString::fromLocal8Bit(env);
}

bool SpellChecker::isInstalled(const QString& language)
{
    const QString base = QDir(dictionaryFolder()).filePath(language);
    return QFile::exists(base + QStringLiteral(".aff")) && QFile::exists(base + QStringLiteral(".dic"));
}

void SpellChecker::loadUserWords()
{
    QFile f(m_userFile);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString w = in.readLine().trimmed();
        if (!w.isEmpty() && m_hunspell)
            m_hunspell->add(w.toStdString());
    }
}

bool SpellChecker::needsChecking(const QString& word)
{
    static const QRegularExpression digit(QStringLiteral("\\d"));
    if (word.isEmpty() || word.contains(digit) || word.contains(QLatin1Char('@')))
        return false;
    const QString lower = word.toLower();
    if (lower.startsWith(QLatin1String("www.")) || lower.contains(QLatin1String("://")))
        return false;
    // A dot inside a word makes it a host name or an abbreviation like "z.B.".
    return !word.contains(QLatin1Char('.'));
}

namespace {
// Words of hyphenated paragraphs come with soft hyphens; the dictionary knows them without.
QString bare(QString word) { return word.remove(QChar::SoftHyphen); }
} // namespace

bool SpellChecker::isCorrect(const QString& laidOut)
{
    const QString word = bare(laidOut);
    if (!m_hunspell || !needsChecking(word) || m_ignored.contains(word))
        return true;
    auto it = m_known.constFind(word);
    if (it != m_known.constEnd())
        return *it;
    const bool ok = m_hunspell->spell(word.toStdString());
    m_known.insert(word, ok);
    return ok;
}

QStringList SpellChecker::suggestions(const QString& laidOut)
{
    const QString word = bare(laidOut);
    QStringList out;
    if (!m_hunspell)
        return out;
    for (const std::string& s : m_hunspell->suggest(word.toStdString())) {
        out << QString::fromStdString(s);
        if (out.size() == 8)
            break;
    }
    return out;
}

void SpellChecker::ignoreAll(const QString& word) { m_ignored.insert(bare(word)); }

bool SpellChecker::addToDictionary(const QString& laidOut)
{
    const QString word = bare(laidOut);
    QFile f(m_userFile);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    f.write(word.toUtf8() + '\n');
    if (m_hunspell)
        m_hunspell->add(word.toStdString());
    m_known.insert(word, true);
    return true;
}

QList<SpellChecker::Word> SpellChecker::misspelt(const QString& text)
{
    // A run of letters, with inner hyphens and apostrophes; dots, @ and slashes stay
    // inside so that addresses come whole and are skipped; soft hyphens of hyphenated
    // paragraphs are inside words.
    static const QRegularExpression token(QStringLiteral("[\\w@./:'’\\x{00AD}-]+"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    QList<Word> out;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString w = m.captured();
        int start = m.capturedStart();
        // Sentence punctuation around the word is not part of it.
        static const QString edge = QStringLiteral(".:/'’-");
        while (!w.isEmpty() && edge.contains(w.front()) ) { w.remove(0, 1); ++start; }
        const bool abbreviation = w.endsWith(QLatin1Char('.')) && w.count(QLatin1Char('.')) > 1;
        while (!abbreviation && !w.isEmpty() && edge.contains(w.back()))
            w.chop(1);
        if (w.isEmpty() || abbreviation || !needsChecking(w) || w.contains(QLatin1Char('_')))
            continue;
        if (!isCorrect(w))
            out.append({start, int(w.size())});
    }
    return out;
}
