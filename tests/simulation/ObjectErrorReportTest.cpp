// The object error report: reset without a trace while "debug_objects" is
// off; with it on, the report file's name and text, the fallback folder, and
// the dialog's three answers; the primitive profiler's records.
#include <gtest/gtest.h>

#include <filesystem>

#include "SimFixture.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/PrimProfiler.h"
#include "simulation/cSimulator.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;
using tova_test::ScratchDir;
using tova_test::SimFixture;

class DebugShell : public iGameShell {
 public:
  bool DebugObjects() const override { return on; }
  bool on = true;
};

class ScriptedDialog : public iPictureDialog {
 public:
  int32_t ShowModal(const std::string& t, const std::string& m, const std::vector<std::string>& b) override {
    title = t;
    message = m;
    buttons = b;
    ++shown;
    if (during) during();
    return answer;
  }
  void ShowMessageBox(const std::string& t, const std::string& text) override {
    title = t;
    message = text;
  }
  std::string title, message;
  std::vector<std::string> buttons;
  int32_t answer = ObjectErrorReport::kCancel;
  int shown = 0;
  std::function<void()> during;
};

class ErrorReport : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    // Main calls tree 4097, which runs an illegal primitive.
    Trees("tree 4096 \"Main\"\n params 4\n locals 2\nn0: 4097 -> n0 n0\nend\n"
          "tree 4097 \"Broken\"\n params 4\nn0: 200 -> n0 n0\nend\n");
    module.SetShell(&shell);
    report.SetDialog(&dialog);
    report.SetHouseNumber(3);
    report.SetTickSource([] { return 1234; });
    report.SetFolders(dir.Path().string(), "");
  }
  cXObject* Failing() {
    cXObject* o = Run();
    o->Tick();
    EXPECT_EQ(o->GetErrorCode(), kErrIllegalPrimitive);
    return o;
  }
  std::filesystem::path File() const { return dir.Path() / "ObjectError_h03_t1234.txt"; }

  ScratchDir dir;
  DebugShell shell;
  ScriptedDialog dialog;
  ObjectErrorReport report;
};

TEST_F(ErrorReport, DebugObjectsOffResetsWithoutFileOrDialog) {
  shell.on = false;
  cXObject* o = Failing();
  report.ReportError(*o);
  EXPECT_EQ(o->GetErrorCode(), 0);
  EXPECT_EQ(o->FrameCount(), 1) << "back on its main tree";
  EXPECT_EQ(dialog.shown, 0);
  EXPECT_FALSE(std::filesystem::exists(File()));
}

TEST_F(ErrorReport, TheFileHoldsTheMessageBuildAndFramesTopFirst) {
  cXObject* o = Failing();
  o->Temps()[2] = 17;
  report.ReportError(*o);
  ASSERT_TRUE(std::filesystem::exists(File()));
  const std::string text = tova_test::ReadBytes(File());
  const std::string id = std::to_string(o->GetId());
  const std::string head = "An error occurred in object \"Thing\" #" + id + ", \nIllegal primitive code.";
  EXPECT_EQ(text.rfind(head, 0), 0u) << text;
  EXPECT_NE(text.find("\nBuild: Automated build, code cut on Wed Jan  5 17:25:48 PST 2000. (x)\n\n"), std::string::npos);
  EXPECT_NE(text.find("Object id: " + id + " name: Thing\nStack size: 2\nError: "), std::string::npos);
  const size_t frame1 = text.find("  Frame 1:\n");
  const size_t frame0 = text.find("  Frame 0:\n");
  ASSERT_NE(frame1, std::string::npos);
  ASSERT_NE(frame0, std::string::npos);
  EXPECT_LT(frame1, frame0);
  EXPECT_NE(text.find("    Tree: id 4097 name 'Broken' version 0\n     from Thing.iff\n", frame1), std::string::npos) << text;
  EXPECT_NE(text.find("    Locals: 0 0\n", frame0), std::string::npos);
  EXPECT_NE(text.find("\nTemps:\n0 = 0\n1 = 0\n2 = 17\n"), std::string::npos);
  EXPECT_NE(text.find("\nData:\n0 = "), std::string::npos);
  EXPECT_EQ(dialog.title, "Object Error");
  EXPECT_EQ(dialog.buttons, (std::vector<std::string>{"Cancel", "Reset", "Delete"}));
  EXPECT_EQ(dialog.message, head + " The stack trace is saved in \"" + File().string() + "\".");
  EXPECT_EQ(o->GetErrorCode(), kErrIllegalPrimitive) << "Cancel leaves the object";
  report.ReportError(*o);
  EXPECT_EQ(dialog.shown, 1) << "the pending flag was cleared";
}

