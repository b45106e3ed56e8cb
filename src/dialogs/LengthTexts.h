#pragma once
// Length fields shown in the page-setup unit (1 inch, 2 centimetre). Remembers the
// exact twips behind each text it wrote, so that a length the user leaves alone is
// written back unchanged and not rounded to 1/100 of the unit.

#include <QHash>
#include <QString>
#include <utility>

class QLineEdit;

class LengthTexts {
public:
    void show(QLineEdit* field, int twips, int unit);
    int read(const QLineEdit* field, int unit) const;

private:
    QHash<const QLineEdit*, std::pair<QString, int>> m_exact;
};
