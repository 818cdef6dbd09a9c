// famtool --data ROOT COMMAND [ARGS]: the family screens' operations on the
// neighbourhood of ROOT (give it a copy: it saves as the game does). People
// are named by person-table index, families by number. A refusal prints
// "refused <command>" and exits 1.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodServices.h"
#include "neighborhood/BitmapFile.h"
#include "neighborhood/DirFileIterator.h"
#include "neighborhood/FamilyOperations.h"
#include "neighborhood/PersonTable.h"
#include "platform/FileSystem.h"
#include "platform/PngFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "world/GameStartupServices.h"

namespace {

class KeepEveryone : public tova::NeighborhoodServices {
public:
    std::optional<tova::PersonDefinitionInfo> FindPersonDefinition(int32_t guid) override {
        return tova::PersonDefinitionInfo{guid, "", false, ""};
    }
};

int Usage() {
    std::fprintf(stderr,
                 "usage: famtool --data ROOT COMMAND [ARGS]\n"
                 "  list | new-family NAME | new-person | add FAMILY PERSON | remove FAMILY PERSON\n"
                 "  delete-family N | lot LOT | offers | move-in FILE | bmp FILE OUT.png\n");
    return 2;
}

int Refused(const std::string& command) {
    std::printf("refused %s\n", command.c_str());
    return 1;
}

bool ToInt(const std::string& text, int32_t& out) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < -2147483647L || value > 2147483647L) return false;
    out = static_cast<int32_t>(value);
    return true;
}

void List(tova::Neighborhood& hood, const PersonTable& people) {
    for (const auto& f : hood.Families()) {
        FamilyInfo info;
        FillFamilyInfo(*f, info, false);
        std::printf("family %d \"%s\" lot %d worth %d members %d\n", f->number, info.name.c_str(), info.lot, info.worth,
                    f->GetMemberCount());
    }
    for (int32_t i = 0; i < people.Count(); ++i) {
        const PersonEntry* e = people.EntryAt(i);
        const tova::Neighbor* n = hood.FindNeighborByGUID(e->guid);
        std::printf("person %d \"%s\" family %d\n", i, e->name.c_str(), n ? n->personData[tova::kPersonDataFamily] : 0);
    }
}

bool WritePicture(cGZBuffer* buffer, const std::string& out) {
    if (!buffer) return false;
    const platform::Image image = platform::ImageFromSurface(*buffer->GetSurface()->Surface());
    buffer->Release();
    return platform::WritePngFile(out, image);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 3 || args[0] != "--data") return Usage();
    const std::string root = args[1];
    const std::string command = args[2];
    const std::vector<std::string> rest(args.begin() + 3, args.end());
    auto want = [&](size_t n) { return rest.size() == n; };

    if (command == "bmp" && want(2)) return WritePicture(LoadBitmapFile(rest[0], 0), rest[1]) ? 0 : Refused(command);

    std::string base = root;
    if (!base.empty() && base.back() != '/' && base.back() != '\\') base += '/';
    cGameStartupServices startup;
    tova::GlobalContext context;
    std::unique_ptr<tova::NeighborhoodServices> keep;
    std::unique_ptr<tova::Neighborhood> own;
    tova::Neighborhood* loaded = nullptr;
    if (platform::FileExists(base + "GameData/Global/Global.iff")) {
        context.dataRoot = base;
        context.startup = &startup;
        tova::gGlobalContext = &context;
        if (!context.LoadGameData(0, 0, 0, "", "", "")) return Refused(command);
        loaded = context.neighborhood;
    } else {
        keep = std::make_unique<KeepEveryone>();
        own = std::make_unique<tova::Neighborhood>(*keep);
        own->SetPath((base + "UserData/Neighborhood.iff").c_str());
        loaded = own.get();
    }
    tova::Neighborhood& hood = *loaded;
    if (hood.Init() != 0) return Refused(command);
    PersonTable people;
    people.Build(hood);
    FamilyContext operations;
    operations.neighborhood = &hood;
    operations.people = &people;
    operations.saveVersion = context.saveVersion;
    SetFamilyContext(&operations);

    int32_t a = 0, b = 0;
    if (command == "list" && want(0)) {
        List(hood, people);
        return 0;
    }
    if (command == "new-family" && want(1)) {
        const int32_t f = MakeNewFamily();
        if (f < 0 || !SetFamilyName(f, rest[0])) return Refused(command);
        CommitFamily(f);
        std::printf("family %d\n", f);
        return 0;
    }
    if (command == "new-person" && want(0)) {
        const int32_t p = MakeNewPerson();
        if (p < 0 || SaveNeighborhoodNow() != 0) return Refused(command);
        std::printf("person %d\n", p);
        return 0;
    }
    if ((command == "add" || command == "remove") && want(2) && ToInt(rest[0], a) && ToInt(rest[1], b)) {
        const bool done = command == "add" ? AddFamilyMember(a, b) : RemoveFamilyMember(a, b);
        if (!done) return Refused(command);
        CommitFamily(a);
        return 0;
    }
    if (command == "delete-family" && want(1) && ToInt(rest[0], a)) return DeleteFamily(a) ? 0 : Refused(command);
    if (command == "lot" && want(1) && ToInt(rest[0], a)) {
        LotInfo info;
        if (!ReadLotInfo(a, info, false)) return Refused(command);
        std::printf("lot %d house %d family %d value %d\n", info.lot, info.hasHouse, info.residentFamily, info.value);
        return 0;
    }
    if (command == "offers" && want(0)) {
        ClearImportLists();
        // A file that fails to read is passed over: one offer per file.
        size_t files = 0;
        for (DirFileIterator it(NeighborhoodFolder() + "Import/", "FAM"); !it.AtEnd(); it.Next()) ++files;
        for (size_t i = 0; i < files; ++i) {
            FamilyImport record;
            if (ImportFamilyFile(record, false))
                std::printf("offer \"%s\" family \"%s\"\n", record.path.c_str(), record.lot.family.name.c_str());
        }
        return 0;
    }
    if (command == "move-in" && want(1)) {
        int32_t made = -1;
        if (!MoveFamilyIntoLot(rest[0], made)) return Refused(command);
        SaveNeighborhoodNow();
        std::printf("family %d\n", made);
        return 0;
    }
    return Usage();
}
