#pragma once
// The keyboard and focus rules of the letter composer's fields: Enter moves on,
// entering a field selects it, the millimetre fields take digits only and are held
// to their range on leaving, the country code turns to capitals, two lists refuse
// typing. One event filter over the composer's controls.

#include <QHash>
#include <QObject>

struct BriefWidgets;
class QWidget;

class BriefKeys : public QObject {
    Q_OBJECT
public:
    explicit BriefKeys(const BriefWidgets& w, QObject* parent = nullptr);

    // The field Enter moves to from `field`; null when Enter stays.
    QWidget* enterTarget(QWidget* field) const { return m_enter.value(field); }

signals:
    // A key (other than Enter) or Delete in the last-name field.
    void lastNameTyped();
    // A key was released in the search field.
    void findKeyReleased();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void watch(QWidget* w);
    QWidget* owner(QObject* watched) const;

    const BriefWidgets& m_w;
    QHash<QWidget*, QWidget*> m_enter;
    QHash<QWidget*, bool> m_selectOnEntry;
};
