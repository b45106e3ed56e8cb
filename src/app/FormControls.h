#pragma once
// Small makers for the controls of the program's windows: each control gets the object
// name the program and the tests look it up by; buttons never react to Enter.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <initializer_list>
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

// A text field two lines high (a street may hold two lines); Tab leaves it.
inline QPlainTextEdit* twoLineEdit(const QString& name)
{
    auto* e = named(new QPlainTextEdit, name);
    e->setTabChangesFocus(true);
    e->setFixedHeight(e->fontMetrics().lineSpacing() * 2 + 14);
    return e;
}

inline QPushButton* button(const QString& name, const QString& caption, const QString& tip = {})
{
    auto* b = named(new QPushButton(caption), name, tip);
    // Enter moves between fields; it never presses a button.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

inline QToolButton* tool(QWidget* w, const QString& name, QStyle::StandardPixmap icon, const QString& tip = {})
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

// One caption with its field: the caption in column `col`, the field right of it over
// `span` columns.
struct Labelled {
    const char* caption; // UTF-8
    QWidget* field;
    int row;
    int col = 0;
    int span = 1;
};

inline void addLabelled(QGridLayout* grid, std::initializer_list<Labelled> rows)
{
    for (const Labelled& r : rows) {
        grid->addWidget(label(QString::fromUtf8(r.caption), r.field), r.row, r.col);
        grid->addWidget(r.field, r.row, r.col + 1, 1, r.span);
    }
}

// The option buttons `arrayName(0)` ... with `captions`, `columns` to a row of `grid`
// from row `firstRow` on; they are appended to `options`.
inline void addOptions(QGridLayout* grid, QList<QRadioButton*>& options, const QString& arrayName,
                       const QStringList& captions, int columns = 1, int firstRow = 0)
{
    for (int i = 0; i < captions.size(); ++i) {
        auto* o = named(new QRadioButton(captions[i]), QStringLiteral("%1(%2)").arg(arrayName).arg(i));
        options << o;
        grid->addWidget(o, firstRow + i / columns, i % columns);
    }
}

} // namespace FormControls
