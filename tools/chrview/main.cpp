// chrview: the character library of a data root (or of given folders) by
// hand. --dump prints every object in one canonical text, --list each cache
// entry (after the dump's lookups), --convert DIR converts the text character files into DIR.
//
// The rendering form draws one body:
//   chrview --data ROOT --skeleton NAME --suit NAME[=TEXTURE] ... [--skill NAME --t MS,MS,...] --out OUT.png
// 256 x 256 at 16 bits, lit by the root's standard light set. Per time the
// body is updated, deformed and drawn, and OUT written (with -<i> before the
// extension when there are several times); each prints
// "t <ms> rect <l> <t> <r> <b> events <names>".
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "character/BodyPicture.h"
#include "character/CharacterBody.h"
#include "character/CharacterDump.h"
#include "character/LightSet.h"
#include "character/Practice.h"
#include "character/PropertyList.h"
#include "character/RenderObject.h"
#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "character/Skeleton.h"
#include "character/Skill.h"
#include "character/Suit.h"

using namespace tova;

namespace {

int ChrviewUsage() {
    std::cerr << "usage: chrview (--data ROOT | --folders F1;F2;...) ([--dump] [--list] | --convert DIR)\n"
                 "       chrview --data ROOT --skeleton NAME --suit NAME[=TEXTURE] ... [--skill NAME --t MS,...] "
                 "--out OUT.png\n";
    return 2;
}

struct PoseRequest {
    std::string skeleton, skill, out;
    std::vector<std::string> suits;
    std::vector<int32_t> times;
};

// Event texts heard since the last frame.
std::vector<std::string> gChrviewEvents;

void HearEvent(void*, chr::Practice&, Bone&, Motion&, PropertyList& list, float) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i) text += (i ? "," : "") + list.Key(i) + "=" + list.Value(i);
    gChrviewEvents.push_back(text);
}

bool ParseTimes(const std::string& text, std::vector<int32_t>& out) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        try {
            size_t used = 0;
            const long value = std::stol(item, &used);
            if (used != item.size() || value < 0 || value > 100000000) return false;
            out.push_back(static_cast<int32_t>(value));
        } catch (...) {
            return false;
        }
    }
    return !out.empty();
}

std::string FrameFile(const std::string& out, size_t index, size_t count) {
    if (count < 2) return out;
    const size_t slash = out.find_last_of('/');
    size_t dot = out.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = out.size();
    return out.substr(0, dot) + "-" + std::to_string(index) + out.substr(dot);
}

int DrawPose(CharacterLibrary& library, const std::string& root, const PoseRequest& request) {
    SetLightSearchPath(root + "Lights");
    std::vector<LightRecord> lights;
    if (const uint32_t code = LoadLightSet("stdlight", lights)) {
        std::cout << "error: no standard light set in " << root << "Lights (" << std::hex << code << ")\n";
        return 1;
    }
    chr::BodyPicture picture(root + "Textures", lights);
    if (picture.Status() != 0) {
        std::cout << "error: the 3D device could not be made (" << std::hex << picture.Status() << ")\n";
        return 1;
    }
    chr::CharacterBody body(library, &picture.Device());
    if (body.Init(nullptr, request.skeleton, "", "", 0) != 0) {
        std::cout << "error: unknown skeleton \"" << request.skeleton << "\"\n";
        return 1;
    }
    for (const std::string& suit : request.suits) {
        const size_t sign = suit.find('=');
        const std::string name = suit.substr(0, sign);
        if (!body.AddDressing(name, sign == std::string::npos ? "" : suit.substr(sign + 1), 0)) {
            std::cout << "error: unknown suit \"" << name << "\"\n";
            return 1;
        }
    }
    if (!request.skill.empty()) {
        Skill* skill = library.GetSkillData(request.skill);
        if (skill == nullptr || body.AddPractice(*skill, 1, 1.0f, 1.0f, 0) == nullptr) {
            std::cout << "error: unknown skill \"" << request.skill << "\"\n";
            return 1;
        }
    }
    chr::SetPracticeEventHook(&HearEvent, nullptr);
    const std::vector<int32_t> times = request.times.empty() ? std::vector<int32_t>{0} : request.times;
    for (size_t i = 0; i < times.size(); ++i) {
        gChrviewEvents.clear();
        body.Update(kIdentityTransform, times[i]);
        if (i == 0) picture.Frame(body);
        const cRZRect rect = picture.Draw(body);
        const std::string file = FrameFile(request.out, i, times.size());
        std::string error;
        if (!platform::WritePngFile(file, picture.Picture(), &error)) {
            std::cout << "error: " << file << ": " << error << "\n";
            return 1;
        }
        std::cout << "t " << times[i] << " rect ";
        if (IsEmptyScreenRect(rect)) {
            std::cout << "0 0 0 0";
        } else {
            std::cout << rect.left << " " << rect.top << " " << rect.right << " " << rect.bottom;
        }
        std::cout << " events";
        for (const std::string& e : gChrviewEvents) std::cout << " " << e;
        std::cout << "\n";
    }
    chr::SetPracticeEventHook(nullptr, nullptr);
    return 0;
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
    PoseRequest pose;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--skeleton" && i + 1 < argc) {
            pose.skeleton = argv[++i];
            mode = "--pose";
        } else if (arg == "--suit" && i + 1 < argc) {
            pose.suits.push_back(argv[++i]);
        } else if (arg == "--skill" && i + 1 < argc) {
            pose.skill = argv[++i];
        } else if (arg == "--t" && i + 1 < argc) {
            if (!ParseTimes(argv[++i], pose.times)) return ChrviewUsage();
        } else if (arg == "--out" && i + 1 < argc) {
            pose.out = argv[++i];
        } else if (arg == "--data" && i + 1 < argc) {
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
    if (mode == "--pose" && (data.empty() || pose.out.empty() || dump || list)) return ChrviewUsage();

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
    if (mode == "--pose") {
        library.SetCharacterFolders(characterFolders);
        return DrawPose(library, data, pose);
    }
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
