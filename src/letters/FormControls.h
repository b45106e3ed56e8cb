#pragma once
// Small makers for the controls of the letter windows: each control gets the object
// name the program and the tests look it up by; buttons never react to Enter.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <type_traits>

namespace FormControls {

template <class W>
W* named(W* w, const QString& name, const QString& tip = {})
{
    w->setObjectName(name);
    if constexpr (std::is_base_of_v<QWidget, W>)
        if (!tip.isEmpty())
            w->setToolTip(tip);
    return w;
}

inline QLineEdit* edit(const QString& name, const QString& tip = {}) { return named(new QLineEdit, name, tip); }

inline QPushButton* button(const QString& name, const QString& caption, const QString& tip = {})
{
    auto* b = named(new QPushButton(caption), name, tip);
    // Enter moves between fields; it never presses a button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

inline QToolButton* tool(QWidget* w, const QString& name, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* b = named(new QToolButton, name, tip);
    b->setIcon(w->style()->standardIcon(icon));
    b->setAutoRaise(false);
    return b;
}

inline QComboBox* combo(const QString& name, const QStringList& items, bool editable, const QString& tip = {})
{
    auto* c = named(new QComboBox, name, tip);
    c->setEditable(editable);
    if (editable)
        c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(-1);
    return c;
}

inline QLabel* label(const QString& text, QWidget* buddy = nullptr)
{
    auto* l = new QLabel(text);
    if (buddy)
        l->setBuddy(buddy);
    return l;
}

inline QCheckBox* check(const QString& name, const QString& caption, bool on)
{
    auto* c = named(new QCheckBox(caption), name);
    c->setChecked(on);
    return c;
}

inline QGroupBox* frame(const QString& name, const QString& title) { return named(new QGroupBox(title), name); }

// The frame "Textbausteine" with the options Option1(0) ("Textbaustein 0", no block)
// to Option1(10), three to a row.
inline QGroupBox* textBlockOptions(QList<QRadioButton*>& options)
{
    auto* blocks = frame(QStringLiteral("fraTextbausteine"), QStringLiteral("Textbausteine"));
    auto* grid = new QGridLayout(blocks);
    for (int i = 0; i <= 10; ++i) {
        auto* o = named(new QRadioButton(QStringLiteral("Textbaustein %1").arg(i)), QStringLiteral("Option1(%1)").arg(i));
        options << o;
        grid->addWidget(o, i / 3, i % 3);
    }
    return blocks;
}

} // namespace FormControls
