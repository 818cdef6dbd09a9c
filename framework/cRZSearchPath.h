// A list of directories given as one ';'-separated text. Each directory is
// kept in the Windows form the data paths use: '\' separators, ".\" in front
// of a relative path, a '\' at the end; the file layer accepts that form. A
// path from the root of the disk ("/data/...") counts as absolute and gets no
// ".\" in front.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/cRZString.h"

class cRZSearchPath {
public:
    cRZSearchPath() = default;
    explicit cRZSearchPath(const char* text);
    cRZSearchPath(const cRZSearchPath&) = default;
    cRZSearchPath& operator=(const cRZSearchPath&) = default;

    void AddDirectory(const cRZString& path);
    cRZString GetDirectory(int i) const;
    int GetCount() const { return static_cast<int>(mDirectories.size()); }
    // True when every directory exists.
    bool AllExist() const;
    // Adds the type code of each file's extension found in the directories
    // (once each); 0 when at least one code was added, 5 when none was.
    int CollectTypes(std::vector<uint32_t>& types) const;

    // The directory form described above.
    static cRZString Normalize(const std::string& path);
    // The extension of a file name: its last one to three characters after a
    // '.'; empty when there is none.
    static std::string ExtensionOf(const std::string& name);

private:
    std::vector<cRZString> mDirectories;
};
