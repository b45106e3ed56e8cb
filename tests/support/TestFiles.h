#pragma once
// Small file and prompter helpers shared by the tests.

#include "app/ScriptedPrompter.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <initializer_list>
#include <utility>

inline bool writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Installs a fresh scripted prompter as the application's and returns it.
inline ScriptedPrompter* installScriptedPrompter()
{
    auto p = std::make_unique<ScriptedPrompter>();
    ScriptedPrompter* raw = p.get();
    setPrompter(std::move(p));
    return raw;
}

// The columns of a data table, a type for each name in order:
// addColumns<int, QString>("format", "text").
template <typename... T, typename... Names>
void addColumns(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "a type for each column");
    (QTest::addColumn<T>(names), ...);
}

// A data table of one column: a row per (name, value).
template <typename T>
void addRows(const char* column, std::initializer_list<std::pair<const char*, T>> rows)
{
    QTest::addColumn<T>(column);
    for (const auto& [name, value] : rows)
        QTest::newRow(name) << value;
}

// A letter's text written short: "|" stands for a line break, "»" for the four tabs
// that move a line into the right address window.
inline QString letterText(QString s)
{
    s.replace(QStringLiteral("|"), QStringLiteral("\r\n"));
    s.replace(QStringLiteral("»"), QStringLiteral("\t\t\t\t"));
    return s;
}
