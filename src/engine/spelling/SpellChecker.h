#pragma once
// Hunspell for one language, with the user's own words: a user dictionary in the work
// folder (one word a line, kept across restarts) and the words ignored for this session.
// No widgets: the surface asks it word by word.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

class SpellChecker {
public:
    // `language` as "de_DE", "de_AT", "de_CH", "en_US"; `workFolder` holds the user dictionary.
    SpellChecker(const QString& language, const QString& workFolder);
    ~SpellChecker();

    static QString dictionaryFolder();
    static bool isInstalled(const QString& language);
    static QString userDictionaryName() { return QStringLiteral("Benutzerwoerterbuch.txt"); }

    bool isValid() const { return m_hunspell != nullptr; }
    QString language() const { return m_language; }

    // Words with digits, web and e-mail addresses are never marked.
    static bool needsChecking(const QString& word);
    bool isCorrect(const QString& word);
    // At most eight, the likeliest first.
    QStringList suggestions(const QString& word);

    void ignoreAll(const QString& word);
    // Writes the word to the user dictionary at once.
    bool addToDictionary(const QString& word);

    struct Word {
        int start;
        int length;
    };
    // The misspelt words of a paragraph's text.
    QList<Word> misspelt(const QString& text);

private:
    void loadUserWords();

    QString m_language;
    QString m_userFile;
    std::unique_ptr<Hunspell> m_hunspell;
    QSet<QString> m_ignored;
    QHash<QString, bool> m_known; // answers so far; a document repeats its words
};
