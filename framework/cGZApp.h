// The application base. The game derives its one application object from
// it; the framework creates it through a registered factory, registers it as
// a service (id -2000000, so it is started last and shut down first) together
// with the application's own services, and calls its tick every idle step.
#pragma once

#include <cstdint>

#include "framework/cGZSystemService.h"
#include "framework/cGZSystemServiceList.h"
#include "framework/cRZString.h"
#include "platform/MessageQueue.h"

class cIGZFrameWork;

class cIGZApp {
public:
    virtual bool AddService(cIGZSystemService* service) = 0;
    virtual const char* GetName() const = 0;
    // The application's own set-up before the framework starts its services
    // (language, display, sound paths). Named apart from the service Init of
    // the same object, which the service list calls later.
    virtual bool AppInit() { return true; }
    virtual bool PostFrameworkInit() { return true; }
    virtual bool PostRun() { return true; }
    virtual cIGZFrameWork* GetFramework();
    // Called every idle step of the main loop.
    virtual bool Tick() = 0;
    // A background callback crashed (its name: GetCallbackCrash()).
    virtual bool OnCallbackCrash() { return false; }
    virtual int DoMessageBox(const char* text, const char* caption, int buttonKind, int flag) = 0;
    virtual bool RestrictsConsole() = 0;

protected:
    virtual ~cIGZApp() = default;
};

class cGZApp : public cGZSystemService, public cIGZApp {
public:
    explicit cGZApp(const char* name);
    ~cGZApp() override = default;

    bool AddService(cIGZSystemService* service) override { return mServices.Add(service); }
    const char* GetName() const override { return mName.c_str(); }

    virtual bool IsBatchMode() { return false; }
    virtual cGZSystemServiceList& GetAppServiceList() { return mServices; }
    // Called at start-up before AppInit.
    virtual void PreInit() {}
    // With null at every idle step; with a message before it is dispatched:
    // true when the application consumed it.
    virtual bool PreTranslateMessage(platform::QueuedMessage* message) { return false; }

private:
    cGZSystemServiceList mServices;
    cRZString mName;
};
