#include "frmBausteine.h"

#include "TextBlockFile.h"
#include "TextBlockInsert.h"

#include "app/AppState.h"
#include "app/Folders.h"
#include "app/Prompter.h"
#include "FontTextFile.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

const QString frmBausteine::Placeholder = QStringLiteral("Geben Sie hier Ihren Text ein");
const QString frmBausteine::BaseTitle = QStringLiteral(" Textbausteine anlegen");

namespace {

QPushButton* button(QDialog* w, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, w);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

BausteineWidgets::BausteineWidgets(QDialog* w) {
    txtText = BlockView::makeText(w);
    txtText->setMinimumSize(460, 260);
    lstFonts = new QListWidget(w);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    lstFonts->setMinimumHeight(110);
    Combo1 = new QComboBox(w);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24"})
        Combo1->addItem(QLatin1String(size));
    Combo1->setCurrentText(QStringLiteral("10"));
    Command1 = button(w, "Command1", QStringLiteral("Textbaustein &speichern"));
    Command1->setEnabled(false);
    Command4 = button(w, "Command4", QStringLiteral("&Textbaustein löschen"));
    Command3 = button(w, "Command3", QStringLiteral("&Schließen"));
    Timer1 = new QTimer(w);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    auto* fontLabel = new QLabel(QStringLiteral("Schrift&art:"), w);
    fontLabel->setBuddy(lstFonts);
    auto* sizeLabel = new QLabel(QStringLiteral("Schrift&größe:"), w);
    sizeLabel->setBuddy(Combo1);
    auto* fonts = new QGridLayout;
    fonts->addWidget(fontLabel, 0, 0);
    fonts->addWidget(sizeLabel, 0, 1);
    fonts->addWidget(lstFonts, 1, 0);
    fonts->addWidget(Combo1, 1, 1, Qt::AlignTop);
    fonts->setColumnStretch(0, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command4);
    buttons->addStretch();
    buttons->addWidget(Command3);

    auto* lower = new QHBoxLayout;
    lower->addLayout(fonts, 1);
    lower->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(txtText, 1);
    right->addLayout(lower);
    auto* all = new QHBoxLayout(w);
    all->addWidget(options.frame);
    all->addLayout(right, 1);
}

frmBausteine::frmBausteine(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_w(this) {
    setObjectName(QStringLiteral("frmBausteine"));
    setWindowTitle(BaseTitle);
    m_w.options.onChosen(this, [this](int n) { Option1_Click(n); });
    connect(m_w.Timer1, &QTimer::timeout, this, &frmBausteine::Timer1_Timer);
    connect(m_w.txtText, &QTextEdit::textChanged, this, &frmBausteine::txtText_Change);
    connect(m_w.lstFonts, &QListWidget::currentRowChanged, this, &frmBausteine::lstFonts_Click);
    connect(m_w.Combo1, qOverload<int>(&QComboBox::activated), this, &frmBausteine::Combo1_Click);
    connect(m_w.Command1, &QPushButton::clicked, this, &frmBausteine::Command1_Click);
    connect(m_w.Command4, &QPushButton::clicked, this, &frmBausteine::Command4_Click);
    connect(m_w.Command3, &QPushButton::clicked, this, &frmBausteine::Command3_Click);
    m_w.txtText->installEventFilter(this);
    m_w.txtText->viewport()->installEventFilter(this);
    Form_Load();
}

frmBausteine::~frmBausteine() = default;

int frmBausteine::blockNumber() const {
    bool ok = false;
    const int n = m_tag.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= TextBlockFile::Count ? n : 0;
}

void frmBausteine::Form_Load() {
    m_w.lstFonts->addItems(QFontDatabase::families());
    m_w.options.setCaptions(m_state.WorkFolder);
}

void frmBausteine::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmBausteine::Form_Activate() {
    const int n = blockNumber();
    if (n > 0) {
        // Choosing the caller's button must not load the block a second time.
        m_suppressLoad = true;
        m_w.options.Option1[n]->setChecked(true);
        m_suppressLoad = false;
    }
    m_w.options.setCaptions(m_state.WorkFolder);
    const auto block = TextBlockFile::read(m_state.WorkFolder, n);
    if (block && !block->Name.isEmpty()) {
        loadBlock(n);
    } else {
        showPlaceholder();
        // New text starts in the letter-text font; a stored block keeps its own.
        applyLetterFont();
    }
    m_w.txtText->setFocus();
}

void frmBausteine::applyLetterFont() {
    LetterTextFont stored;
    if (!FontTextFile::read(m_state.WorkFolder, &stored))
        return;
    const QString name = stored.Name;
    const double size = stored.Size.toDouble();
    QFont f = m_w.txtText->font();
    if (!name.isEmpty())
        f.setFamily(name);
    if (size > 0)
        f.setPointSizeF(size);
    BlockView::setFont(m_w.txtText, f);
    showFontChoice();
}

void frmBausteine::Option1_Click(int n) {
    if (m_suppressLoad) {
        m_suppressLoad = false;
        return;
    }
    loadBlock(n);
}

void frmBausteine::setTextQuietly(const QString& text) {
    m_loading = true;
    m_w.txtText->setPlainText(text);
    m_loading = false;
}

void frmBausteine::loadBlock(int n) {
    m_w.Timer1->stop();
    const bool keepTyped = m_changed && m_w.txtText->toPlainText() != Placeholder;
    m_tag = n > 0 ? QString::number(n) : QString();
    const auto block = TextBlockFile::read(m_state.WorkFolder, n);
    if (!block) {
        // Typed text waits to be saved under the newly chosen number.
        if (keepTyped)
            return;
        setTextQuietly({});
        m_changed = false;
        if (n > 0)
            prompter().message(
                this, QString(),
                QStringLiteral("Bitte für den Textbaustein %1 einen Text eingeben!").arg(n));
        m_w.txtText->setFocus();
        return;
    }
    m_name = block->Name;
    setWindowTitle(block->Name.isEmpty() ? BaseTitle : block->Name);
    m_colour = block->Colour;
    m_loading = true;
    BlockView::show(m_w.txtText, *block);
    m_loading = false;
    m_changed = false;
    showFontChoice();
    m_w.txtText->setFocus();
}

void frmBausteine::showFontChoice() {
    const QFont f = m_w.txtText->font();
    const QSignalBlocker b1(m_w.lstFonts);
    const auto found = m_w.lstFonts->findItems(f.family(), Qt::MatchFixedString);
    m_w.lstFonts->setCurrentItem(found.value(0));
    const QSignalBlocker b2(m_w.Combo1);
    m_w.Combo1->setCurrentText(QString::number(qRound(f.pointSizeF())));
}

void frmBausteine::showPlaceholder() {
    setTextQuietly(Placeholder);
    m_w.txtText->selectAll();
    m_blinkSelected = true;
    m_w.txtText->setFocus();
    m_w.Timer1->start();
}

void frmBausteine::Timer1_Timer() {
    QTextCursor c = m_w.txtText->textCursor();
    m_blinkSelected = !c.hasSelection();
    if (m_blinkSelected)
        c.select(QTextCursor::Document);
    else
        c.clearSelection();
    m_w.txtText->setTextCursor(c);
}

void frmBausteine::stopPlaceholder() {
    m_w.Timer1->stop();
    if (m_w.txtText->toPlainText() == Placeholder)
        setTextQuietly({});
}

bool frmBausteine::eventFilter(QObject* watched, QEvent* e) {
    const bool key = watched == m_w.txtText && e->type() == QEvent::KeyPress;
    const bool click = watched == m_w.txtText->viewport() && e->type() == QEvent::MouseButtonPress;
    if (key || click)
        stopPlaceholder();
    return QDialog::eventFilter(watched, e);
}

void frmBausteine::userChanged() {
    m_changed = true;
    m_w.Command1->setEnabled(true);
}

void frmBausteine::txtText_Change() {
    if (!m_loading)
        userChanged();
}

void frmBausteine::lstFonts_Click() {
    const QListWidgetItem* item = m_w.lstFonts->currentItem();
    if (!item)
        return;
    QFont f = m_w.txtText->font();
    f.setFamily(item->text());
    BlockView::setFont(m_w.txtText, f);
    userChanged();
}

void frmBausteine::Combo1_Click() {
    const double size = m_w.Combo1->currentText().toDouble();
    if (size <= 0)
        return;
    QFont f = m_w.txtText->font();
    f.setPointSizeF(size);
    BlockView::setFont(m_w.txtText, f);
    userChanged();
}

bool frmBausteine::save() {
    const int n = blockNumber();
    if (n == 0) {
        // Nothing is written without a number: the file would have no name to be found by.
        prompter().message(
            this, QString(),
            QStringLiteral("Wählen Sie zuerst links einen der Textbausteine 1 bis 10 aus, "
                           "unter dem der Text gespeichert werden soll!"));
        return false;
    }
    m_name =
        prompter()
            .input(this, QStringLiteral(" Textbaustein anlegen"),
                   QStringLiteral("Geben Sie einen Namen für den Textbaustein ein!"), QString())
            .value_or(QString());
    if (m_name.isEmpty())
        return false;
    const QFont f = m_w.txtText->font();
    TextBlock b;
    b.Text = TextBlockInsert::toFileText(m_w.txtText->toPlainText());
    b.FontName = f.family();
    b.FontSize = qRound(f.pointSizeF());
    b.Bold = f.bold();
    b.Italic = f.italic();
    b.Underline = f.underline();
    b.Strikethru = f.strikeOut();
    b.Colour = m_colour;
    b.Name = m_name;
    // A failed write is not reported; the caption follows the name all the same.
    TextBlockFile::write(m_state.WorkFolder, n, b);
    m_changed = false;
    m_w.options.Option1[n]->setText(m_name);
    m_w.txtText->setFocus();
    return true;
}

void frmBausteine::Command1_Click() {
    save();
}

void frmBausteine::Command4_Click() {
    const int n = m_w.options.firstChosen();
    if (n == 0) {
        prompter().message(
            this, QString(),
            QStringLiteral(
                "Wählen Sie zuerst links den Textbaustein aus, der gelöscht werden soll!"));
        return;
    }
    const QString question = QStringLiteral("Soll der Textbaustein ") +
                             m_w.options.Option1[n]->text() + QStringLiteral(" gelöscht werden?");
    if (prompter().message(this, QStringLiteral("Achtung!"), question,
                           QMessageBox::Yes | QMessageBox::No,
                           Prompter::Icon::Critical) != QMessageBox::Yes)
        return;
    TextBlockFile::remove(m_state.WorkFolder, n);
    m_w.options.Option1[n]->setText(QStringLiteral("Textbaustein %1").arg(n));
    m_w.Timer1->stop();
    setTextQuietly({});
    m_changed = false;
}

void frmBausteine::Command3_Click() {
    if (m_changed &&
        prompter().message(
            this, QStringLiteral("Speichern?"),
            QStringLiteral("Sie müssen Ihren Text noch speichern!\r Wollen Sie dies jetzt tun?"),
            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        // Without a number the text would be lost: the window stays for the choice.
        if (blockNumber() == 0) {
            save();
            return;
        }
        save();
    }
    m_w.Timer1->stop();
    m_closing = true;
    QDialog::reject();
}

void frmBausteine::reject() {
    if (m_closing)
        QDialog::reject();
    else
        Command3_Click();
}
