#pragma once
// Hyphenation points of words from the TeX patterns Debian installs for libhyphen
// (/usr/share/hyphen). One set of patterns per language, loaded once and kept.

#include <QList>
#include <QString>

typedef struct _HyphenDict HyphenDict;

class Hyphenator {
public:
    // The patterns for "de_DE", "de_AT", "de_CH" (all German) or "en_US"; nullptr when
    // none are installed for the language.
    static const Hyphenator* forLanguage(const QString& language);
    static QString patternFolder();

    ~Hyphenator();

    // Where a hyphen may go: the indexes of the letters a new line may start with.
    QList<int> points(const QString& word) const;
    // `text` with a soft hyphen (U+00AD) at every point of every word, soft hyphens it
    // held before taken out first.
    QString hyphenated(const QString& text) const;

private:
    explicit Hyphenator(HyphenDict* dict) : m_dict(dict) {}
    HyphenDict* m_dict;
};
