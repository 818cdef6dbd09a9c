// Where the game's files are: the data root (the working folder, checked by
// "GameData/Scenario.zdv"), paths built under it and under the
// neighbourhood folder, the settings store's values of the game's key, and
// the search for the sound bank and the music that decides whether the game
// runs with sound. Paths keep the 260-byte limit: a path that would be cut
// is refused rather than shortened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tova {

constexpr size_t kShellMaxPath = 260;

// The data root: "./" once "GameData/Scenario.zdv" opened under it. When it
// does not, the fatal box (the handler, else a warning box) shows `text`
// captioned `caption` and the process ends with -1.
const std::string& GetDataRoot();
// The root check alone: true and "./" in `root` when the scenario file is
// there.
bool FindDataRoot(std::string& root);
// The fatal texts before and after the interface texts are read.
void SetDataRootFailureTexts(const std::string& text, const std::string& caption);
// Shows a box that ends the program (headless runs print it).
void SetFatalBoxHandler(std::function<void(const std::string& text, const std::string& caption)> handler);
// Forgets the found root (tests).
void ResetDataRoot();

// root, then `subfolder`, then "/" unless the text so far ends in a
// separator, then `file`; false when the whole would not fit in 260 bytes.
bool JoinShellPath(const std::string& root, const char* subfolder, const char* file, std::string& out);
bool MakeDataPath(const char* subfolder, const char* file, std::string& out);
// The same under the neighbourhood folder.
bool MakeNeighborhoodPath(const char* subfolder, const char* file, std::string& out);

// A text value of "Software\Orvel\Ziv Tova" (machine root). A value that
// does not fit the 260-byte buffer with its terminator counts as absent.
bool ReadRegistryString(const char* name, std::string& out);
// Whether `folder` followed by `name` is a file.
bool DataFileExists(const std::string& folder, const char* name);

// Files the player may have copied from a disc stay writable: the ".iff"
// files of the neighbourhood folder, its "Houses/" and "Characters/", and the
// ".FAM" files of its "Export/" lose the read-only mark. The number cleared.
int32_t ClearReadOnlyFlags(const std::string& neighborhoodFolder);

struct SoundAndMusicData {
    std::string soundFolder;  // holds "TovaSound.hit"
    std::string musicFolder;  // holds "Tova.wve"
    std::string soundRoot;    // the sound folder's parent
    std::string musicRoot;    // the folder holding "Music/"
    bool found = false;       // both found: the game runs with sound
};

// The search: the data root's "SoundData/", else "TOVA_SOUND"; the music in
// "TOVA_MUSIC" (a network path is refused), else in "Music/" of each mount
// point (the value "TOVA_MOUNTS", separated by ';', in place of drive
// letters), else in the data root's "Music/".
SoundAndMusicData FindSoundAndMusicData(const std::string& dataRoot);
// The mount points the music search tries.
std::vector<std::string> MusicMountPoints();

}  // namespace tova
