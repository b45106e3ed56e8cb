#pragma once
// Reads printed PDF files back through poppler's pdftotext.

#include <QProcess>
#include <QStandardPaths>
#include <QString>

inline bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of one page (1-based), laid out as on the page.
inline QString pdfPageText(const QString& file, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
             QStringLiteral("-l"), QString::number(page), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Number of pages; pdftotext ends every page with a form feed.
inline int pdfPages(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return int(QString::fromUtf8(p.readAllStandardOutput()).count(QChar(12)));
}
