#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

using tova_test::RunProgram;
using tova_test::ShellQuote;
using tova_test::TempFolder;

TEST(PlatcheckTest, HeadlessDumpIsThePattern) {
  TempFolder t;
  for (const char* depth : {"565", "555"}) {
    std::vector<std::string> args = {"--headless", "--frames", "2", "--dump", t / "p.png"};
    if (std::string(depth) == "555") args.insert(args.begin(), "--555");
    const auto run = RunProgram("platcheck", args);
    ASSERT_EQ(run.code, 0) << run.err;
    auto image = platform::ReadPngFile(t / "p.png");
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, std::string("tools/golden/platcheck_") + depth + ".png"));
  }
}

TEST(PlatcheckTest, RefusesBadArguments) {
  EXPECT_EQ(RunProgram("platcheck", {"--frames", "x"}).code, 2);
  EXPECT_EQ(RunProgram("platcheck", {"--wat"}).code, 2);
}

// The real window under a virtual X server, with SDL's software renderer,
// must show the very picture the headless run makes.
TEST(PlatcheckTest, RealWindowUnderXvfbShowsTheSamePicture) {
  if (std::system("command -v xvfb-run >/dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run not installed";
  TempFolder t;
  const std::string program = std::string(TOVA_BIN_DIR) + "/platcheck";
  // The X and D-Bus libraries under SDL keep a few allocations for the life
  // of the process; the leak checker of a sanitizer build would fail on them.
  const std::string command =
      "xvfb-run -a env -u SDL_VIDEODRIVER SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 " + ShellQuote(program) +
                              " --frames 2 --dump " + ShellQuote(t / "x.png") + " >/dev/null 2>" + ShellQuote(t / "err");
  ASSERT_EQ(std::system(command.c_str()), 0) << tova_test::ReadBytes(t / "err");
  ASSERT_EQ(RunProgram("platcheck", {"--headless", "--frames", "2", "--dump", t / "h.png"}).code, 0);
  auto real = platform::ReadPngFile(t / "x.png");
  auto headless = platform::ReadPngFile(t / "h.png");
  ASSERT_TRUE(real && headless);
  EXPECT_EQ(real->pixels, headless->pixels);
}

}  // namespace
