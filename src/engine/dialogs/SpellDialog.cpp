#include "SpellDialog.h"

#include "app/Prompter.h"
#include "engine/Document.h"
#include "engine/spelling/SpellChecker.h"
#include "engine/spelling/SpellMarks.h"
#include "engine/surface/TextControl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& name, const QString& caption, QVBoxLayout* column)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    column->addWidget(b);
    return b;
}

bool sentenceEnd(const QString& text, int i)
{
    return QStringLiteral(".!?").contains(text.at(i)) && (i + 1 == text.size() || text.at(i + 1).isSpace());
}

} // namespace

SpellDialog::SpellDialog(TextControl* surface, CheckerSource checkerFor, QWidget* parent)
    : QDialog(parent), m_surface(surface), m_checkerFor(std::move(checkerFor))
{
    setWindowTitle(QStringLiteral("Rechtschreibung"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Nicht im Wörterbuch:")), 0, 0);
    m_sentence = new QLabel;
    m_sentence->setObjectName(QStringLiteral("sentence"));
    m_sentence->setTextFormat(Qt::RichText);
    m_sentence->setWordWrap(true);
    m_sentence->setFrameShape(QFrame::StyledPanel);
    m_sentence->setMinimumSize(360, 60);
    m_sentence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(m_sentence, 1, 0);
    auto* withLabel = new QLabel(QStringLiteral("Än&dern in:"));
    m_replacement = new QLineEdit;
    m_replacement->setObjectName(QStringLiteral("replacement"));
    withLabel->setBuddy(m_replacement);
    grid->addWidget(withLabel, 2, 0);
    grid->addWidget(m_replacement, 3, 0);
    auto* offersLabel = new QLabel(QStringLiteral("&Vorschläge:"));
    m_offers = new QListWidget;
    m_offers->setObjectName(QStringLiteral("suggestions"));
    offersLabel->setBuddy(m_offers);
    grid->addWidget(offersLabel, 4, 0);
    grid->addWidget(m_offers, 5, 0);
    auto* languageLabel = new QLabel(QStringLiteral("&Sprache des Dokuments:"));
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("language"));
    languageLabel->setBuddy(m_language);
    const std::pair<const char*, const char*> languages[] = {{"de_DE", "Deutsch (Deutschland)"},
                                                             {"de_AT", "Deutsch (Österreich)"},
                                                             {"de_CH", "Deutsch (Schweiz)"},
                                                             {"en_US", "English"}};
    for (const auto& [code, name] : languages) {
        const QString language = QLatin1String(code);
        const bool installed = SpellChecker::isInstalled(language);
        m_language->addItem(QString::fromUtf8(name) + (installed ? QString() : QStringLiteral(" (nicht installiert)")),
                            language);
        if (!installed) // a model item: disabled entries cannot be chosen
            m_language->setItemData(m_language->count() - 1, 0, Qt::UserRole - 1);
    }
    m_language->setCurrentIndex(qMax(0, m_language->findData(surface->doc()->language())));
    grid->addWidget(languageLabel, 6, 0);
    grid->addWidget(m_language, 7, 0);

    auto* column = new QVBoxLayout;
    QPushButton* ignoreOnce = button(QStringLiteral("ignore"), QStringLiteral("&Ignorieren"), column);
    QPushButton* ignoreEvery = button(QStringLiteral("ignoreAll"), QStringLiteral("Alle i&gnorieren"), column);
    QPushButton* add = button(QStringLiteral("add"), QStringLiteral("&Hinzufügen"), column);
    column->addSpacing(12);
    m_change = button(QStringLiteral("change"), QStringLiteral("Ä&ndern"), column);
    m_changeAll = button(QStringLiteral("changeAll"), QStringLiteral("&Alle ändern"), column);
    column->addStretch();
    QPushButton* close = button(QStringLiteral("close"), QStringLiteral("Schließen"), column);
    m_change->setDefault(true);
    grid->addLayout(column, 1, 1, 5, 1);

    connect(ignoreOnce, &QPushButton::clicked, this, &SpellDialog::ignore);
    connect(ignoreEvery, &QPushButton::clicked, this, &SpellDialog::ignoreAll);
    connect(add, &QPushButton::clicked, this, &SpellDialog::addWord);
    connect(m_change, &QPushButton::clicked, this, &SpellDialog::change);
    connect(m_changeAll, &QPushButton::clicked, this, &SpellDialog::changeAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_offers, &QListWidget::currentTextChanged, this, [this](const QString& s) {
        if (!s.isEmpty())
            m_replacement->setText(s);
    });
    connect(m_language, &QComboBox::activated, this,
            [this](int i) { setLanguage(m_language->itemData(i).toString()); });
    connect(m_offers, &QListWidget::itemDoubleClicked, this, &SpellDialog::change);
    connect(m_replacement, &QLineEdit::textChanged, this, [this](const QString& s) {
        const bool differs = !m_word.isNull() && s != m_word.selectedText();
        m_change->setEnabled(differs);
        m_changeAll->setEnabled(differs);
    });

    const QTextCursor caret = surface->textCursor();
    m_from = QTextCursor(surface->document());
    m_from.setPosition(caret.selectionStart());
    m_stop = m_from;
}

void SpellDialog::run(TextControl* surface, const CheckerSource& checkerFor, QWidget* parent)
{
    SpellDialog dlg(surface, checkerFor, parent);
    if (!dlg.checker()) {
        const QString package = QStringLiteral("hunspell-") + surface->doc()->language().toLower().replace(u'_', u'-');
        prompter().message(parent, dlg.windowTitle(),
                           QStringLiteral("Für die Sprache dieses Dokuments ist kein Wörterbuch installiert. "
                                          "Installieren Sie das Paket %1.").arg(package),
                           QMessageBox::Ok, Prompter::Icon::Information);
        return;
    }
    if (dlg.findNext())
        prompter().exec(&dlg);
}

SpellChecker* SpellDialog::checker() const
{
    SpellChecker* c = m_checkerFor ? m_checkerFor(m_surface->doc()->language()) : nullptr;
    return c && c->isValid() ? c : nullptr;
}

void SpellDialog::setLanguage(const QString& language)
{
    m_language->setCurrentIndex(qMax(0, m_language->findData(language)));
    if (language == m_surface->doc()->language())
        return;
    m_surface->doc()->setLanguage(language);
    // The word shown may be right in the new language: look again from its start.
    if (!m_word.isNull())
        m_from.setPosition(m_word.selectionStart());
    findNext();
}

QString SpellDialog::word() const { return m_word.selectedText(); }

QStringList SpellDialog::suggestions() const
{
    QStringList out;
    for (int i = 0; i < m_offers->count(); ++i)
        out << m_offers->item(i)->text();
    return out;
}

void SpellDialog::setReplacement(const QString& text) { m_replacement->setText(text); }

bool SpellDialog::findNext()
{
    SpellChecker* spell = checker();
    if (m_done || !spell)
        return false;
    for (;;) {
        const QTextBlock b = m_from.block();
        const int offset = m_from.position() - b.position();
        const bool last = m_wrapped && b == m_stop.block();
        const int limit = last ? m_stop.position() - b.position() : b.length();
        for (const auto& [start, length] : SpellMarks::misspelt(b, spell)) {
            if (start >= offset && start < limit) {
                m_word = QTextCursor(b);
                m_word.setPosition(b.position() + start);
                m_word.setPosition(b.position() + start + length, QTextCursor::KeepAnchor);
                m_from.setPosition(m_word.selectionEnd());
                showWord();
                return true;
            }
        }
        if (last)
            break;
        if (b.next().isValid()) {
            m_from.setPosition(b.next().position());
        } else if (!m_wrapped) {
            m_wrapped = true;
            m_from.setPosition(0);
        } else {
            break;
        }
    }
    finish();
    return false;
}

void SpellDialog::showWord()
{
    m_surface->setTextCursor(m_word);
    m_surface->ensureCursorVisible();

    const QString text = m_word.block().text();
    const int start = m_word.selectionStart() - m_word.block().position();
    const int end = m_word.selectionEnd() - m_word.block().position();
    int from = start;
    while (from > 0 && !sentenceEnd(text, from - 1))
        --from;
    int to = end;
    while (to < text.size() && !sentenceEnd(text, to))
        ++to;
    to = qMin(to + 1, int(text.size()));
    const QString before = text.mid(from, start - from);
    const QString after = text.mid(end, to - end);
    m_sentenceText = (before + m_word.selectedText() + after).trimmed();
    m_sentence->setText(before.trimmed().toHtmlEscaped() + (before.trimmed().isEmpty() ? "" : " ")
                        + QStringLiteral("<b><font color=\"#c00000\">%1</font></b>").arg(m_word.selectedText().toHtmlEscaped())
                        + after.toHtmlEscaped());

    m_offers->clear();
    const QStringList offers = checker()->suggestions(m_word.selectedText());
    m_offers->addItems(offers);
    m_replacement->setText(offers.isEmpty() ? m_word.selectedText() : offers.first());
    if (!offers.isEmpty())
        m_offers->setCurrentRow(0);
    m_replacement->setFocus();
    m_replacement->selectAll();
}

void SpellDialog::finish()
{
    m_done = true;
    m_word = QTextCursor();
    m_sentenceText.clear();
    prompter().message(isVisible() ? this : parentWidget(), windowTitle(),
                       QStringLiteral("Die Rechtschreibprüfung ist abgeschlossen."), QMessageBox::Ok,
                       Prompter::Icon::Information);
    accept();
}

void SpellDialog::refreshMarks() { m_surface->spellMarks()->recheckAll(); }

namespace {
// Replaces the selection of `c` with `text` in the format of its first letter.
void replaceKeepingFormat(QTextCursor& c, const QString& text)
{
    QTextCursor first(c.document());
    first.setPosition(c.selectionStart() + 1);
    c.insertText(text, first.charFormat());
}
} // namespace

void SpellDialog::change()
{
    const QString with = m_replacement->text();
    if (m_word.isNull() || with == m_word.selectedText())
        return;
    m_word.beginEditBlock();
    replaceKeepingFormat(m_word, with);
    m_word.endEditBlock();
    m_from.setPosition(m_word.position());
    findNext();
}

void SpellDialog::changeAll()
{
    const QString word = m_word.selectedText();
    const QString with = m_replacement->text();
    if (m_word.isNull() || with == word)
        return;
    // The other places first, as cursors, so that they follow the edits before them.
    QList<QTextCursor> others;
    for (QTextBlock b = m_surface->document()->begin(); b.isValid(); b = b.next()) {
        for (const auto& [start, length] : SpellMarks::misspelt(b, checker())) {
            QTextCursor c(b);
            c.setPosition(b.position() + start);
            c.setPosition(b.position() + start + length, QTextCursor::KeepAnchor);
            if (c.selectedText() == word && c.selectionStart() != m_word.selectionStart())
                others << c;
        }
    }
    m_word.beginEditBlock();
    replaceKeepingFormat(m_word, with);
    for (QTextCursor& c : others)
        replaceKeepingFormat(c, with);
    m_word.endEditBlock();
    m_from.setPosition(m_word.position());
    findNext();
}

void SpellDialog::ignore()
{
    if (m_word.isNull())
        return;
    m_surface->spellMarks()->ignoreOnce(m_word.block(), m_word.selectionStart() - m_word.block().position());
    findNext();
}

void SpellDialog::ignoreAll()
{
    if (m_word.isNull())
        return;
    checker()->ignoreAll(m_word.selectedText());
    refreshMarks();
    findNext();
}

void SpellDialog::addWord()
{
    if (m_word.isNull())
        return;
    if (!checker()->addToDictionary(m_word.selectedText())) {
        prompter().message(this, windowTitle(),
                           QStringLiteral("Das Wort konnte nicht in das Benutzerwörterbuch geschrieben werden."),
                           QMessageBox::Ok, Prompter::Icon::Exclamation);
        return;
    }
    refreshMarks();
    findNext();
}
