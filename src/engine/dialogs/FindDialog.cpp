#include "FindDialog.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"
#include "engine/surface/UndoKindTracker.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(TextControl* surface, bool replaceMode)
    : QDialog(surface), m_surface(surface)
{
    setObjectName(QStringLiteral("findDialog"));
    setModal(false);
    auto* grid = new QGridLayout;
    m_what = new QLineEdit;
    m_what->setObjectName(QStringLiteral("findWhat"));
    auto* whatLabel = new QLabel(QStringLiteral("Suchen &nach:"));
    whatLabel->setBuddy(m_what);
    m_with = new QLineEdit;
    m_with->setObjectName(QStringLiteral("replaceWith"));
    m_withLabel = new QLabel(QStringLiteral("Ersetzen &durch:"));
    m_withLabel->setBuddy(m_with);
    grid->addWidget(whatLabel, 0, 0);
    grid->addWidget(m_what, 0, 1);
    grid->addWidget(m_withLabel, 1, 0);
    grid->addWidget(m_with, 1, 1);

    m_case = new QCheckBox(QStringLiteral("&Groß-/Kleinschreibung beachten"));
    m_case->setObjectName(QStringLiteral("matchCase"));
    m_words = new QCheckBox(QStringLiteral("Nur ganze &Wörter"));
    m_words->setObjectName(QStringLiteral("wholeWords"));
    auto* dirBox = new QGroupBox(QStringLiteral("Richtung"));
    m_up = new QRadioButton(QStringLiteral("&Aufwärts"));
    m_up->setObjectName(QStringLiteral("up"));
    m_down = new QRadioButton(QStringLiteral("A&bwärts"));
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setChecked(true);
    auto* dirLayout = new QHBoxLayout(dirBox);
    dirLayout->addWidget(m_up);
    dirLayout->addWidget(m_down);
    auto* optLayout = new QVBoxLayout;
    optLayout->addWidget(m_case);
    optLayout->addWidget(m_words);
    auto* lower = new QHBoxLayout;
    lower->addLayout(optLayout);
    lower->addWidget(dirBox);

    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(lower);
    left->addStretch();

    m_findNext = new QPushButton(QStringLiteral("&Weitersuchen"));
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    m_replace = new QPushButton(QStringLiteral("&Ersetzen"));
    m_replace->setObjectName(QStringLiteral("replace"));
    m_replaceAll = new QPushButton(QStringLiteral("A&lle ersetzen"));
    m_replaceAll->setObjectName(QStringLiteral("replaceAll"));
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"));
    m_cancel->setObjectName(QStringLiteral("cancel"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_findNext, m_replace, m_replaceAll, m_cancel})
        buttons->addWidget(b);
    buttons->addStretch();

    auto* top = new QHBoxLayout(this);
    top->addLayout(left, 1);
    top->addLayout(buttons);

    connect(m_what, &QLineEdit::textChanged, this, &FindDialog::updateButtons);
    connect(m_findNext, &QPushButton::clicked, this, [this] { findNext(); });
    connect(m_replace, &QPushButton::clicked, this, [this] { replaceCurrent(); });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setReplaceMode(replaceMode);
}

void FindDialog::setReplaceMode(bool on)
{
    m_replaceMode = on;
    setWindowTitle(on ? QStringLiteral("Ersetzen") : QStringLiteral("Suchen"));
    m_withLabel->setVisible(on);
    m_with->setVisible(on);
    m_replace->setVisible(on);
    m_replaceAll->setVisible(on);
    updateButtons();
}

void FindDialog::updateButtons()
{
    const bool any = !m_what->text().isEmpty();
    m_findNext->setEnabled(any);
    m_replace->setEnabled(any);
    m_replaceAll->setEnabled(any);
}

SearchOptions FindDialog::options() const
{
    SearchOptions o;
    o.matchCase = m_case->isChecked();
    o.wholeWords = m_words->isChecked();
    o.backward = m_up->isChecked();
    return o;
}

void FindDialog::notFound()
{
    prompter().message(this, windowTitle(), QStringLiteral("Der Suchbegriff wurde nicht gefunden."),
                       QMessageBox::Ok, Prompter::Icon::Information);
}

bool FindDialog::findNext()
{
    const QString what = m_what->text();
    if (what.isEmpty())
        return false;
    const SearchOptions o = options();
    SearchEngine engine(m_surface->document());
    QTextCursor m = engine.find(what, m_surface->textCursor(), o);
    if (m.isNull()) {
        const QTextCursor first = engine.findFromEdge(what, o);
        if (first.isNull()) {
            notFound();
            return false;
        }
        const QString question =
            o.backward ? QStringLiteral("Der Anfang des Dokuments wurde erreicht.\r\n"
                                        "Soll am Ende weitergesucht werden?")
                       : QStringLiteral("Das Ende des Dokuments wurde erreicht.\r\n"
                                        "Soll am Anfang weitergesucht werden?");
        if (prompter().message(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                               Prompter::Icon::Question)
            != QMessageBox::Yes)
            return false;
        m = first;
    }
    m_surface->setTextCursor(m);
    m_surface->ensureCursorVisible();
    return true;
}

bool FindDialog::replaceCurrent()
{
    const QString what = m_what->text();
    SearchEngine engine(m_surface->document());
    QTextCursor c = m_surface->textCursor();
    if (engine.selectsMatch(c, what, options())) {
        m_surface->beginEditStep(UndoKindTracker::Typing);
        c.insertText(m_with->text());
        m_surface->endEditStep();
        m_surface->setTextCursor(c);
        findNext();
        return true;
    }
    findNext();
    return false;
}

int FindDialog::replaceAll()
{
    const QString what = m_what->text();
    if (what.isEmpty())
        return 0;
    SearchEngine engine(m_surface->document());
    m_surface->beginEditStep(UndoKindTracker::Typing);
    const int n = engine.replaceAll(what, m_with->text(), options());
    m_surface->endEditStep();
    if (n == 0)
        notFound();
    else
        prompter().message(this, windowTitle(),
                           n == 1 ? QStringLiteral("1 Stelle wurde ersetzt.")
                                  : QStringLiteral("%1 Stellen wurden ersetzt.").arg(n),
                           QMessageBox::Ok, Prompter::Icon::Information);
    return n;
}
