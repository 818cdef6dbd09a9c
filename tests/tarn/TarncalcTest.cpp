#include <gtest/gtest.h>

#include <cstdlib>

#include "support/RunProgram.h"

namespace {

using tova_test::RunProgram;

TEST(Tarncalc, ProjectsWithTheDefaultAndAGivenWindow) {
    auto run = RunProgram("tarncalc", {"project", "1", "1", "2"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "sx=479.25 sy=79.75 sz=3.9996e-05 rhw=0.5 code=0x00\n");
    run = RunProgram("tarncalc", {"project", "1", "1", "2", "--window", "0,0,320,240,1,100,0.125,0.125"});
    EXPECT_EQ(run.out, "sx=239.25 sy=59.75 sz=0.010101 rhw=0.5 code=0x00\n");
    run = RunProgram("tarncalc", {"project", "-900", "0", "2"});
    EXPECT_EQ(run.out.substr(run.out.size() - 10), "code=0x10\n");
}

TEST(Tarncalc, PacksAngles) {
    const auto run = RunProgram("tarncalc", {"pack", "0.1", "0.2", "0.3"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "word=0x19a66933 a=0.100098 b=0.200195 c=0.299805\n");
}

TEST(Tarncalc, ChannelsFollowTheVariables) {
    setenv("PRINT_CHANNEL", "-alert,graph", 1);
    setenv("PRINT_DEVICE", "debugger -console", 1);
    const auto run = RunProgram("tarncalc", {"channels"});
    unsetenv("PRINT_CHANNEL");
    unsetenv("PRINT_DEVICE");
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("alert off\n"), std::string::npos);
    EXPECT_NE(run.out.find("graphics on\n"), std::string::npos);
    EXPECT_NE(run.out.find("general off\n"), std::string::npos);
    EXPECT_NE(run.out.find("debugger on\n"), std::string::npos);
    EXPECT_NE(run.out.find("console off\n"), std::string::npos);
}

TEST(Tarncalc, BadCommandsExitTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"spin"}, {"project", "1", "x", "2"}, {"project", "1", "1", "2", "--window", "1,2"}, {"pack", "1"}}) {
        const auto run = RunProgram("tarncalc", args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

}  // namespace
