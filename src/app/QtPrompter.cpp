#include "QtPrompter.h"

#include "DialogTitle.h"
#include "FileDialogs.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPrintDialog>
#include <QPrinter>

namespace {
std::unique_ptr<Prompter>& current()
{
    static std::unique_ptr<Prompter> p;
    return p;
}

QMessageBox::Icon qtIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information: return QMessageBox::Information;
    case Prompter::Icon::Question: return QMessageBox::Question;
    case Prompter::Icon::Exclamation: return QMessageBox::Warning;
    case Prompter::Icon::Critical: return QMessageBox::Critical;
    case Prompter::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Prompter& prompter()
{
    if (!current())
        current() = std::make_unique<QtPrompter>();
    return *current();
}

void setPrompter(std::unique_ptr<Prompter> p) { current() = std::move(p); }

QStringList qtNameFilters(const QString& filter)
{
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        pattern = pattern.simplified();
        if (desc.isEmpty() && pattern.isEmpty())
            continue;
        // A description that already ends in its patterns ("Text (*.txt)") shows them once;
        // Qt filters by the parenthesis, so it holds every pattern ("JPEG (*.jpg *.jpeg)").
        const qsizetype open = desc.lastIndexOf(QLatin1Char('('));
        const bool namesPatterns = desc.endsWith(QLatin1Char(')')) && open >= 0
            && desc.mid(open).contains(QLatin1Char('*'));
        const QString label = namesPatterns ? desc.left(open).trimmed() : desc;
        out << (pattern.isEmpty() ? desc : label + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return out;
}

Prompter::Button QtPrompter::message(QWidget* owner, const QString& title, const QString& text,
                                     Buttons buttons, Icon icon)
{
    // Messages end their lines with CR (or CR LF); a label breaks lines only at LF.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(qtIcon(icon), title, shown, buttons, owner);
    DialogTitle::keepVisible(&box);
    return static_cast<Button>(box.exec());
}

std::optional<QString> QtPrompter::input(QWidget* owner, const QString& title,
                                         const QString& prompt, const QString& defaultText)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(owner, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

std::optional<QString> QtPrompter::password(QWidget* owner, const QString& title, const QString& prompt)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(owner, title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

namespace {
// Takes an address typed into the name field as it is; anything else must be a file
// that exists.
class FileOrAddressDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString address;
    void accept() override
    {
        static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = edit ? edit->text().trimmed() : QString();
        if (scheme.match(typed).hasMatch()) {
            address = typed;
            QDialog::accept();
            return;
        }
        const QStringList chosen = selectedFiles();
        // A folder is opened by the dialog itself.
        if (!chosen.isEmpty() && !QFileInfo(chosen.first()).isFile() && !QFileInfo(chosen.first()).isDir()) {
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(chosen.first()));
            return;
        }
        QFileDialog::accept();
    }
};
} // namespace

FileChoice QtPrompter::openFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder)
{
    FileOrAddressDialog dlg(owner, title, folder);
    FileDialogs::prepare(dlg);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed, so that an address (a database server) gets through;
    // accept() checks that anything else is a file.
    dlg.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(filter);
    dlg.setNameFilters(filters);
    if (dlg.exec() != QDialog::Accepted)
        return {};
    if (!dlg.address.isEmpty())
        return {dlg.address, 0};
    if (dlg.selectedFiles().isEmpty())
        return {};
    return {dlg.selectedFiles().first(), int(filters.indexOf(dlg.selectedNameFilter())) + 1};
}

FileChoice QtPrompter::saveFile(QWidget* owner, const QString& title, const QString& filter,
                                const QString& folder, const QString& defaultName)
{
    QFileDialog dlg(owner, title, folder);
    FileDialogs::prepare(dlg);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // The caller asks about replacing, once the final name (with its ending) is known.
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = qtNameFilters(filter);
    dlg.setNameFilters(filters);
    dlg.selectFile(defaultName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return {dlg.selectedFiles().first(), int(filters.indexOf(dlg.selectedNameFilter())) + 1};
}

std::optional<QColor> QtPrompter::colour(QWidget* owner, const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::black),
                                            owner, QStringLiteral("Farbe"));
    if (!c.isValid())
        return std::nullopt;
    return c;
}

bool QtPrompter::print(QWidget* owner, QPrinter* printer, const PrintOptions& options)
{
    QPrintDialog dlg(printer, owner);
    dlg.setMinMax(options.minPage, options.maxPage);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, options.pageRange);
    dlg.setOption(QAbstractPrintDialog::PrintSelection, options.selection);
    dlg.setOption(QAbstractPrintDialog::PrintToFile, options.printToFile);
    dlg.setOption(QAbstractPrintDialog::PrintCollateCopies, options.collate);
    return dlg.exec() == QDialog::Accepted;
}

int QtPrompter::exec(QDialog* dialog)
{
    DialogTitle::keepVisible(dialog);
    return dialog->exec();
}
