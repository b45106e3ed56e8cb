#include "ScriptedPrompter.h"

int ScriptedPrompter::count(const QString& kind) const
{
    int n = 0;
    for (const Asked& a : asked)
        n += a.kind == kind;
    return n;
}

void ScriptedPrompter::clear()
{
    asked.clear();
    unanswered = 0;
    messages.clear();
    inputs.clear();
    passwords.clear();
    opens.clear();
    saves.clear();
    colours.clear();
    prints.clear();
    execs.clear();
}

Prompter::Button ScriptedPrompter::message(QWidget*, const QString& title, const QString& text,
                                           Buttons buttons, Icon icon)
{
    asked.append({QStringLiteral("message"), title, text, buttons, icon, {}, {}});
    if (!messages.isEmpty())
        return messages.dequeue();
    ++unanswered;
    // What Escape would give.
    for (Button b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
        if (buttons.testFlag(b))
            return b;
    return QMessageBox::Ok;
}

std::optional<QString> ScriptedPrompter::input(QWidget*, const QString& title,
                                               const QString& prompt, const QString& defaultText)
{
    asked.append({QStringLiteral("input"), title, prompt, {}, Icon::None, {}, defaultText});
    if (!inputs.isEmpty())
        return inputs.dequeue();
    ++unanswered;
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::password(QWidget*, const QString& title, const QString& prompt)
{
    asked.append({QStringLiteral("password"), title, prompt, {}, Icon::None, {}, {}});
    if (!passwords.isEmpty())
        return passwords.dequeue();
    ++unanswered;
    return std::nullopt;
}

FileChoice ScriptedPrompter::openFile(QWidget*, const QString& title, const QString& filter,
                                      const QString& folder)
{
    asked.append({QStringLiteral("open"), title, filter, {}, Icon::None, folder, {}});
    if (!opens.isEmpty())
        return opens.dequeue();
    ++unanswered;
    return {};
}

FileChoice ScriptedPrompter::saveFile(QWidget*, const QString& title, const QString& filter,
                                      const QString& folder, const QString& defaultName)
{
    asked.append({QStringLiteral("save"), title, filter, {}, Icon::None, folder, defaultName});
    if (!saves.isEmpty())
        return saves.dequeue();
    ++unanswered;
    return {};
}

std::optional<QColor> ScriptedPrompter::colour(QWidget*, const QColor& initial)
{
    asked.append({QStringLiteral("colour"), {}, initial.name(), {}, Icon::None, {}, {}});
    if (!colours.isEmpty())
        return colours.dequeue();
    ++unanswered;
    return std::nullopt;
}

bool ScriptedPrompter::print(QWidget*, QPrinter* printer, const PrintOptions& options)
{
    asked.append({QStringLiteral("print"), {},
                  QStringLiteral("%1-%2").arg(options.minPage).arg(options.maxPage), {},
                  Icon::None, {}, {}});
    if (!prints.isEmpty())
        return prints.dequeue()(printer);
    ++unanswered;
    return false;
}

int ScriptedPrompter::exec(QDialog* dialog)
{
    asked.append({QStringLiteral("exec"), dialog->windowTitle(),
                  QString::fromLatin1(dialog->metaObject()->className()), {}, Icon::None, {}, {}});
    if (!execs.isEmpty()) {
        const int r = execs.dequeue()(dialog);
        dialog->setResult(r);
        dialog->done(r);
        return r;
    }
    ++unanswered;
    dialog->done(QDialog::Rejected);
    return QDialog::Rejected;
}
