#include "FieldBinder.h"

#include "RecordSource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

FieldBinder::FieldBinder(RecordSource* source, QObject* parent) : QObject(parent), m_source(source)
{
    connect(source, &RecordSource::positionChanged, this, [this] { show(); });
}

void FieldBinder::bind(QWidget* widget, const QString& column)
{
    m_bindings.append({widget, column});
    write(widget, m_source->field(column));
    remember();
}

void FieldBinder::bind(std::initializer_list<Column> columns)
{
    for (const Column& c : columns)
        bind(c.widget, QString::fromUtf8(c.column));
}

void FieldBinder::show()
{
    // A current row that cannot be read now (locked) keeps the fields as they are: the
    // row was shown when it became current, and blanks would be saved over it.
    if (!m_source->loadRow(m_source->absolutePosition()))
        return;
    for (const Binding& b : std::as_const(m_bindings))
        if (b.widget)
            write(b.widget, m_source->field(b.column));
    remember();
}

void FieldBinder::remember()
{
    m_read.clear();
    for (const Binding& b : std::as_const(m_bindings))
        if (b.widget && !qobject_cast<QLabel*>(b.widget.data()))
            m_read.insert(b.column, m_source->field(b.column));
    m_shownValues = values();
    m_readVersion = m_source->rowVersion();
}

QHash<QString, QString> FieldBinder::values() const
{
    QHash<QString, QString> v;
    for (const Binding& b : m_bindings)
        if (b.widget && !qobject_cast<QLabel*>(b.widget.data()))
            v.insert(b.column, read(b.widget));
    return v;
}

RecordSource::Write FieldBinder::save()
{
    const QHash<QString, QString> now = values();
    const RecordSource::Write w = m_source->saveRowIf(now, m_read, m_readVersion);
    if (w == RecordSource::Write::Done) {
        m_read = now;
        m_shownValues = now;
        m_readVersion = m_source->rowVersion();
    }
    return w;
}

bool FieldBinder::overwrite()
{
    const QHash<QString, QString> now = values();
    if (!m_source->saveRow(now))
        return false;
    m_read = now;
    m_shownValues = now;
    m_readVersion = m_source->rowVersion();
    return true;
}

void FieldBinder::setValue(const QString& column, const QString& value)
{
    for (const Binding& b : std::as_const(m_bindings))
        if (b.widget && b.column.compare(column, Qt::CaseInsensitive) == 0)
            write(b.widget, value);
}

QString FieldBinder::value(const QString& column) const
{
    for (const Binding& b : m_bindings)
        if (b.widget && b.column.compare(column, Qt::CaseInsensitive) == 0)
            return read(b.widget);
    return {};
}

QString FieldBinder::read(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (auto* c = qobject_cast<const QCheckBox*>(w))
        return c->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    // Multi-line fields keep the database's CR LF line ends.
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w))
        return p->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return {};
}

bool FieldBinder::isYes(const QString& value)
{
    const QString v = value.trimmed().toLower();
    return !(v.isEmpty() || v == u"0" || v == u"false" || v == u"falsch" || v == u"nein");
}

void FieldBinder::write(QWidget* w, const QString& value)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(value);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable())
            c->setEditText(value);
        else
            c->setCurrentIndex(c->findText(value));
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(value);
    } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->setChecked(isYes(value));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        QString text = value;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        p->setPlainText(text);
    }
}
