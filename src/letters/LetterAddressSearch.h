#pragma once
// Finding the recipient in the letter composer's address list: the four move buttons,
// the search as one types (the "Alle" button blinks while the list shows a search's
// result) and the way back to all addresses. Every move first saves the edits of the
// address shown; a save that fails keeps the list where it is.

#include <QString>
#include <functional>

class QWidget;
class RecordSource;
struct BriefWidgets;

class LetterAddressSearch {
public:
    struct Hooks {
        std::function<bool()> commitPending; // true when nothing is left unsaved
        std::function<void()> refillList;
    };
    // `searching` is set while a search changes the list's rows.
    LetterAddressSearch(QWidget* owner, RecordSource* data, BriefWidgets& w, bool& searching, Hooks hooks);

    void first();
    void last();
    void next();
    void previous();
    void moveTo(int position);
    void typed();
    void blink();
    void showAll();

private:
    QWidget* m_owner;
    RecordSource* m_data;
    BriefWidgets& m_w;
    bool& m_searching;
    Hooks m_hooks;
    QString m_searchedWord; // the search field's text when it last ran
};
