// Playlists made at start-up from folders of sample files: each group
// folder becomes a hit list of patches over its files, and the playlist is
// a hit list of those groups, with a keep-out so large that every entry
// plays once before any repeats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cHitEngine;

struct cHitPlaylist {
    uint32_t objectId = 0;
    uint32_t kind = 0;  // 0 radio, 1 other
    uint32_t hitListId = 0;
};

class cHitPlaylists {
public:
    static constexpr uint32_t kKeepOut = 1000000;
    static constexpr int32_t kUsEnglish = 1;

    struct Folder {
        std::string folder;  // relative to the sound root
        cHitPlaylist playlist;
    };
    // The start-up playlists in their order; the first four are the radio.
    static std::vector<Folder> FolderTable(int32_t languageId);

    // Builds playlist `listId` (0: the first free list id) from the folder:
    // its subfolders are the groups; a folder with neither files nor
    // subfolders takes the same folder under the music root as its one
    // group, and one with files only is its own group. False for an empty name or when no list id is free. A shortcut
    // file (".lnk") cannot be followed here: its path is kept as it is.
    static bool Build(cHitEngine& engine, const std::string& soundRoot, const std::string& musicRoot,
                      const std::string& folder, uint32_t listId);

    // Every playlist of the table; the records of those built.
    static std::vector<cHitPlaylist> BuildAll(cHitEngine& engine, const std::string& soundRoot,
                                              const std::string& musicRoot, int32_t languageId);
};
