#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

using tova_test::RunProgram;
using tova_test::ShellQuote;
using tova_test::TempFolder;

// A headless run's dump of two frames, at 5-5-5 or 5-6-5.
struct PlatcheckDump {
  TempFolder folder;
  tova_test::ProgramRun run;
  std::optional<platform::Image> image;
  explicit PlatcheckDump(bool depth555) {
    std::vector<std::string> args = {"--headless", "--frames", "2", "--dump", folder / "p.png"};
    if (depth555) args.insert(args.begin(), "--555");
    run = RunProgram("platcheck", args);
    if (run.code == 0) image = platform::ReadPngFile(folder / "p.png");
  }
};

// The 5-6-5 dump made once per test program: the golden test and the
// real-window test compare with the same picture.
const PlatcheckDump& SharedPlatcheckDump565() {
  static const PlatcheckDump dump(false);
  return dump;
}

TEST(PlatcheckTest, HeadlessDumpIsThePattern) {
  const PlatcheckDump dump555(true);
  for (const char* depth : {"565", "555"}) {
    const PlatcheckDump& dump = std::string(depth) == "555" ? dump555 : SharedPlatcheckDump565();
    ASSERT_EQ(dump.run.code, 0) << dump.run.err;
    ASSERT_TRUE(dump.image);
    EXPECT_TRUE(tova_test::MatchesGolden(*dump.image, std::string("tools/golden/platcheck_") + depth + ".png"));
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
  const PlatcheckDump& headless = SharedPlatcheckDump565();
  ASSERT_EQ(headless.run.code, 0) << headless.run.err;
  auto real = platform::ReadPngFile(t / "x.png");
  ASSERT_TRUE(real && headless.image);
  EXPECT_EQ(real->pixels, headless.image->pixels);
}

}  // namespace
