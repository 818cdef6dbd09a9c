#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"
#include "shell/cOptionsMgr.h"
#include "support/ScratchDir.h"

namespace {

using tova::cOptionsMgr;
using tova_test::ScratchDir;

// An options.iff holding the given record bytes, written by the resource
// layer's own writer.
void WriteOptionsFile(const std::filesystem::path& path, const std::vector<uint8_t>& record) {
    IFFResFile2 file;
    ASSERT_EQ(file.Create(path.string()), 0);
    ASSERT_EQ(file.Open(path.string()), 0);
    MemHandle h = NewMemHandle(static_cast<int32_t>(record.size()));
    std::copy(record.begin(), record.end(), GetMemHandleData(h));
    ASSERT_EQ(file.AddResource(h, cOptionsMgr::kType, cOptionsMgr::kId, "", true), 0);
    ASSERT_EQ(file.Close(), 0);
}

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Version, 14 flag and step bytes, then what each later version adds.
std::vector<uint8_t> RecordOfVersion(int version) {
    std::vector<uint8_t> r = {static_cast<uint8_t>(version), 0,
                              1,           // customised
                              1, 0, 1,     // blended, shadows, lighting
                              1, 0,        // terrain, character detail
                              3, 4, 5,     // volumes
                              1, 0, 0, 1,  // auto-centre, free will, edge scroll, simulate in background
                              1};          // transparent interface
    if (version >= 2) r.insert(r.end(), {7, 0, 0, 0});
    if (version >= 3) r.insert(r.end(), {0, 1, 0});
    if (version >= 4) r.push_back(0);
    return r;
}

TEST(cOptionsMgr, EachVersionReadsItsFieldsAndDefaultsTheRest) {
    for (int version = 1; version <= 4; ++version) {
        SCOPED_TRACE(version);
        ScratchDir dir;
        WriteOptionsFile(dir / "options.iff", RecordOfVersion(version));
        cOptionsMgr o;
        ASSERT_TRUE(o.Load((dir / "options.iff").string()));
        EXPECT_TRUE(o.GetCustomised());
        EXPECT_TRUE(o.GetBlended());
        EXPECT_FALSE(o.GetShadows());
        EXPECT_TRUE(o.GetLighting());
        EXPECT_EQ(o.GetTerrainDetail(), 1);
        EXPECT_EQ(o.GetCharacterDetail(), 0);
        EXPECT_EQ(o.GetVolume(0), 3);
        EXPECT_EQ(o.GetVolume(1), 4);
        EXPECT_EQ(o.GetVolume(2), 5);
        EXPECT_TRUE(o.GetAutoCenter());
        EXPECT_FALSE(o.GetFreeWill());
        EXPECT_FALSE(o.GetEdgeScroll());
        EXPECT_FALSE(o.GetPauseInBackground());
        EXPECT_TRUE(o.GetTransparentUI());
        EXPECT_EQ(o.GetRunCount(), version >= 2 ? 7 : 0);
        EXPECT_EQ(o.GetQuickTips(), version < 3);
        EXPECT_EQ(o.GetSnapshots(), true);
        EXPECT_EQ(o.GetLivePip(), version < 3);
        EXPECT_EQ(o.GetExportHtml(), version < 4);
    }
}

TEST(cOptionsMgr, OutOfRangeStepsAreClampedAndBadRecordsLeaveTheValues) {
    std::vector<uint8_t> r = RecordOfVersion(4);
    r[6] = 9;    // terrain detail
    r[9] = 200;  // music volume
    cOptionsMgr o;
    ASSERT_TRUE(o.FromBytes(r));
    EXPECT_EQ(o.GetTerrainDetail(), 2);
    EXPECT_EQ(o.GetVolume(1), 10);

    cOptionsMgr fresh;
    std::vector<uint8_t> cut = RecordOfVersion(4);
    cut.resize(12);
    EXPECT_FALSE(fresh.FromBytes(cut));
    EXPECT_EQ(fresh.GetVolume(0), 8);
    std::vector<uint8_t> future = RecordOfVersion(4);
    future[0] = 5;
    EXPECT_FALSE(fresh.FromBytes(future));
}

TEST(cOptionsMgr, AVersionFourFileRoundTripsByteForByte) {
    ScratchDir dir;
    WriteOptionsFile(dir / "options.iff", RecordOfVersion(4));
    cOptionsMgr o;
    ASSERT_TRUE(o.Load((dir / "options.iff").string()));
    EXPECT_EQ(o.ToBytes(), RecordOfVersion(4));
    ASSERT_TRUE(o.Save((dir / "saved.iff").string()));
    EXPECT_EQ(ReadWhole(dir / "saved.iff"), ReadWhole(dir / "options.iff"));
    EXPECT_FALSE(std::filesystem::exists(dir / "saved.iff.~tmp"));
}

TEST(cOptionsMgr, SavingAfterAFactoryResetWritesZeroAndNoRuns) {
    cOptionsMgr o;
    o.ApplyFactoryDefaults();
    const std::vector<uint8_t> bytes = o.ToBytes();
    ASSERT_EQ(bytes.size(), RecordOfVersion(4).size());
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[16], 0);
    EXPECT_EQ(o.GetRunCount(), 0);
}