TEST_F(ErrorReport, TheDialogsAnswers) {
  dialog.answer = ObjectErrorReport::kReset;
  cXObject* o = Failing();
  report.ReportError(*o);
  EXPECT_EQ(o->GetErrorCode(), 0);
  dialog.answer = ObjectErrorReport::kDelete;
  o = Failing();
  const int16_t id = o->GetId();
  report.ReportError(*o);
  EXPECT_EQ(module.GetObjectById(id), nullptr);
}

TEST_F(ErrorReport, AFolderThatCannotBeWrittenFallsBackThenSaysSo) {
  const std::filesystem::path user = dir.Path() / "user";
  std::filesystem::create_directories(user);
  report.SetFolders((dir.Path() / "missing").string(), user.string());
  report.ReportError(*Failing());
  EXPECT_TRUE(std::filesystem::exists(user / "ObjectError_h03_t1234.txt"));
  report.SetFolders((dir.Path() / "missing").string(), (dir.Path() / "missing2").string());
  report.ReportError(*Failing());
  EXPECT_TRUE(report.LastFile().empty());
  EXPECT_NE(dialog.message.find("Illegal primitive code. The stack trace could not be saved."), std::string::npos);
  EXPECT_EQ(dialog.shown, 2) << "the dialog still offers its choices";
}

TEST_F(ErrorReport, TheDialogsModalLoopRunsNoNestedFrame) {
  cSimulator sim;
  sim.Reset(&module);
  uint32_t now = 100;
  sim.SetClock([&now] { return now; });
  sim.SetErrorReport(&report);
  Failing();  // reported by the pass
  int32_t ticksInside = -1;
  dialog.during = [&] {
    now += 500;
    const int32_t before = sim.GetTickCount();
    sim.RunFrame();
    ticksInside = sim.GetTickCount() - before;
  };
  sim.RunFrame();
  EXPECT_EQ(dialog.shown, 1);
  EXPECT_EQ(ticksInside, 0);
}

TEST_F(ErrorReport, AssertsShowTheirText) {
  report.ShowAssert("bad state");
  EXPECT_EQ(dialog.title, "XASSERT");
  EXPECT_EQ(dialog.message, "bad state");
}

TEST_F(ErrorReport, TheObjectsProfilerCountsItsPrimitives) {
  // temp 0 += 1, parameter 0 := 1, sleep for parameter 0 ticks.
  Trees("tree 4098 \"Loop\"\n params 4\nn0: " + tova_test::Expr(kOwnerTemp, 0, 3, kOwnerLiteral, 1) + " -> n1 n1\nn1: " +
        tova_test::Expr(kOwnerParam, 0, 5, kOwnerLiteral, 1) + " -> n2 n2\nn2: 0 -> n0 n0\nend\n");
  uint64_t us = 0;
  int32_t tick = 7;
  PrimProfiler profiler(4, [&tick] { return tick; }, [&us] { return us += 5; });
  cXObject* o = Run(4098);
  o->SetProfiler(&profiler);
  o->Tick();
  ASSERT_EQ(profiler.SamplesTaken(), 1);
  const PrimProfiler::TickRecord* r = profiler.RecordOf(0);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->tick, 7);
  ASSERT_EQ(r->entries.size(), 2u);
  EXPECT_EQ(r->entries[0].opcode, 2);
  EXPECT_EQ(r->entries[0].calls, 2);
  EXPECT_EQ(r->entries[0].totalMicroseconds, 10);
  EXPECT_EQ(r->entries[1].opcode, 0);
  EXPECT_EQ(r->entries[1].calls, 1);
  EXPECT_EQ(o->GetErrorCode(), 0);
  profiler.SetSuspended(true);
  o->Tick();
  EXPECT_EQ(profiler.SamplesTaken(), 1);
  // A primitive's time beyond 32 bits counts as the largest value.
  profiler.SetSuspended(false);
  PrimProfiler big(1, {}, [&us] { return us += 0x100000000ull; });
  big.StartTick();
  big.StartPrimitive(9);
  big.StopPrimitive(9);
  big.EndTick();
  EXPECT_EQ(big.RecordOf(0)->entries[0].totalMicroseconds, INT32_MAX);
  EXPECT_EQ(big.Durations()[0], INT32_MAX);
}

}  // namespace
