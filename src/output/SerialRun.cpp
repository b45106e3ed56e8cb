#include "SerialRun.h"

#include "app/AppState.h"
#include "app/WaitCursor.h"
#include "engine/surface/TextControl.h"

SerialRun::SerialRun(AppState& app, SerialHost host, SerialLetter::CommonText text, SerialLetter::Options options,
                     InputFor inputFor)
    : m_app(app), m_host(std::move(host)), m_text(std::move(text)), m_options(std::move(options)),
      m_inputFor(std::move(inputFor))
{
}

void SerialRun::openAsDocuments(const QList<int>& rows)
{
    WaitCursor wait;
    for (int row : rows) {
        const SerialDocument doc = m_host.newDocument();
        const ComposerInput in = m_inputFor(row);
        if (doc.surface)
            SerialLetter::write(*doc.surface, m_app, in, m_text, m_options);
    }
}

void SerialRun::print(const QList<int>& rows, int seconds, const std::function<bool(int)>& pause)
{
    if (rows.isEmpty())
        return;
    const SerialDocument doc = m_host.newDocument();
    if (!doc.surface)
        return;
    bool asked = false;
    for (int k = 0; k < rows.size(); ++k) {
        const ComposerInput in = m_inputFor(rows[k]);
        SerialLetter::write(*doc.surface, m_app, in, m_text, m_options);
        if (!asked) {
            asked = true;
            m_host.printSetup();
        }
        if (!m_app.PrintCancelled && m_host.printFirstPage(doc))
            ++m_printed;
        if (k + 1 == rows.size())
            break;
        // Empty for the next letter; the last one stays to be seen.
        doc.surface->setSelStart(0);
        doc.surface->setSelLength(-1);
        doc.surface->Clip(4);
        if (seconds > 0 && pause && !pause(seconds))
            break;
    }
}

void SerialRun::onTemplate(const QList<int>& rows, const QString& templatePath)
{
    WaitCursor wait;
    for (int row : rows) {
        const SerialDocument doc = m_host.openTemplate(templatePath);
        const ComposerInput in = m_inputFor(row);
        if (doc.surface)
            SerialLetter::writeOnTemplate(*doc.surface, m_app, in, m_text, m_options);
    }
}
