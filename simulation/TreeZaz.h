#pragma once
// The behaviour-tree interpreter every live object is. It keeps a stack of
// frames, one per tree being run, in one growable arena, and executes one
// node at a time: a primitive (opcode below 256) goes to the object's
// RunPrimitive, a tree call pushes a frame. A tree is validated when it is
// first fetched to run and the frame keeps it, so a step does no lookup and
// every node, target and operand read stays within the checked bytes. Errors
// are 16-bit codes: they end the object's tick or synchronous run, are kept
// in the error code and handed to OnError, and leave the stack as it was.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gamedata/Behavior.h"
#include "simulation/ObjectErrorCode.h"

class ReconStream;

namespace tova {

// Primitive results.
enum PrimitiveResult : int32_t {
  kPrimFalse = 0,
  kPrimTrue = 1,
  kPrimYield = 2,
  kPrimAgain = 3,
  kPrimStop = -1,
};

// Step results.
enum StepResult : int32_t { kStepGoOn = 0, kStepYielded = 1, kStepStopped = 2 };

constexpr uint16_t kSentinelTreeId = 0xFFFF;
constexpr uint16_t kFrameBreakpoint = 0x8000;

// One frame; its parameters, then its locals, follow it in the arena.
struct TreeStackFrame {
  uint16_t treeId = 0;  // bit 15: breakpoint on the frame
  int16_t node = 0;
  int16_t stackObject = 0;
  uint8_t localCount = 0;
  uint8_t paramCount = 0;
  int32_t primitiveState = 0;
  uint32_t treeBytes = 0;      // size of the validated tree, 0 when not fetched
  Behavior* behavior = nullptr;
  uint8_t* tree = nullptr;     // the validated tree, null until fetched

  int16_t* Params() { return reinterpret_cast<int16_t*>(this + 1); }
  int16_t* Locals() { return Params() + paramCount; }
  bool IsSentinel() const { return treeId == kSentinelTreeId; }
  uint16_t TreeId() const { return treeId == kSentinelTreeId ? treeId : static_cast<uint16_t>(treeId & 0x7FFF); }
  // The frame's tree, fetched and checked on first use; empty when gone.
  TreeView Tree();
};
static_assert(sizeof(TreeStackFrame) % 8 == 0, "frames stay 8-byte aligned in the arena");

// How a saved frame names its Behavior: the live object stores a reference
// to its definition.
class BehaviorCodec {
 public:
  virtual ~BehaviorCodec() = default;
  virtual void Transfer(ReconStream& stream, Behavior*& behavior) = 0;
};

// A codec for stacks whose frames all run one known Behavior (tools, tests
// and fuzz targets): a frame stores 1 for it and 0 for anything else.
class OneBehaviorCodec : public BehaviorCodec {
 public:
  explicit OneBehaviorCodec(Behavior* behavior) : behavior(behavior) {}
  void Transfer(ReconStream& stream, Behavior*& b) override;
  Behavior* behavior;
};

class TreeZaz {
 public:
  static constexpr int32_t kDefaultIterationLimit = 10000;

  TreeZaz();
  virtual ~TreeZaz();
  TreeZaz(const TreeZaz&) = delete;
  TreeZaz& operator=(const TreeZaz&) = delete;

  // The interpreter's globals: the node budget of one tick or synchronous
  // run, and the flag that no synchronous run is under way.
  static int32_t IterationLimit() { return iterationLimit_; }
  static void SetIterationLimit(int32_t limit) { iterationLimit_ = limit; }
  static bool TopLevel() { return topLevel_; }

  virtual int32_t RunPrimitive(TreeStackFrame& frame, TreeNode node) = 0;
  virtual void OnError(int16_t code) = 0;
  virtual void OnFramePopped() {}
  virtual int32_t OnBreakpoint(TreeStackFrame& frame, TreeNode* node);
  // One simulation tick: true when a primitive yielded or an error was
  // caught, false when a primitive stopped.
  virtual bool Tick();

  // The parameters come from source (sourceWords words of it; the rest are
  // 0), or from the default source when it is null.
  bool PushTree(Behavior* behavior, const int16_t* source, int32_t treeId, int32_t sourceWords = 4);
  bool RunTree(Behavior* behavior, int16_t stackObject, int32_t treeId, const int16_t* source);
  bool RunTreeByName(Behavior* behavior, int16_t stackObject, const std::string& name, const int16_t* source);
  int32_t StepNode();
  bool ResetAndPush(Behavior* behavior, int32_t treeId);
  void Reserve(int32_t frames, int16_t* defaultSource, int32_t defaultWords = 8);

  TreeStackFrame* CurrentFrame() { return frames_.empty() ? nullptr : FrameAtOffset(frames_.back()); }
  int32_t FrameCount() const { return static_cast<int32_t>(frames_.size()); }
  TreeStackFrame* FrameAt(int32_t i);
  static int16_t* FrameParams(TreeStackFrame& f) { return f.Params(); }
  static int16_t* FrameLocals(TreeStackFrame& f) { return f.Locals(); }
  uint16_t CurrentOpcode();
  TreeStackFrame* OwnRunTop();
  TreeStackFrame* BehaviorRunBottom();
  static std::string FrameTreeName(TreeStackFrame& frame);
  // Every frame fetches its tree again on its next step (trees reloaded).
  void DropTrees();

  // Frames in the record stream at the object's version; false when the
  // bytes cannot hold what they claim (the frames are then empty).
  bool Transfer(ReconStream& stream, int32_t version, BehaviorCodec& codec);

  int16_t GetErrorCode() const { return errorCode_; }
  void SetErrorCode(int16_t code) { errorCode_ = code; }
  bool LastResult() const { return lastResult_; }
  int32_t LastTarget() const { return lastTarget_; }
  int32_t IterationCount() const { return iterations_; }
  int16_t* DefaultSource() const { return defaultSource_; }
  // A tick or synchronous run of this interpreter is under way: deleting it
  // now would pull the frames from under the running step.
  bool IsRunning() const { return runDepth_ > 0; }

 protected:
  void PopFrame();
  void ClearFrames();

 private:
  TreeStackFrame* FrameAtOffset(uint32_t offset) {
    return reinterpret_cast<TreeStackFrame*>(arena_ + offset);
  }
  static size_t FrameSize(int32_t words);
  TreeStackFrame& AppendFrame(int32_t words);
  void PushSentinel();
  int32_t Transition(TreeStackFrame& frame, uint8_t target, bool result);
  bool ReadFrames(ReconStream& stream, int32_t version, BehaviorCodec& codec);
  void WriteFrames(ReconStream& stream, int32_t version, BehaviorCodec& codec);
  void Raise(int16_t code);

  struct RunningMark {
    explicit RunningMark(TreeZaz& z) : zaz(z) { ++zaz.runDepth_; }
    ~RunningMark() { --zaz.runDepth_; }
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
    TreeZaz& zaz;
  };

  int32_t iterations_ = 0;
  std::unique_ptr<uint64_t[]> arenaStore_;
  uint8_t* arena_ = nullptr;  // start of arenaStore_
  size_t capacity_ = 0;
  size_t used_ = 0;
  std::vector<uint32_t> frames_;  // arena offsets, bottom first
  int32_t lastTarget_ = kTargetUndefined;
  bool lastResult_ = false;
  int16_t* defaultSource_ = nullptr;
  int32_t defaultWords_ = 0;
  int16_t errorCode_ = 0;
  int32_t runDepth_ = 0;

  static inline int32_t iterationLimit_ = kDefaultIterationLimit;
  static inline bool topLevel_ = true;
};

}  // namespace tova
