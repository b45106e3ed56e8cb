#include "frmWordCount.h"

#include "DocumentStatistics.h"

#include "app/Prompter.h"
#include "app/WaitCursor.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Whole counts, also beyond 32767 words of a long document.
QString countText(int n) { return QString::number(n); }
} // namespace

frmWordCount::frmWordCount(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWordCount"));
    setWindowTitle(QStringLiteral("Statistik Dokument"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Statistik:"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(1, 70);
    const std::pair<const char*, QLabel**> rows[] = {
        {"Seiten:", &lblPageCnt},
        {"Wörter:", &lblWordCnt},
        {"Zeichen (ohne Leerzeichen):", &lblCharNoSpCnt},
        {"Zeichen (mit Leerzeichen):", &lblCharCnt},
        {"Absätze:", &lblParaCnt},
        {"Zeilen:", &lblLineCnt},
    };
    const char* names[] = {"lblPageCnt", "lblWordCnt", "lblCharNoSpCnt",
                           "lblCharCnt", "lblParaCnt", "lblLineCnt"};
    int r = 0;
    for (const auto& [caption, label] : rows) {
        grid->addWidget(new QLabel(u(caption), this), r, 0);
        *label = new QLabel(QStringLiteral("0"), this);
        (*label)->setObjectName(QLatin1String(names[r]));
        (*label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        (*label)->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(*label, r, 1);
        ++r;
    }
    layout->addLayout(grid);

    Command1 = new QPushButton(u("&Schließen"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    connect(Command1, &QPushButton::clicked, this, &frmWordCount::Command1_Click);
    setMinimumWidth(300);
}

void frmWordCount::showStatistics(TextControl* surface, QWidget* parent)
{
    if (!surface)
        return;
    frmWordCount dlg(parent);
    dlg.surface = surface;
    dlg.Form_Load();
    prompter().exec(&dlg);
}

void frmWordCount::Form_Load()
{
    if (!surface)
        return;
    // Pagination of a long document takes a moment.
    WaitCursor wait;
    const DocumentStatistics::Counts c = DocumentStatistics::of(*surface);
    lblPageCnt->setText(countText(c.pages));
    lblWordCnt->setText(countText(c.words));
    lblCharNoSpCnt->setText(countText(c.charsNoSpaces));
    lblCharCnt->setText(countText(c.chars));
    lblParaCnt->setText(countText(c.paragraphs));
    lblLineCnt->setText(countText(c.lines));
}

void frmWordCount::Command1_Click() { accept(); }
