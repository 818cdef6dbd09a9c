#include "framework/FrameworkMain.h"

#include <cstdio>

#include "framework/cGZApp.h"
#include "framework/cGZFrameWorkW95.h"
#include "framework/cRZException.h"

int FrameworkMain(const cRZCmdLine& cmdLine) {
    auto* framework = new cGZFrameWorkW95;
    RZSetFramework(framework);
    RZSetExitCode(0);
    framework->GetCommandLine() = cmdLine;

    if (const cGZAppFactory& factory = RZGetAppFactory()) framework->SetApp(factory());
    cGZApp* app = framework->GetAppObject();

    if (framework->GetCommandLine().FindSwitch("nosound", nullptr, false)) framework->SetSoundEnabled(false);

    if (app) {
        app->PreInit();
        app->AppInit();
    }
    framework->Init();
    if (app) app->PostFrameworkInit();

    // A batch application does its work inside its start-up and leaves the
    // services running.
    if (app && app->IsBatchMode()) return 0;

    framework->Run();
    if (app) app->PostRun();

    int result = RZGetExitCode();
    try {
        framework->Shutdown();
    } catch (const cRZException& e) {
        std::fprintf(stderr, "%s\n", e.GetMessage());
        result = -1;
    }
    // The service list points at the application; forget it before the
    // destroyer deletes the application.
    framework->GetServiceList().Clear();
    if (const cGZAppDestroyer& destroyer = RZGetAppDestroyer(); destroyer && app) {
        framework->DetachApp();
        destroyer(app);
    }
    delete framework;
    RZSetFramework(nullptr);
    return result;
}