TEST(cOptionsMgr, SwitchWords) {
    struct Case {
        std::vector<std::string> words;
        std::function<void(const cOptionsMgr&)> check;
    } cases[] = {
        {{"-shadows", "on", "-shadows", "off"}, [](const cOptionsMgr& o) { EXPECT_TRUE(o.GetShadows()); }},
        {{"-factory", "-shadows", "off"},
         [](const cOptionsMgr& o) {
             EXPECT_TRUE(o.GetShadows());
             EXPECT_TRUE(o.GetFactoryReset());
             EXPECT_EQ(o.GetRunCount(), 1);
         }},
        {{"-terrdtl", "medium", "-chardtl", "low"},
         [](const cOptionsMgr& o) {
             EXPECT_EQ(o.GetTerrainDetail(), 2);
             EXPECT_EQ(o.GetCharacterDetail(), 0);
         }},
        {{"-soundfx", "99", "-soundmusic", "-4", "-soundvox", "6"},
         [](const cOptionsMgr& o) {
             EXPECT_EQ(o.GetVolume(0), 10);
             EXPECT_EQ(o.GetVolume(1), 0);
             EXPECT_EQ(o.GetVolume(2), 6);
         }},
        {{"-simbkg", "off", "-exporthtml", "on", "-livepip", "maybe", "-aa"},
         [](const cOptionsMgr& o) {
             EXPECT_TRUE(o.GetPauseInBackground());
             EXPECT_TRUE(o.GetExportHtml());
             EXPECT_FALSE(o.GetLivePip());
             EXPECT_FALSE(o.GetBlended());
         }},
    };
    for (const Case& c : cases) {
        cOptionsMgr o;
        o.ApplyOptionSwitches(c.words);
        c.check(o);
    }
}

TEST(cOptionsMgr, TheFifthRunAsksForAQuickTipAndASlowFirstRunLowersTheDetail) {
    ScratchDir dir;
    std::vector<uint8_t> r = RecordOfVersion(4);
    r[16] = 4;  // four runs so far
    WriteOptionsFile(dir / "options.iff", r);
    int tips = 0;
    cOptionsMgr o;
    o.SetHooks({.requestQuickTip = [&tips] { ++tips; }});
    o.Load((dir / "options.iff").string(), true, {"-shadows", "on"});
    EXPECT_EQ(o.GetRunCount(), 5);
    EXPECT_EQ(tips, 1);
    EXPECT_TRUE(o.GetShadows());

    cOptionsMgr first;
    first.SetHooks({.requestQuickTip = [&tips] { ++tips; }});
    first.Load((dir / "none.iff").string(), true, {}, 12);
    EXPECT_EQ(first.GetRunCount(), 1);
    EXPECT_EQ(first.GetTerrainDetail(), 0);
    EXPECT_FALSE(first.GetBlended());
    EXPECT_EQ(tips, 1);
}

TEST(cOptionsMgr, AFailedSaveLeavesTheOldFile) {
    ScratchDir dir;
    WriteOptionsFile(dir / "options.iff", RecordOfVersion(4));
    const std::string before = ReadWhole(dir / "options.iff");
    // A folder in the way of the save's working file (a permission would
    // not stop a privileged test run).
    std::filesystem::create_directories(dir / "options.iff.~build" / "x");
    cOptionsMgr o;
    o.SetVolume(0, 1);
    std::string error;
    EXPECT_FALSE(o.Save((dir / "options.iff").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadWhole(dir / "options.iff"), before);
}

// The child of the kill test: saves records with growing run counts until
// it is killed.
TEST(cOptionsMgrChild, SavesUntilKilled) {
    const char* target = std::getenv("TOVA_OPTIONS_SAVE_LOOP");
    if (!target) GTEST_SKIP() << "run by cOptionsMgr.AKillDuringSaveLeavesTheOldOrTheNewFile";
    cOptionsMgr o;
    for (int i = 0;; ++i) {
        o.ApplyOptionSwitches({"-soundfx", std::to_string(i % 11)});
        ASSERT_TRUE(o.Save(target));
    }
}

TEST(cOptionsMgr, AKillDuringSaveLeavesTheOldOrTheNewFile) {
    ScratchDir dir;
    const std::filesystem::path target = dir / "options.iff";
    cOptionsMgr first;
    ASSERT_TRUE(first.Save(target.string()));
    for (int round = 0; round < 3; ++round) {
        // The child runs the whole filter, whatever shard of the tests this run is.
        const std::string command = "env -u GTEST_SHARD_INDEX -u GTEST_TOTAL_SHARDS TOVA_OPTIONS_SAVE_LOOP='" +
                                    target.string() + "' timeout -s KILL 0.3 '" +
                                    std::string(TOVA_BIN_DIR) + "/test_shell' --gtest_filter=cOptionsMgrChild.* >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_NE(status, 0);  // killed, never finished
        cOptionsMgr read;
        ASSERT_TRUE(read.Load(target.string())) << "round " << round;
        EXPECT_GE(read.GetVolume(0), 0);
        EXPECT_LE(read.GetVolume(0), 10);
    }
    // The next save clears what the killed one left.
    ASSERT_TRUE(first.Save(target.string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "options.iff.~tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "options.iff.~build"));
}

}  // namespace
