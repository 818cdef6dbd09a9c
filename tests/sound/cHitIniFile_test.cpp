#include "sound/cHitIniFile.h"

#include "TrackFixture.h"
#include "sound/cHitList.h"
#include "sound/cSamplePatch.h"

using namespace sound_test;

namespace {

class HitBankTest : public TrackTest {
protected:
    bool ReadDefinitions(const std::string& text) {
        WriteText("defs/x.hot", text);
        cTovaBoxxIniFile file(engine, dir.Path().string(), (dir / "defs/x.hot").string(), &mappings);
        return file.Read();
    }
};

}  // namespace

TEST_F(HitBankTest, APatchUnderSoundDataIsNeverStreamed) {
    ASSERT_TRUE(ReadDefinitions("[Patch]\n1=1,Door,\"SoundData\\beep.wav\",1,1,0,0,0\n"
                                "2=1,Far,\"Other\\beep.wav\",0,1,1,0,0\n"));
    cISoundObject* door = engine.GetObject(1);
    ASSERT_NE(dynamic_cast<cSamplePatch*>(door), nullptr);
    EXPECT_EQ(door->GetVar(44), 1);  // loop
    EXPECT_EQ(door->GetVar(38), 0);  // stream: under "sounddata\"
    EXPECT_EQ(door->GetVar(43), 0);
    EXPECT_EQ(door->GetVar(26), 0);
    std::string name;
    static_cast<cSamplePatch*>(door)->GetName(name);
    EXPECT_EQ(name, dir.Path().string() + "/SoundData\\beep.wav");
    cISoundObject* far = engine.GetObject(2);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->GetVar(38), 1);
    EXPECT_EQ(far->GetVar(43), 1);
}

TEST_F(HitBankTest, AGlobalHitListTakesRangesAndSingleIds) {
    ASSERT_TRUE(ReadDefinitions("[GlobalHitList]\n40=3-5,9\n"));
    cHitList* list = engine.GetHitList(40);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(list->Available().begin(), list->Available().end()),
              (std::vector<uint32_t>{3, 4, 5, 9}));
}

TEST_F(HitBankTest, EventMappingsResolveEquatesAboveTheirUseAndUnknownNamesToZero) {
    ASSERT_TRUE(ReadDefinitions("[EventMappingEquate]\nkDoor=0x20\n[EventMapping]\nopen=kDoor,7,kLater,1,2,3,4,5\n"
                                "[EventMappingEquate]\nkLater=9\n[EventMapping]\nclose=kLater\n"));
    ASSERT_EQ(mappings.mappings.size(), 2u);
    EXPECT_EQ(mappings.mappings[0].first, "open");
    EXPECT_EQ(mappings.mappings[0].second, (std::array<int32_t, 6>{32, 7, 0, 1, 2, 3}));
    EXPECT_EQ(mappings.mappings[1].second, (std::array<int32_t, 6>{9, 0, 0, 0, 0, 0}));
}

TEST_F(HitBankTest, SectionNamesMatchExactly) {
    ASSERT_TRUE(ReadDefinitions("[patch]\n1=1,Door,\"SoundData\\beep.wav\",0,0,0,0,0\n[Patch\n2=1,X,\"a.wav\"\n"
                                "[Patch]\n3=1,Y,\"SoundData\\beep.wav\"\n0=1,Z,\"a.wav\"\nnoequals\n"));
    EXPECT_EQ(engine.GetObject(1), nullptr);
    EXPECT_EQ(engine.GetObject(2), nullptr);
    EXPECT_NE(engine.GetObject(3), nullptr);
    EXPECT_EQ(engine.ObjectCount(), 1u);
}

TEST_F(HitBankTest, NumbersTakeTheirBaseFromTheirDigits) {
    EXPECT_EQ(cHitIniFile::ParseNumber("12"), 12u);
    EXPECT_EQ(cHitIniFile::ParseNumber("0x1f"), 31u);
    EXPECT_EQ(cHitIniFile::ParseNumber("1f"), 31u);
    EXPECT_EQ(cHitIniFile::ParseNumber("C"), 12u);
}

TEST_F(HitBankTest, TrackDataOutsideTheTableOrBankIsReportedAndIgnored) {
    ASSERT_TRUE(ReadDefinitions("[TrackData]\n5=0\n"));  // no bank yet
    WriteText("b.hit", std::string(10, '\x0f'));
    ASSERT_TRUE(engine.LoadBank((dir / "b.hit").string().c_str()));
    ASSERT_TRUE(ReadDefinitions("[TrackData]\n2048=0\n6=10\n7=9\n"));
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_NE(errors[0].find("5=0"), std::string::npos);
    EXPECT_NE(errors[1].find("2048=0"), std::string::npos);
    EXPECT_NE(errors[2].find("6=10"), std::string::npos);
    EXPECT_EQ(engine.GetTrackData(5), nullptr);
    EXPECT_EQ(engine.GetTrackData(6), nullptr);
    EXPECT_NE(engine.GetTrackData(7), nullptr);
}

TEST_F(HitBankTest, TheSymbolMapsLaterLineWinsAndTracksReadSymbols) {
    WriteText("s.hsm", "kVol 100 (first)\nkVol 700 (second)\nbad line\n 12 (\n" + std::string(300, 'x') + " 5 (\n");
    ASSERT_TRUE(engine.LoadSymbols((dir / "s.hsm").string().c_str()));
    EXPECT_EQ(engine.LookupSymbol("kVol"), 700u);
    EXPECT_EQ(engine.LookupSymbol("bad"), 0u);
    EXPECT_FALSE(engine.LoadSymbols((dir / "missing.hsm").string().c_str()));
    ASSERT_TRUE(ReadDefinitions("[Track]\n10=1,T,@kVol,0,0,0,0,0,0\n"));
    cTrack* track = Track(10);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->GetDefault(18), 700);
}

TEST_F(HitBankTest, AMissingDefinitionFileReadsFalse) {
    cTovaBoxxIniFile missing(engine, dir.Path().string(), (dir / "none.hot").string(), &mappings);
    EXPECT_FALSE(missing.Read());
}

TEST_F(HitBankTest, EveryBankIsKeptAndTheLastIsCurrent) {
    Load("track 10 A 1024 0 0 0 0 a 0\nprogram a 1\nLoadb 5 1\nLoadb 4 100\nWait 4\n", "a");
    Load("track 11 B 1024 0 0 0 0 b 0\nprogram b 2\nNop\nLoadb 5 2\nLoadb 4 100\nWait 4\n", "b");
    Track(10)->StartAndActivate(0, 0, 0);
    Track(11)->StartAndActivate(0, 0, 0);
    Ticks(1);
    EXPECT_EQ(Track(10)->GetLocal(5), 1);
    EXPECT_EQ(Track(11)->GetLocal(5), 2);
    EXPECT_TRUE(errors.empty());
}
