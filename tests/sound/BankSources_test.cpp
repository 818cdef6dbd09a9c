#include "tools/contentc/BankSources.h"

#include <gtest/gtest.h>

TEST(BankSources, AssemblesProgramsLabelsAndDefinitions) {
    BankImage bank;
    std::string error;
    ASSERT_TRUE(AssembleBank("a.bank",
                             "bank a\nequate kVol 900\nsymbol kX 5\npatch 3 P SoundData\\p.wav 1\n"
                             "track 10 T kVol 0 0 0 0 main 3\nhitlist 40 3-5 9\nevent open kVol 2\n"
                             "program main 7\nLoadb 5 10\nagain:\nLoadl 6 70000\nJump again\nbytes 1 2\n",
                             bank, error))
        << error;
    EXPECT_EQ(bank.name, "a");
    const std::vector<uint8_t> code = {4, 5, 10, 5, 6, 0x70, 0x11, 1, 0, 13, 0, 0, 0, 0, 1, 2};
    EXPECT_EQ(bank.code, code);  // "again" is index 0, the first free one
    EXPECT_EQ(bank.symbols, "kX 5 (symbol)\nmain 7 (program)\nagain 0 (program)\n");
    EXPECT_EQ(bank.definitions,
              "[EventMappingEquate]\nkVol=900\n[Patch]\n3=1,P,\"SoundData\\p.wav\",1,0,0,0,0\n[Track]\n"
              "10=1,T,kVol,0,0,0,0,7,3\n[TrackData]\n7=0\n0=3\n[GlobalHitList]\n40=3-5,9\n[EventMapping]\nopen=kVol,2\n");
}

TEST(BankSources, ErrorsNameTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"bank a\nprogram p\nLoadb 5\n", "a.bank:3: bad value for 'Loadb'"},
        {"bank a\nprogram p\nLoadb 5 300\n", "a.bank:3: bad value for 'Loadb'"},
        {"bank a\nprogram p\nFly 1\n", "a.bank:3: unknown keyword 'Fly'"},
        {"bank a\nLoadb 5 1\n", "a.bank:2: unknown keyword 'Loadb'"},
        {"bank a\nprogram p\nJump nowhere\n", "a.bank: no program or label 'nowhere'"},
        {"bank a\nprogram p 1\nprogram q 1\n", "a.bank:3: bad value for 'program'"},
        {"program p\nEnd\n", "a.bank: no 'bank' line"},
    };
    for (const auto& [source, message] : cases) {
        BankImage bank;
        std::string error;
        EXPECT_FALSE(AssembleBank("a.bank", source, bank, error)) << source;
        EXPECT_EQ(error, message) << source;
    }
}
