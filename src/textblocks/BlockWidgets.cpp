#include "BlockWidgets.h"

#include "TextBlockInsert.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QTextEdit>
#include <QVBoxLayout>

BlockOptions::BlockOptions() {
    frame = new QGroupBox(QStringLiteral("Textbausteine"));
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* l = new QVBoxLayout(frame);
    for (int n = 0; n <= TextBlockFile::Count; ++n) {
        auto* o = new QRadioButton(QStringLiteral("Textbaustein %1").arg(n));
        o->setObjectName(QStringLiteral("Option1(%1)").arg(n));
        Option1 << o;
        l->addWidget(o);
    }
    l->addStretch();
}

void BlockOptions::setCaptions(const QString& workFolder) {
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        Option1[n]->setText(TextBlockFile::caption(workFolder, n));
}

int BlockOptions::firstChosen() const {
    for (int n = 1; n <= TextBlockFile::Count; ++n)
        if (Option1[n]->isChecked())
            return n;
    return 0;
}

void BlockOptions::onChosen(QObject* context, const std::function<void(int)>& chosen) const {
    for (int n = 0; n < Option1.size(); ++n)
        QObject::connect(Option1[n], &QRadioButton::toggled, context, [chosen, n](bool on) {
            if (on)
                chosen(n);
        });
}

namespace BlockView {

QTextEdit* makeText(QWidget* owner) {
    auto* t = new QTextEdit(owner);
    t->setObjectName(QStringLiteral("txtText"));
    t->setAcceptRichText(false);
    t->setTabChangesFocus(true);
    t->setFont(QFont(QStringLiteral("Arial"), 10));
    return t;
}

QFont fontOf(const TextBlock& b) {
    QFont f(b.FontName.isEmpty() ? QStringLiteral("Arial") : b.FontName);
    f.setPointSizeF(b.FontSize > 0 ? b.FontSize : 10);
    f.setBold(b.Bold);
    f.setItalic(b.Italic);
    f.setUnderline(b.Underline);
    f.setStrikeOut(b.Strikethru);
    return f;
}

void setFont(QTextEdit* box, const QFont& f) {
    // Plain text has no formats of its own: the box's font is the whole text's font.
    box->setFont(f);
}

void setColour(QTextEdit* box, qint32 number) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text, TextBlockInsert::colour(number));
    box->setPalette(p);
}

void show(QTextEdit* box, const TextBlock& b) {
    setFont(box, fontOf(b));
    setColour(box, b.Colour);
    box->setPlainText(TextBlockInsert::toEditText(b.Text));
}

} // namespace BlockView
