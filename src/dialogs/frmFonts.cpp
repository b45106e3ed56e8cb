#include "frmFonts.h"

#include "app/Prompter.h"
#include "engine/surface/TextControl.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }
} // namespace

frmFonts::frmFonts(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFonts"));
    lstFonts = new QListWidget(this);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    lstFonts->setMinimumWidth(220);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    for (const char* size : {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24"})
        Combo1->addItem(QLatin1String(size));
    Combo1->setCurrentText(QStringLiteral("10"));
    TXTextControl1 = new TextControl(this);
    TXTextControl1->setObjectName(QStringLiteral("TXTextControl1"));
    TXTextControl1->setMinimumSize(520, 260);
    Command1 = new QPushButton(u("Schrift in Textverarbeitung &übernehmen"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("vorher in Textverarbeitung markieren"));
    Command2 = new QPushButton(QStringLiteral("Zurück zur &Textverarbeitung"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* fontsLabel = new QLabel(QStringLiteral("&Schriftart:"), this);
    fontsLabel->setBuddy(lstFonts);
    auto* sizeLabel = new QLabel(u("Schrift&größe:"), this);
    sizeLabel->setBuddy(Combo1);
    auto* left = new QVBoxLayout;
    left->addWidget(fontsLabel);
    left->addWidget(lstFonts, 1);
    left->addWidget(sizeLabel);
    left->addWidget(Combo1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(u("Beispiel (rechte Maustaste fügt die Zwischenablage ein):"), this));
    right->addWidget(TXTextControl1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(lstFonts, &QListWidget::currentRowChanged, this, &frmFonts::lstFonts_Click);
    connect(Combo1, &QComboBox::textActivated, this, &frmFonts::Combo1_Click);
    connect(TXTextControl1, &TextControl::MouseDown, this,
            [this](Qt::MouseButton b, QPoint) { TXTextControl1_MouseDown(b); });
    connect(Command1, &QPushButton::clicked, this, &frmFonts::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmFonts::Command2_Click);
    resize(860, 480);
}

void frmFonts::browse(TextControl* document, QWidget* parent)
{
    frmFonts dlg(parent);
    dlg.document = document;
    dlg.Form_Load();
    dlg.Form_Activate();
    prompter().exec(&dlg);
}

QString frmFonts::sampleText()
{
    return QStringList{QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                       u("abcdefghijklmnopqrsßtuvwxyz"),
                       u("1234567890!§$%&/()=?;:_'*+#~-.,"),
                       QStringLiteral(" Dies ist ein Beispieltext !")}
        .join(QStringLiteral("\r\n"));
}

void frmFonts::Form_Load()
{
    lstFonts->blockSignals(true);
    lstFonts->clear();
    lstFonts->addItems(QFontDatabase::families());
    // The sample's own font is the chosen entry, so that the list taking the focus does
    // not choose its first font.
    const QString arial = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    if (const QList<QListWidgetItem*> found = lstFonts->findItems(arial, Qt::MatchExactly);
        !found.isEmpty())
        lstFonts->setCurrentItem(found.first());
    lstFonts->blockSignals(false);
    setWindowTitle(QStringLiteral("Anzahl der Druckerschriftarten:  ") +
                   QString::number(lstFonts->count()));
    TextControl* s = TXTextControl1;
    s->setViewMode(0);
    s->setPageWidth(11906);
    s->setPageHeight(16837);
    s->setFontName(QStringLiteral("Arial"));
    // A sample to look at: typing is refused, the right mouse button still pastes.
    s->setReadOnly(true);
}

void frmFonts::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        Form_Activate();
}

void frmFonts::Form_Activate()
{
    // Once per opening: later activations keep what the user pasted.
    if (m_activated)
        return;
    m_activated = true;
    TXTextControl1->setText(sampleText());
    TXTextControl1->setSelStart(0);
    TXTextControl1->setSelLength(-1);
    TXTextControl1->setFontName(QStringLiteral("Arial"));
    TXTextControl1->setFontSize(10);
    TXTextControl1->setSelLength(0);
}

template <typename F>
void frmFonts::formatWholeSample(F apply)
{
    TextControl* s = TXTextControl1;
    apply(s);
    s->setSelStart(0);
    s->setSelLength(int(s->Text().size()));
    apply(s);
    s->setSelLength(0);
}

void frmFonts::lstFonts_Click()
{
    const QListWidgetItem* item = lstFonts->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    formatWholeSample([&name](TextControl* s) { s->setFontName(name); });
}

void frmFonts::Combo1_Click()
{
    bool ok = false;
    double size = QLocale().toDouble(Combo1->currentText().trimmed(), &ok);
    if (!ok)
        size = Combo1->currentText().trimmed().toDouble(&ok);
    if (!ok || size <= 0)
        return;
    formatWholeSample([size](TextControl* s) { s->setFontSize(size); });
}

void frmFonts::TXTextControl1_MouseDown(Qt::MouseButton button)
{
    if (!(button & Qt::RightButton))
        return;
    TXTextControl1->setReadOnly(false);
    TXTextControl1->Clip(3);
    TXTextControl1->setReadOnly(true);
}

void frmFonts::Command1_Click()
{
    if (!document)
        return;
    const int size = qint16(TXTextControl1->FontSize());
    const QString name = TXTextControl1->FontName();
    // Size and font are one step for the document's undo.
    document->beginEditStep(3);
    if (size > 0)
        document->setFontSize(size);
    if (!name.isEmpty())
        document->setFontName(name);
    document->endEditStep();
}

void frmFonts::Command2_Click() { close(); }
