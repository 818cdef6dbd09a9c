#include "shell/ShellPaths.h"

#include <cstdio>
#include <cstdlib>

#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"
#include "platform/Registry.h"
#include "resfile/FixedString.h"

namespace tova {

namespace {

struct ShellPathState {
    std::string dataRoot;
    std::string failureText = "Could not find Ziv Tova data directory.";
    std::string failureCaption = "Fatal Error";
    std::function<void(const std::string&, const std::string&)> fatalBox;
};

ShellPathState& PathState() {
    static ShellPathState state;
    return state;
}

constexpr const char* kShellRegistryKey = "Software\\Orvel\\Ziv Tova";

bool EndsInSeparator(const std::string& text) { return !text.empty() && platform::IsSeparator(text.back()); }

// The folder without its last component ("a/b/Music/" -> "a/b/").
std::string ParentFolder(const std::string& folder) {
    std::string f = folder;
    while (EndsInSeparator(f)) f.pop_back();
    const size_t cut = f.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : f.substr(0, cut + 1);
}

std::string WithSeparator(std::string folder) {
    if (!EndsInSeparator(folder)) folder += '/';
    return folder;
}

}  // namespace

bool FindDataRoot(std::string& root) {
    const std::string candidate = "./";
    FILE* file = std::fopen(platform::ResolvePath(candidate + "GameData/Scenario.zdv").c_str(), "rb");
    if (!file) return false;
    std::fclose(file);
    root = candidate;
    return true;
}

const std::string& GetDataRoot() {
    ShellPathState& state = PathState();
    if (!state.dataRoot.empty()) return state.dataRoot;
    if (!FindDataRoot(state.dataRoot)) {
        if (state.fatalBox) state.fatalBox(state.failureText, state.failureCaption);
        else platform::ShowWarningBox(state.failureCaption, state.failureText);
        std::fflush(nullptr);
        std::exit(-1);
    }
    return state.dataRoot;
}

void SetDataRootFailureTexts(const std::string& text, const std::string& caption) {
    PathState().failureText = text;
    PathState().failureCaption = caption;
}

void SetFatalBoxHandler(std::function<void(const std::string&, const std::string&)> handler) {
    PathState().fatalBox = std::move(handler);
}

void ResetDataRoot() { PathState().dataRoot.clear(); }

bool JoinShellPath(const std::string& root, const char* subfolder, const char* file, std::string& out) {
    std::string path = root;
    if (subfolder) path += subfolder;
    if (!EndsInSeparator(path)) path += '/';
    if (file) path += file;
    // The limit counts the terminating zero, as the fixed path strings do.
    if (path.size() + 1 > kShellMaxPath) return false;
    out = std::move(path);
    return true;
}

bool MakeDataPath(const char* subfolder, const char* file, std::string& out) {
    return JoinShellPath(GetDataRoot(), subfolder, file, out);
}

bool MakeNeighborhoodPath(const char* subfolder, const char* file, std::string& out) {
    std::string folder;
    if (gGlobalContext && gGlobalContext->neighborhood) {
        FixedString directory;
        gGlobalContext->neighborhood->GetDirectory(directory);
        folder = directory.c_str();
        if (!folder.empty()) folder = WithSeparator(folder);
    }
    return JoinShellPath(folder, subfolder, file, out);
}

bool ReadRegistryString(const char* name, std::string& out) {
    platform::RegKey key;
    if (platform::Registry::Default().OpenKey(platform::RegRoot::kLocalMachine, kShellRegistryKey,
                                              platform::RegAccess::kRead, key) != platform::kRegSuccess)
        return false;
    std::string text;
    const platform::RegStatus status = key.QueryString(name, text, kShellMaxPath);
    key.Close();
    if (status != platform::kRegSuccess) return false;
    // A text with a zero inside was never terminated where the writer meant.
    if (text.find('\0') != std::string::npos) return false;
    out = std::move(text);
    return true;
}

bool DataFileExists(const std::string& folder, const char* name) {
    std::string path;
    if (!JoinShellPath(folder, nullptr, name, path)) return false;
    return platform::FileExists(path);
}

int32_t ClearReadOnlyFlags(const std::string& neighborhoodFolder) {
    const std::pair<const char*, const char*> places[] = {
        {nullptr, "*.IFF"}, {"Houses/", "*.IFF"}, {"Characters/", "*.IFF"}, {"Export/", "*.FAM"}};
    int32_t cleared = 0;
    for (const auto& [sub, pattern] : places) {
        std::string folder;
        if (!JoinShellPath(WithSeparator(neighborhoodFolder), sub, nullptr, folder)) continue;
        for (const platform::DirectoryEntry& entry : platform::ListDirectory(folder, pattern))
            if (!entry.isDirectory && entry.readOnly && platform::SetReadOnly(folder + entry.name, false)) ++cleared;
    }
    return cleared;
}

std::vector<std::string> MusicMountPoints() {
    std::vector<std::string> points;
    std::string value;
    if (!ReadRegistryString("TOVA_MOUNTS", value)) return points;
    size_t start = 0;
    while (start <= value.size()) {
        const size_t end = value.find(';', start);
        const std::string point = value.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!point.empty()) points.push_back(point);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return points;
}

SoundAndMusicData FindSoundAndMusicData(const std::string& dataRoot) {
    SoundAndMusicData data;
    std::string folder, value;
    if (JoinShellPath(dataRoot, "SoundData/", nullptr, folder) && DataFileExists(folder, "TovaSound.hit"))
        data.soundFolder = folder;
    else if (ReadRegistryString("TOVA_SOUND", value) && JoinShellPath(WithSeparator(value), nullptr, nullptr, folder) &&
             DataFileExists(folder, "TovaSound.hit"))
        data.soundFolder = folder;

    auto tryMusic = [&data](const std::string& base) {
        std::string music;
        if (data.musicFolder.empty() && JoinShellPath(WithSeparator(base), "Music/", nullptr, music) &&
            DataFileExists(music, "Tova.wve"))
            data.musicFolder = music;
    };
    // A network path is never searched.
    if (ReadRegistryString("TOVA_MUSIC", value) && value.rfind("\\\\", 0) != 0 && value.rfind("//", 0) != 0)
        tryMusic(value);
    for (const std::string& point : MusicMountPoints()) tryMusic(point);
    tryMusic(dataRoot);

    if (data.soundFolder.empty() || data.musicFolder.empty()) {
        data.soundFolder.clear();
        data.musicFolder.clear();
        return data;
    }
    data.soundRoot = ParentFolder(data.soundFolder);
    data.musicRoot = ParentFolder(data.musicFolder);
    data.found = true;
    return data;
}

}  // namespace tova
