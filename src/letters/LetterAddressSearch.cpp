#include "LetterAddressSearch.h"

#include "BriefWidgets.h"

#include "addresses/AddressStore.h"
#include "addresses/Queries.h"
#include "addresses/RecordSource.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
const QColor LightGreen(192, 255, 192);
} // namespace

LetterAddressSearch::LetterAddressSearch(QWidget* owner, RecordSource* data, BriefWidgets& w, bool& searching, Hooks hooks)
    : m_owner(owner), m_data(data), m_w(w), m_searching(searching), m_hooks(std::move(hooks))
{
}

void LetterAddressSearch::moveTo(int position)
{
    if (m_hooks.commitPending())
        m_data->setAbsolutePosition(position);
}

void LetterAddressSearch::first()
{
    if (m_hooks.commitPending())
        m_data->moveFirst();
}

void LetterAddressSearch::last()
{
    if (m_hooks.commitPending())
        m_data->moveLast();
}

void LetterAddressSearch::next()
{
    const int n = m_data->recordCount();
    if (n > 0)
        moveTo((m_data->absolutePosition() + 1) % n);
}

void LetterAddressSearch::previous()
{
    const int n = m_data->recordCount();
    if (n > 0)
        moveTo(m_data->absolutePosition() <= 0 ? n - 1 : m_data->absolutePosition() - 1);
}

void LetterAddressSearch::typed()
{
    const QString word = m_w.txtFind->text();
    // A key that changed nothing searches nothing: the Enter that closed the not-found
    // message must not bring it back, nor must Shift or an arrow key.
    if (word == m_searchedWord || !m_hooks.commitPending())
        return;
    m_searchedWord = word;
    m_searching = true;
    m_data->setRecordSource(Queries::typeSearch(word));
    // Nothing found: the list keeps its entries and the source the rows behind them.
    const bool found = m_data->refreshUnlessEmpty();
    m_searching = false;
    m_w.cmdAlle->setEnabled(true);
    if (!found) {
        if (m_data->lastError().isEmpty())
            AddressStore::reportNotFound(m_owner, word);
        return;
    }
    m_hooks.refillList();
    m_data->moveFirst();
    m_w.Timer->start();
}

void LetterAddressSearch::blink()
{
    QPushButton* b = m_w.cmdAlle;
    const QColor face = QApplication::palette().color(QPalette::Button);
    QPalette p = b->palette();
    p.setColor(QPalette::Button, p.color(QPalette::Button) == face ? LightGreen : face);
    b->setPalette(p);
    b->setAutoFillBackground(true);
}

void LetterAddressSearch::showAll()
{
    m_w.Timer->stop();
    m_w.cmdAlle->setPalette(QApplication::palette());
    m_w.cmdAlle->setEnabled(false);
    if (!m_hooks.commitPending())
        return;
    m_data->setRecordSource(Queries::nameOrder());
    if (m_data->refresh())
        m_hooks.refillList();
}
