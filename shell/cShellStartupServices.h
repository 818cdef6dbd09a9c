// The game's start-up services as far as the shell makes them: progress
// steps to the application's display, the catalogue's step and animation
// tables, the build tool set; the lot's parts come from the world layer.
// The character library, viewer, palette, terrain, floors and sounds keep
// their defaults until their layers land.
#pragma once

#include <functional>
#include <memory>

#include "simulation/people/AnimNameTables.h"
#include "world/GameStartupServices.h"

namespace tova {

class cShellStartupServices : public cGameStartupServices {
public:
    using Progress = std::function<void(uint32_t code, const char* text)>;
    explicit cShellStartupServices(Progress progress);
    ~cShellStartupServices() override;

    void ReportProgress(uint32_t code, const char* text) override;
    CatalogueServices* GetCatalogueServices() override { return &mCatalogue; }

private:
    class Catalogue : public AnimTableCatalogueServices {
    public:
        explicit Catalogue(cShellStartupServices& owner) : mOwner(owner) {}
        void ReportProgress(uint32_t code, const char* text) override { mOwner.ReportProgress(code, text); }

    private:
        cShellStartupServices& mOwner;
    };

    Progress mProgress;
    Catalogue mCatalogue{*this};
};

}  // namespace tova
