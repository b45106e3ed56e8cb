#include "TextButtonBar.h"

#include "SurfaceFollower.h"
#include "TextControl.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QToolButton>

namespace {
QIcon letterIcon(const QString& letter, bool bold, bool italic, bool underline)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(15);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, letter);
    return QIcon(pm);
}

// Four lines in the shape of the alignment: 0 left, 1 right, 2 centred, 3 justified.
QIcon alignIcon(int a)
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1.5));
    for (int i = 0; i < 5; ++i) {
        const int w = (a == 3 || i % 2 == 0) ? 16 : 10;
        const int x = a == 1 ? 18 - w : a == 2 ? (20 - w) / 2 : 2;
        p.drawLine(x, 3 + i * 3, x + w, 3 + i * 3);
    }
    return QIcon(pm);
}

QString sizeText(double pt) { return pt > 0 ? QLocale(QLocale::German).toString(pt) : QString(); }
} // namespace

TextButtonBar::TextButtonBar(QWidget* parent)
    : QToolBar(parent), m_follower(new SurfaceFollower(this, [this] { refresh(); }))
{
    setObjectName(QStringLiteral("TXButtonBar1"));
    setWindowTitle(QStringLiteral("Formatierungsleiste"));

    m_font = new QFontComboBox;
    m_font->setObjectName(QStringLiteral("fontName"));
    m_font->setToolTip(QStringLiteral("Schriftart"));
    addWidget(m_font);
    m_size = new QComboBox;
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setToolTip(QStringLiteral("Schriftgröße"));
    m_size->setEditable(true);
    for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_size->addItem(QString::number(s));
    m_size->setMinimumContentsLength(4);
    addWidget(m_size);
    addSeparator();
    m_bold = addButton("bold", QStringLiteral("Fett"), letterIcon(QStringLiteral("F"), true, false, false), false);
    m_italic = addButton("italic", QStringLiteral("Kursiv"), letterIcon(QStringLiteral("K"), false, true, false), false);
    m_underline = addButton("underline", QStringLiteral("Unterstrichen"),
                            letterIcon(QStringLiteral("U"), false, false, true), false);
    addSeparator();
    const char* names[] = {"alignLeft", "alignRight", "alignCenter", "alignJustify"};
    const QString tips[] = {QStringLiteral("Linksbündig"), QStringLiteral("Rechtsbündig"),
                            QStringLiteral("Zentriert"), QStringLiteral("Blocksatz")};
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    // Shown left, centred, right, justified; numbered as the surface numbers them.
    for (int a : {0, 2, 1, 3}) {
        m_align[a] = addButton(names[a], tips[a], alignIcon(a), true);
        group->addButton(m_align[a], a);
    }

    connect(m_font, &QFontComboBox::textActivated, this, [this](const QString& family) {
        apply([family](TextControl* s) {
            if (!family.isEmpty())
                s->setFontName(family);
        });
    });
    connect(m_size, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double pt = QLocale(QLocale::German).toDouble(text.trimmed(), &ok);
        apply([=](TextControl* s) {
            if (ok && pt >= 1 && pt <= 1638)
                s->setFontSize(pt);
        });
    });
    connect(m_bold, &QToolButton::clicked, this,
            [this](bool on) { apply([on](TextControl* s) { s->setFontBold(on); }); });
    connect(m_italic, &QToolButton::clicked, this,
            [this](bool on) { apply([on](TextControl* s) { s->setFontItalic(on); }); });
    connect(m_underline, &QToolButton::clicked, this,
            [this](bool on) { apply([on](TextControl* s) { s->setFontUnderline(on); }); });
    connect(group, &QButtonGroup::idClicked, this,
            [this](int a) { apply([a](TextControl* s) { s->setAlignment(a); }); });
    setTextControl(nullptr);
}

QToolButton* TextButtonBar::addButton(const char* name, const QString& tip, const QIcon& icon, bool)
{
    auto* b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setIcon(icon);
    b->setCheckable(true);
    b->setAutoRaise(true);
    addWidget(b);
    return b;
}

void TextButtonBar::apply(const std::function<void(TextControl*)>& change)
{
    // Applies to the surface, shows the result and gives the surface the focus back.
    TextControl* surface = m_follower->surface();
    if (surface)
        change(surface);
    refresh();
    if (surface)
        surface->setFocus(Qt::OtherFocusReason);
}

void TextButtonBar::setTextControl(TextControl* surface) { m_follower->follow(surface); }

TextControl* TextButtonBar::textControl() const { return m_follower->surface(); }

void TextButtonBar::refresh()
{
    TextControl* surface = m_follower->surface();
    const bool on = surface != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{m_font, m_size, m_bold, m_italic, m_underline,
                                                      m_align[0], m_align[1], m_align[2], m_align[3]})
        w->setEnabled(on);
    if (!on)
        return;
    const QSignalBlocker b1(m_font), b2(m_size);
    const QString family = surface->FontName();
    if (family.isEmpty())
        m_font->setEditText(QString());
    else {
        m_font->setCurrentFont(QFont(family));
        // A family the system maps to another one still shows its own name.
        if (m_font->currentText() != family)
            m_font->setEditText(family);
    }
    m_size->setEditText(sizeText(surface->FontSize()));
    m_bold->setChecked(surface->FontBold());
    m_italic->setChecked(surface->FontItalic());
    m_underline->setChecked(surface->FontUnderline());
    m_align[surface->Alignment()]->setChecked(true);
}
