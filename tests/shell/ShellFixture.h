#pragma once
// A main frame in a throw-away HOME with the scripted prompter installed. Tests
// build it, may prepare the work folder, then start it (show and first activation).

#include "TestFiles.h"
#include "TestHome.h"
#include "../addresses/AddressFixture.h"

#include "app/AppState.h"
#include "app/ScriptedPrompter.h"
#include "engine/surface/TextControl.h"
#include "shell/frmMDIChild.h"
#include "shell/frmMDIParent.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QTest>
#include <memory>

class ShellFixture {
public:
    explicit ShellFixture(const QString& commandLine = {})
    {
        auto p = std::make_unique<ScriptedPrompter>();
        prompts = p.get();
        setPrompter(std::move(p));
        appState() = AppState{};
        // The load step ends the program without an address database; give it the
        // starter one (the letter composer opens on it).
        const QString work = home.path() + QStringLiteral("QX-Kontorix/");
        QDir().mkpath(work);
        AddressFixture::makeStarter(work + QStringLiteral("address50.adr"));
        frame = std::make_unique<frmMDIParent>(commandLine);
    }

    ~ShellFixture()
    {
        // Nothing may ask when the fixture goes away.
        if (frame)
            for (frmMDIChild* w : frame->documents())
                w->DirtyFlag = false;
        frame.reset();
        flush();
    }

    // Shows the frame and waits for its first activation.
    bool start()
    {
        frame->show();
        return QTest::qWaitFor([this] { return frame->firstActivationDone(); }, 2000);
    }

    // Starts and closes what the start opened: a frame without documents.
    bool startEmpty()
    {
        if (!start())
            return false;
        // The start may have built a letter; it goes without a question.
        for (frmMDIChild* w : frame->documents())
            w->DirtyFlag = false;
        frame->mdiArea()->closeAllSubWindows();
        flush();
        prompts->clear();
        return frame->documents().isEmpty();
    }

    frmMDIChild* newDocument()
    {
        frmMDIChild* w = frmMDIChild::NewDocument();
        flush();
        return w;
    }

    static void flush()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    TestHome home;
    ScriptedPrompter* prompts = nullptr;
    std::unique_ptr<frmMDIParent> frame;
};
