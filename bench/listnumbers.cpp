// Cost of keeping sub-list numbers in line with their parents ("2.1." under "2."): a
// 5000-paragraph text ending in a list of 200 items with two sub-items each, read from
// RTF. Prints the time of a typed character, of a new paragraph, and of a new first
// item, which renumbers every sub-list; no assertions.

#include "engine/Document.h"
#include "engine/formats/Formats.h"
#include "engine/objects/ListNumbers.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <cstdio>
#include <functional>

namespace {

double msOf(const std::function<void()>& step, int times)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < times; ++i)
        step();
    return double(t.nsecsElapsed()) / 1e6 / times;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QByteArray rtf = "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}"
                     "{\\listlevel\\levelnfc0{\\leveltext\\'04\\'00.\\'01.;}{\\levelnumbers\\'01\\'03;}}\\listid1}}"
                     "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\n";
    for (int i = 0; i < 4400; ++i)
        rtf += "\\pard Ein Absatz des Textes vor der Liste, damit das Dokument lang ist.\\par\n";
    for (int i = 0; i < 200; ++i)
        rtf += "\\pard\\ls1\\ilvl0 Punkt\\par\\pard\\ls1\\ilvl1 Unterpunkt a\\par\\pard\\ls1\\ilvl1 Unterpunkt b\\par\n";
    rtf += "}";
    Document doc;
    QString error;
    QElapsedTimer read;
    read.start();
    if (!Formats::read(5, rtf, doc, nullptr, &error)) {
        std::printf("reading failed: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("read %d paragraphs: %lld ms\n", doc.body()->blockCount(), read.elapsed());
    std::printf("check of all sub-lists, nothing to change: %.3f ms\n",
                msOf([&] { ListNumbers::update(doc.body()); }, 20));
    QTextCursor c(doc.body());
    c.setPosition(doc.body()->findBlockByNumber(100).position());
    std::printf("typed character in the text: %.3f ms\n", msOf([&] { c.insertText(QStringLiteral("x")); }, 200));
    std::printf("new paragraph in the text: %.3f ms\n", msOf([&] { c.insertBlock(); }, 50));
    QTextCursor item(doc.body()->findBlockByNumber(doc.body()->blockCount() - 600));
    std::printf("new first item (200 sub-lists renumbered): %.3f ms\n", msOf([&] { item.insertBlock(); }, 10));
    const QTextBlock last = doc.body()->lastBlock();
    std::printf("last sub-item now reads: %s\n", qPrintable(last.textList()->itemText(last) + u' ' + last.text()));
    return 0;
}
