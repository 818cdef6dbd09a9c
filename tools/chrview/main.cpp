// chrview: the character library of a data root (or of given folders) by
// hand. --dump prints every object in one canonical text, --list each cache
// entry (after the dump's lookups), --convert DIR converts the text character files into DIR.
#include <iostream>
#include <string>
#include <vector>

#include "character/CharacterDump.h"
#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

using namespace tova;

namespace {

int ChrviewUsage() {
    std::cerr << "usage: chrview (--data ROOT | --folders F1;F2;...) ([--dump] [--list] | --convert DIR)\n";
    return 2;
}

void ListCache(const char* kind, const CharacterLibrary::Cache& cache) {
    for (const auto& [name, entry] : cache) {
        std::cout << kind << " " << name << " " << entry.file << " " << (entry.loaded ? "loaded" : "index") << "\n";
    }
}

std::vector<std::string> NamesOf(const CharacterLibrary::Cache& cache) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : cache) names.push_back(name);
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    std::string data, folders, mode, target;
    bool list = false, dump = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) {
            data = argv[++i];
        } else if (arg == "--folders" && i + 1 < argc) {
            folders = argv[++i];
        } else if (arg == "--list" || arg == "--dump") {
            (arg == "--list" ? list : dump) = true;
            if (mode.empty()) mode = arg;
        } else if (arg == "--convert" && i + 1 < argc) {
            mode = arg;
            target = argv[++i];
        } else {
            return ChrviewUsage();
        }
    }
    if (mode.empty() || data.empty() == folders.empty()) return ChrviewUsage();

    SetCharacterReportEnabled(true);
    std::string characterPath, animationPath;
    if (!data.empty()) {
        if (data.back() != '/') data += '/';
        std::vector<std::string> objectFolders;
        characterPath = BuildCharacterSearchPath(data, objectFolders, [](const std::string&) { return false; });
        animationPath = BuildAnimationSearchPath(data, objectFolders);
    } else {
        characterPath = animationPath = folders;
    }
    CharacterLibrary library;
    library.SetAnimationFolders(cRZSearchPath(animationPath.c_str()));
    const cRZSearchPath characterFolders(characterPath.c_str());
    if (mode == "--convert") {
        std::vector<std::string> list;
        for (int i = 0; i < characterFolders.GetCount(); ++i) list.push_back(characterFolders.GetDirectory(i).c_str());
        if (target.back() != '/') target += '/';
        library.ScanCharacterFiles(list, true, "characters", target);
        for (const std::string& file : library.WrittenFiles()) std::cout << file << "\n";
        std::cout << TakeCharacterDebugText();
    } else {
        library.SetCharacterFolders(characterFolders);
    }
    if (dump) {
        for (const std::string& name : NamesOf(library.Skeletons())) {
            if (Skeleton* s = library.GetSkeleton(name)) std::cout << DumpSkeleton(*s);
        }
        for (const std::string& name : NamesOf(library.Suits())) {
            if (Suit* s = library.GetSuit(name)) {
                library.LoadSuitMeshes(*s);
                std::cout << DumpSuit(*s);
            }
        }
        for (const std::string& name : NamesOf(library.Skills())) {
            if (Skill* s = library.GetSkillData(name)) {
                library.LoadKeyframes(*s);
                std::cout << DumpSkill(*s);
            }
        }
    }
    // After a dump, the list shows what the lookups loaded.
    if (list) {
        ListCache("skeleton", library.Skeletons());
        ListCache("suit", library.Suits());
        ListCache("skill", library.Skills());
    }
    const std::string report = TakeCharacterReport();
    if (!report.empty()) {
        std::cout << report << "\n";
        return 1;
    }
    return 0;
}
