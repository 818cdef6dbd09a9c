#include "character/LightSet.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

LightRecord Spot(float x) {
    LightRecord r;
    r.position[0] = x;
    r.direction[0] = 0;
    r.direction[2] = -1;
    r.type = static_cast<int32_t>(LightRecordType::Spot);
    r.color[1] = 0.5f;
    r.intensity = 2.0f;
    r.innerAngle = 20;
    r.value48 = 7;
    r.outerAngle = 40;
    r.value60[2] = 9;
    return r;
}

bool SameBytes(const LightRecord& a, const LightRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(LightSet, NewRecordHasTheDocumentedDefaults) {
    const LightRecord r;
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(r.direction[0], 1.0f);
    EXPECT_EQ(r.intensity, 1.0f);
    EXPECT_EQ(r.value48, 1u);
    EXPECT_EQ(r.value52, 1.0f);
    EXPECT_EQ(r.outerAngle, 0.0f);
    unsigned char raw[72];
    std::memcpy(raw, &r, 72);
    const uint32_t type = 3;
    EXPECT_EQ(std::memcmp(raw + 24, &type, 4), 0);  // the type sits at byte 24
}

TEST(LightSet, VersionOneRecordsRoundTripWhole) {
    const std::vector<LightRecord> in{Spot(1), LightRecord{}, Spot(-3)};
    std::vector<LightRecord> out;
    ASSERT_EQ(ReadLightSet(WriteLightSet(in, 1), out), 0u);
    ASSERT_EQ(out.size(), 3u);
    for (size_t i = 0; i < in.size(); ++i) EXPECT_TRUE(SameBytes(in[i], out[i])) << i;
}

TEST(LightSet, VersionZeroRecordReadsFiftySixBytesAndZeroesTheRest) {
    const std::string bytes = WriteLightSet({Spot(5)}, 0);
    EXPECT_EQ(bytes.size(), 8u + 4u + 56u);
    std::vector<LightRecord> out;
    ASSERT_EQ(ReadLightSet(bytes, out), 0u);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].position[0], 5.0f);
    EXPECT_EQ(out[0].innerAngle, 20.0f);
    EXPECT_EQ(out[0].value48, 7u);
    EXPECT_EQ(out[0].outerAngle, 0.0f);
    EXPECT_EQ(out[0].value60[2], 0u);
}

TEST(LightSet, HostileFilesGiveTheirCodesAndKeepWhatWasRead) {
    const std::string good = WriteLightSet({Spot(1), Spot(2)}, 1);
    std::string hugeCount = good;
    const uint32_t count = 0xFFFFFFFF;
    std::memcpy(hugeCount.data() + 4, &count, 4);
    std::string badRecord = good;
    badRecord[8 + 76] = 0x11;  // second record's magic
    std::string badFile = good;
    badFile[0] = 0;
    struct Case {
        std::string bytes;
        uint32_t code;
        size_t kept;
    } cases[] = {
        {"", kLightSetReadError, 0},
        {good.substr(0, 6), kLightSetReadError, 0},
        {badFile, kLightSetBadMagic, 0},
        {hugeCount, kLightSetReadError, 2},
        {good.substr(0, good.size() - 1), kLightSetReadError, 1},
        {badRecord, kLightSetBadMagic, 1},
        {good.substr(0, 8 + 76 + 2), kLightSetReadError, 1},
    };
    for (const Case& c : cases) {
        std::vector<LightRecord> out;
        EXPECT_EQ(ReadLightSet(c.bytes, out), c.code) << c.bytes.size();
        EXPECT_EQ(out.size(), c.kept) << c.bytes.size();
    }
}

TEST(LightSet, LoadsByNameThroughTheSearchPath) {
    tova_test::TempFolder t;
    t.Write("Second/stdlight.lgt", WriteLightSet({Spot(4), LightRecord{}}, 1));
    const std::string saved = GetLightSearchPath();
    EXPECT_EQ(saved, "Lights; ../Lights");
    SetLightSearchPath((t / "First") + ";" + (t / "Second"));
    std::vector<LightRecord> out;
    EXPECT_EQ(LoadLightSet("stdlight", out), 0u);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].position[0], 4.0f);
    EXPECT_EQ(LoadLightSet("absent", out), kLightSetNotFound);
    EXPECT_EQ(out.size(), 2u);
    SetLightSearchPath(saved);
}
