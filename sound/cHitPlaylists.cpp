#include "sound/cHitPlaylists.h"

#include "platform/FileSystem.h"
#include "sound/cHitEngine.h"
#include "sound/cHitList.h"
#include "sound/cSamplePatch.h"

namespace {

std::string JoinFolder(std::string folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '/';
    folder += name;
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder;
}

}  // namespace

std::vector<cHitPlaylists::Folder> cHitPlaylists::FolderTable(int32_t languageId) {
    return {
        {"Music\\Stations\\Country", {260, 0, 232}},
        {"Music\\Stations\\Rock", {280, 0, 233}},
        {"Music\\Stations\\Latin", {270, 0, 234}},
        {"Music\\Stations\\Classica", {269, 0, 235}},
        {"Music\\Modes\\Buy", {0, 1, 221}},
        {"Music\\Modes\\Build", {0, 1, 222}},
        {languageId == kUsEnglish ? "Music\\Modes\\NhoodUS" : "Music\\Modes\\Nhood", {0, 1, 223}},
        {"SoundData\\TVStations\\TV_Action", {28, 1, 529}},
        {"SoundData\\TVStations\\TV_Comedy_Cartoon", {29, 1, 530}},
        {"SoundData\\TVStations\\TV_Romance", {26, 1, 528}},
        {"SoundData\\TVStations\\TV_Mystery", {27, 1, 531}},
    };
}

bool cHitPlaylists::Build(cHitEngine& engine, const std::string& soundRoot, const std::string& musicRoot,
                          const std::string& folder, uint32_t listId) {
    if (folder.empty()) return false;
    if (listId == 0) listId = engine.FirstFreeHitListId();
    if (listId == 0) return false;
    cHitList* playlist = engine.GetHitList(listId);
    if (!playlist) playlist = engine.NewHitList(listId);
    playlist->SetKeepOut(kKeepOut);

    const std::string base = JoinFolder(soundRoot, folder);
    const std::vector<platform::DirectoryEntry> entries = platform::ListDirectory(base, "*");
    std::vector<std::string> groups;
    if (entries.empty()) {
        groups.push_back(JoinFolder(musicRoot, folder));
    } else {
        for (const platform::DirectoryEntry& entry : entries)
            if (entry.isDirectory) groups.push_back(JoinFolder(base, entry.name));
        // Files and no subfolders: the folder is its own group, rather than
        // a playlist that silently leaves its files out.
        if (groups.empty()) groups.push_back(base);
    }
    for (const std::string& group : groups) {
        const uint32_t groupId = engine.FirstFreeHitListId();
        if (groupId == 0) return false;
        cHitList* list = engine.NewHitList(groupId);
        for (const platform::DirectoryEntry& entry : platform::ListDirectory(group, "*")) {
            if (entry.isDirectory) continue;
            const uint32_t id = engine.FirstFreeObjectId();
            // "RadioStationAutoPatch" + the file name; a shortcut keeps its own path.
            engine.RegisterObject(id, new cSamplePatch(JoinFolder(group, entry.name)));
            list->Add(id);
        }
        if (!list->Available().empty()) playlist->Add(groupId);
    }
    return true;
}

std::vector<cHitPlaylist> cHitPlaylists::BuildAll(cHitEngine& engine, const std::string& soundRoot,
                                                  const std::string& musicRoot, int32_t languageId) {
    std::vector<cHitPlaylist> built;
    for (const Folder& entry : FolderTable(languageId))
        if (Build(engine, soundRoot, musicRoot, entry.folder, entry.playlist.hitListId)) built.push_back(entry.playlist);
    return built;
}
