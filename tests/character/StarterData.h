// The starter character set ("adult" and its suits and skills) compiled
// once per test program, and a library reading it as the game would.
#pragma once

#include <string>
#include <vector>

#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "support/CompileContent.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace chartest {

// The data root, compiled on first use.
inline const std::string& StarterRoot() {
    static tova_test::ScratchDir folder;
    static const std::string root = [] {
        const std::string data = (folder / "data").string() + "/";
        const auto run =
            tova_test::CompileContent({"--out", data, std::string(TOVA_SOURCE_DIR) + "/content/Skins/adult.chr"});
        EXPECT_EQ(run.code, 0) << run.err;
        return data;
    }();
    return root;
}

// Reads the root's character and animation folders into the library.
inline void LoadStarter(tova::CharacterLibrary& library, const std::string& root = StarterRoot()) {
    std::vector<std::string> objectFolders;
    const std::string characters =
        tova::BuildCharacterSearchPath(root, objectFolders, [](const std::string&) { return false; });
    const std::string animations = tova::BuildAnimationSearchPath(root, objectFolders);
    library.SetAnimationFolders(cRZSearchPath(animations.c_str()));
    library.SetCharacterFolders(cRZSearchPath(characters.c_str()));
}

}  // namespace chartest
