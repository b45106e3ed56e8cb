#pragma once
// What a reader makes of an address file: column names and rows of texts, each row
// with the line of the file it starts on.

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
