#include "LetterFrames.h"

#include "app/FormControls.h"

using namespace FormControls;

namespace LetterFrames {

Business business(const QString& yourReferenceCaption)
{
    const QString max20 = QStringLiteral("maximal 20 Zeichen");
    Business b;
    b.Text2 = edit(QStringLiteral("Text2"), max20);
    b.Text3 = edit(QStringLiteral("Text3"), max20);
    b.Text2->setMaxLength(20);
    b.Text3->setMaxLength(20);
    b.Text4 = edit(QStringLiteral("Text4"));
    b.Text5 = edit(QStringLiteral("Text5"));
    b.frame = frame(QStringLiteral("fraGeschaeft"), QStringLiteral("Für Geschäftsbriefe"));
    b.grid = new QGridLayout(b.frame);
    b.grid->addWidget(label(QStringLiteral("Unser Zeichen"), b.Text2), 0, 0);
    b.grid->addWidget(b.Text2, 0, 1);
    b.grid->addWidget(label(yourReferenceCaption, b.Text3), 0, 2);
    b.grid->addWidget(b.Text3, 0, 3);
    addLabelled(b.grid, {{"Betreff:", b.Text4, 1, 0, 3}, {"Bezug:", b.Text5, 2, 0, 3}});
    b.grid->setColumnStretch(1, 1);
    b.grid->setColumnStretch(3, 1);
    return b;
}

Closing closing(const QStringList& greetings, bool editable)
{
    Closing c;
    c.chkMfg = check(QStringLiteral("chkMfg"), QStringLiteral("Grußformel"), true);
    c.Combo3 = combo(QStringLiteral("Combo3"), greetings, editable);
    c.Combo3->setCurrentIndex(0);
    c.chkAnlage = check(QStringLiteral("chkAnlage"), QStringLiteral("Anlage(n):"), false);
    c.txtAnlage = edit(QStringLiteral("txtAnlage"), QStringLiteral("Text Anlage"));
    c.frame = frame(QStringLiteral("fraGruss"), QStringLiteral("Grußformel"));
    auto* grid = new QGridLayout(c.frame);
    grid->addWidget(c.chkMfg, 0, 0);
    grid->addWidget(c.Combo3, 0, 1);
    grid->addWidget(c.chkAnlage, 1, 0);
    grid->addWidget(c.txtAnlage, 1, 1);
    grid->setColumnStretch(1, 1);
    return c;
}

QGroupBox* textBlockOptions(QList<QRadioButton*>& options)
{
    auto* blocks = frame(QStringLiteral("fraTextbausteine"), QStringLiteral("Textbausteine"));
    QStringList captions;
    for (int i = 0; i <= 10; ++i)
        captions << QStringLiteral("Textbaustein %1").arg(i);
    addOptions(new QGridLayout(blocks), options, QStringLiteral("Option1"), captions, 3);
    return blocks;
}

} // namespace LetterFrames
