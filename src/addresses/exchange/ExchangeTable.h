#pragma once
// What a reader makes of an address file: column names and rows of texts, each row
// with the line of the file it starts on.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <vector>

struct ExchangeRow {
    int line = 0;
    QStringList values;
};

struct ExchangeTable {
    QStringList headers;
    std::vector<ExchangeRow> rows;
    QString error; // German text when the file cannot be read at all
};

// "1 Adresse", "50.000 Adressen": a count as German texts write it.
inline QString countedText(int n, const QString& one, const QString& many)
{
    return QLocale(QLocale::German).toString(n) + QLatin1Char(' ') + (n == 1 ? one : many);
}
