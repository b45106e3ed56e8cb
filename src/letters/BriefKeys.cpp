#include "BriefKeys.h"

#include "DigitField.h"
#include "BriefWidgets.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

BriefKeys::BriefKeys(const BriefWidgets& w, QObject* parent) : QObject(parent), m_w(w)
{
    const auto& t = w.Text1;
    const std::pair<QWidget*, QWidget*> moves[] = {
        {w.Combo1, t[1]},         {t[1], t[2]},           {t[2], w.Combo2},         {w.Combo2, t[3]},
        {t[3], w.Street},         {t[5], t[6]},           {t[6], w.Text2},          {w.Text2, w.Text3},
        {w.Text3, w.Text4},       {w.Text4, w.Text5},     {w.Text5, w.Command1},    {w.txtName1, w.txtOrt1},
        {w.txtOrt1, w.txtStra_e1}, {w.txtStra_e1, w.txtTelefon1}, {w.txtTelefon1, w.txtAbs},
        // The first recipient field.
        {w.txtAbs, w.Combo1}};
    for (const auto& [from, to] : moves)
        m_enter.insert(from, to);
    for (QWidget* f : {t[1], t[2], t[3], t[5], t[6], w.Text2, w.Text3, w.Text4, w.Text5, w.Text6, w.txtAbs,
                       w.txtName1, w.txtStra_e1, w.txtOrt1, w.txtTelefon1, w.txtLkennz, w.txtAdrRechts})
        m_selectOnEntry.insert(f, true);
    m_selectOnEntry.insert(w.Street, false);

    DigitField::attach(w.Text6, 5, 30);
    DigitField::attach(w.txtAdrRechts, 80, 120);

    QList<QWidget*> watched = m_enter.keys() + m_selectOnEntry.keys();
    watched << w.txtFind << w.Combo3 << w.txtAdrRechts << w.Text6 << w.txtLkennz;
    for (QWidget* x : std::as_const(watched))
        watch(x);
}

void BriefKeys::watch(QWidget* w)
{
    w->removeEventFilter(this);
    w->installEventFilter(this);
    if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) {
        c->lineEdit()->removeEventFilter(this);
        c->lineEdit()->installEventFilter(this);
    }
}

QWidget* BriefKeys::owner(QObject* watched) const
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && qobject_cast<QLineEdit*>(w))
        if (auto* c = qobject_cast<QComboBox*>(w->parentWidget()))
            return c;
    return w;
}

bool BriefKeys::eventFilter(QObject* watched, QEvent* e)
{
    QWidget* field = owner(watched);
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (enter) {
            if (QWidget* to = m_enter.value(field)) {
                to->setFocus(Qt::TabFocusReason);
                return true;
            }
            return false;
        }
        if (field == m_w.Combo1 && k->key() == Qt::Key_Delete)
            return true;
        if (field == m_w.Text1[2])
            emit lastNameTyped();
        // Only the list's own entries can be chosen.
        if ((field == m_w.Combo2 || field == m_w.Combo3) && !k->text().isEmpty() && k->key() != Qt::Key_Tab &&
            k->key() != Qt::Key_Backtab && k->key() != Qt::Key_Escape)
            return true;
        return false;
    }
    case QEvent::KeyRelease: {
        // The Tab that brought the focus here is released here too; it is no typing.
        auto* k = static_cast<QKeyEvent*>(e);
        if (field == m_w.txtFind && !k->isAutoRepeat() && k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab)
            emit findKeyReleased();
        return false;
    }
    case QEvent::FocusIn: {
        const auto it = m_selectOnEntry.constFind(field);
        if (it == m_selectOnEntry.constEnd())
            return false;
        // After the click that gave the focus, which would place the caret.
        if (auto* le = qobject_cast<QLineEdit*>(field))
            QTimer::singleShot(0, le, &QLineEdit::selectAll);
        else if (auto* pe = qobject_cast<QPlainTextEdit*>(field))
            QTimer::singleShot(0, pe, [pe] { pe->moveCursor(QTextCursor::End); });
        return false;
    }
    case QEvent::FocusOut:
        if (field == m_w.txtLkennz)
            m_w.txtLkennz->setText(m_w.txtLkennz->text().toUpper());
        return false;
    default:
        return false;
    }
}
