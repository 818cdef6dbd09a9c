// The starter character set ("adult" and its suits, skills and skin
// textures, and the standard light set) compiled once per test program, and
// a library reading it as the game would.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "character/CharacterLibrary.h"
#include "character/CharacterReport.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace chartest {

// The data root, compiled on first use.
inline const std::string& StarterRoot() {
    static tova_test::ScratchDir folder;
    static const std::string root = [] {
        const std::string data = (folder / "data").string() + "/";
        const std::string content = std::string(TOVA_SOURCE_DIR) + "/content/";
        const auto run = tova_test::CompileContent(
            {"--out", data, content + "Skins/adult.chr", content + "Lights/stdlight.light"});
        EXPECT_EQ(run.code, 0) << run.err;
        std::vector<std::string> textures = {"--out", data + "Textures"};
        for (const auto& entry : std::filesystem::directory_iterator(content + "Textures")) {
            if (entry.path().extension() == ".tex") textures.push_back(entry.path().string());
        }
        const auto made = tova_test::RunProgram("texmake", textures);
        EXPECT_EQ(made.code, 0) << made.out << made.err;
        return data;
    }();
    return root;
}

// Reads the root's character and animation folders into the library.
inline void LoadStarter(tova::CharacterLibrary& library, const std::string& root = StarterRoot()) {
    library.LoadDataRoot(root);
}

}  // namespace chartest
