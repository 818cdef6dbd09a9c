#include "simulation/TreeZaz.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "resfile/ReconStream.h"

namespace tova {

namespace {

constexpr int16_t kFormatFourParams = static_cast<int16_t>(0x8000);
constexpr int16_t kFormatCappedCounts = static_cast<int16_t>(0x8001);
constexpr size_t kMinArena = 512;

// Parameter and local counts of a frame by the tree's format word.
void FrameCounts(const TreeView& tree, uint8_t& params, uint8_t& locals) {
  const int16_t format = tree.FormatWord();
  if (format == kFormatFourParams) {
    params = 4;
    locals = 0;
  } else if (format == kFormatCappedCounts) {
    params = std::min<uint8_t>(tree.ParamCount(), 4);
    locals = std::min<uint8_t>(tree.LocalCount(), 4);
  } else {
    params = tree.ParamCount();
    locals = tree.LocalCount();
  }
}

}  // namespace

TreeView TreeStackFrame::Tree() {
  if (tree == nullptr) {
    if (behavior == nullptr || IsSentinel()) return {};
    const TreeView view = behavior->GetTree(TreeId());
    if (!view) return {};
    tree = view.Bytes().data();
    treeBytes = static_cast<uint32_t>(view.Bytes().size());
  }
  return TreeView(std::span<uint8_t>(tree, treeBytes));
}

TreeZaz::TreeZaz() = default;
TreeZaz::~TreeZaz() = default;

size_t TreeZaz::FrameSize(int32_t words) {
  const size_t rounded = (static_cast<size_t>(words) + 3) & ~size_t{3};
  return sizeof(TreeStackFrame) + 2 * rounded;
}

TreeStackFrame& TreeZaz::AppendFrame(int32_t words) {
  const size_t size = FrameSize(words);
  if (used_ + size > capacity_) {
    size_t grown = capacity_ != 0 ? capacity_ * 2 : std::max(size * 2, kMinArena);
    grown = std::max(grown, used_ + size);
    grown = (grown + 7) & ~size_t{7};
    auto store = std::make_unique<uint64_t[]>(grown / 8);
    auto* bytes = reinterpret_cast<uint8_t*>(store.get());
    if (used_ != 0) std::memcpy(bytes, arena_, used_);
    arenaStore_ = std::move(store);
    arena_ = bytes;
    capacity_ = grown;
  }
  frames_.push_back(static_cast<uint32_t>(used_));
  auto* frame = new (arena_ + used_) TreeStackFrame();
  std::memset(arena_ + used_ + sizeof(TreeStackFrame), 0, size - sizeof(TreeStackFrame));
  used_ += size;
  return *frame;
}

void TreeZaz::PopFrame() {
  if (frames_.empty()) return;
  used_ = frames_.back();
  frames_.pop_back();
}

void TreeZaz::ClearFrames() {
  frames_.clear();
  used_ = 0;
}

void TreeZaz::Reserve(int32_t frames, int16_t* defaultSource, int32_t defaultWords) {
  if (frames > 0) frames_.reserve(static_cast<size_t>(frames));
  defaultSource_ = defaultSource;
  defaultWords_ = defaultSource != nullptr ? defaultWords : 0;
}

TreeStackFrame* TreeZaz::FrameAt(int32_t i) {
  if (i < 0 || i >= FrameCount()) return nullptr;
  return FrameAtOffset(frames_[static_cast<size_t>(i)]);
}

void TreeZaz::DropTrees() {
  for (uint32_t offset : frames_) {
    FrameAtOffset(offset)->tree = nullptr;
    FrameAtOffset(offset)->treeBytes = 0;
  }
}

bool TreeZaz::PushTree(Behavior* behavior, const int16_t* source, int32_t treeId, int32_t sourceWords) {
  if (behavior == nullptr) {
    TreeStackFrame* top = CurrentFrame();
    if (top == nullptr || top->behavior == nullptr) return false;
    behavior = top->behavior;
  }
  const TreeView tree = behavior->GetTree(treeId);
  if (!tree) return false;
  if (source == nullptr) {
    source = defaultSource_;
    sourceWords = defaultWords_;
  }
  if (source == nullptr) sourceWords = 0;

  int32_t start = 0;
  if (tree.TreeType() == 4) {
    // Before any source exists the start is 0.
    start = sourceWords > 0 ? source[0] : 0;
    start = std::min(start, tree.NodeCount() - 1);
  }
  if (start < 0 || start >= tree.NodeCount()) return false;

  uint8_t params = 0, locals = 0;
  FrameCounts(tree, params, locals);
  const int16_t stackObject = CurrentFrame() != nullptr ? CurrentFrame()->stackObject : 0;
  try {
    TreeStackFrame& frame = AppendFrame(params + locals);
    frame.treeId = static_cast<uint16_t>(treeId);
    frame.node = static_cast<int16_t>(start);
    frame.stackObject = stackObject;
    frame.localCount = locals;
    frame.paramCount = params;
    frame.primitiveState = 0;
    frame.behavior = behavior;
    frame.tree = tree.Bytes().data();
    frame.treeBytes = static_cast<uint32_t>(tree.Bytes().size());
    // Only what the source holds is copied; the rest, and the locals, are 0.
    const int32_t copied = std::min<int32_t>(params, sourceWords);
    if (copied > 0) std::memcpy(frame.Params(), source, static_cast<size_t>(copied) * 2);
  } catch (const std::bad_alloc&) {
    errorCode_ = kErrStackOverflow;
    OnError(kErrStackOverflow);
    return false;
  }
  return true;
}

int32_t TreeZaz::OnBreakpoint(TreeStackFrame& frame, TreeNode* node) {
  if (!frame.IsSentinel()) frame.treeId = static_cast<uint16_t>(frame.treeId & ~kFrameBreakpoint);
  if (node != nullptr) node->SetBreakpoint(false);
  return StepNode();
}

int32_t TreeZaz::Transition(TreeStackFrame& frame, uint8_t target, bool result) {
  if (target == kTargetUndefined) RaiseObjectError(kErrUndefinedTransition);
  frame.node = target;
  lastResult_ = result;
  lastTarget_ = target;
  frame.primitiveState = 0;
  return kStepGoOn;
}

int32_t TreeZaz::StepNode() {
  TreeStackFrame* f = CurrentFrame();
  if (f == nullptr) RaiseObjectError(kErrStackUnderflow);
  if (f->behavior == nullptr) {
    if (FrameCount() < 2) RaiseObjectError(kErrStackUnderflow);
    PopFrame();
    OnFramePopped();
    return kStepGoOn;
  }
  if (!f->IsSentinel() && (f->treeId & kFrameBreakpoint) != 0) return OnBreakpoint(*f, nullptr);

  const int32_t index = f->node;
  if (index < 0 || index > kMaxTreeNodes - 1) {
    if (index == kTargetTrue || index == kTargetFalse) {
      if (FrameCount() < 2) RaiseObjectError(kErrStackUnderflow);
      PopFrame();
      OnFramePopped();
      lastResult_ = index == kTargetTrue;
      TreeStackFrame& caller = *CurrentFrame();
      // A waiting primitive (or a synchronous run's sentinel) resumes
      // without a transition.
      if (caller.primitiveState != 0) return kStepGoOn;
      const TreeView tree = caller.Tree();
      if (!tree.HasNode(caller.node)) RaiseObjectError(kErrNoSuchNode);
      const TreeNode call = tree.Node(caller.node);
      const uint8_t target = lastResult_ ? call.TrueTarget() : call.FalseTarget();
      if (target == kTargetUndefined) RaiseObjectError(kErrUndefinedTransition);
      caller.node = target;
      lastTarget_ = target;
      return kStepGoOn;
    }
    RaiseObjectError(kErrUndefinedTransition);
  }

  const TreeView tree = f->Tree();
  if (!tree.HasNode(index)) RaiseObjectError(kErrNoSuchNode);
  TreeNode node = tree.Node(index);
  if (node.HasBreakpoint()) return OnBreakpoint(*f, &node);

  if (++iterations_ >= iterationLimit_) RaiseObjectError(kErrTooManyIterations);

  const uint16_t opcode = node.Opcode();
  if (opcode < kFirstTreeId) {
    const int32_t frameIndex = FrameCount() - 1;
    const int32_t r = RunPrimitive(*f, node);
    // The primitive may have taken its own frame away (removing the object
    // the frame works on ends the frames that use it): nothing to move on.
    if (FrameAt(frameIndex) == nullptr && (r == kPrimFalse || r == kPrimTrue)) return kStepGoOn;
    switch (r) {
      case kPrimFalse: return Transition(*FrameAt(frameIndex), node.FalseTarget(), false);
      case kPrimTrue: return Transition(*FrameAt(frameIndex), node.TrueTarget(), true);
      case kPrimYield: return kStepYielded;
      case kPrimAgain: return kStepGoOn;
      default: return kStepStopped;
    }
  }

  int16_t operands[4];
  bool allUnset = true;
  for (int i = 0; i < 4; ++i) {
    operands[i] = node.Operand(i);
    if (static_cast<uint16_t>(operands[i]) != 0xFFFF) allUnset = false;
  }
  Behavior* behavior = f->behavior;
  if (PushTree(nullptr, allUnset ? nullptr : operands, opcode, 4)) return kStepGoOn;
  if (errorCode_ == kErrStackOverflow) RaiseObjectError(kErrStackOverflow);
  RaiseObjectError(behavior->GetTree(opcode) ? kErrStackOverflow : kErrNoSuchNode);
}

bool TreeZaz::Tick() {
  iterations_ = 0;
  const RunningMark running(*this);
  try {
    for (;;) {
      const int32_t r = StepNode();
      if (r == kStepYielded) return true;
      if (r == kStepStopped) return false;
    }
  } catch (const ObjectError& e) {
    errorCode_ = e.code;
    OnError(e.code);
    return true;
  }
}

void TreeZaz::PushSentinel() {
  TreeStackFrame& s = AppendFrame(0);
  s.treeId = kSentinelTreeId;
  s.node = 0;
  s.primitiveState = 1;
}

bool TreeZaz::RunTree(Behavior* behavior, int16_t stackObject, int32_t treeId, const int16_t* source) {
  if (errorCode_ != 0) return false;
  const RunningMark running(*this);
  try {
    PushSentinel();
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!PushTree(behavior, source, treeId, 4)) {
    PopFrame();
    OnFramePopped();
    return false;
  }
  CurrentFrame()->stackObject = stackObject;
  const bool keptTopLevel = topLevel_;
  const int32_t keptIterations = iterations_;
  topLevel_ = false;
  iterations_ = 0;
  bool result = false;
  try {
    while (!CurrentFrame()->IsSentinel()) {
      const int32_t r = StepNode();
      if (r == kStepYielded || r == kStepStopped) RaiseObjectError(kErrCheckTreeBlocked);
    }
    PopFrame();
    OnFramePopped();
    result = lastTarget_ == kTargetTrue;
  } catch (const ObjectError& e) {
    errorCode_ = e.code;
    OnError(e.code);
    result = false;
  }
  topLevel_ = keptTopLevel;
  iterations_ = keptIterations;
  return result;
}

bool TreeZaz::RunTreeByName(Behavior* behavior, int16_t stackObject, const std::string& name,
                            const int16_t* source) {
  if (behavior == nullptr) return false;
  const int16_t id = behavior->LocateTree(name);
  return id != 0 && RunTree(behavior, stackObject, id, source);
}

bool TreeZaz::ResetAndPush(Behavior* behavior, int32_t treeId) {
  ClearFrames();
  errorCode_ = 0;
  const int16_t zeros[4] = {0, 0, 0, 0};
  return PushTree(behavior, zeros, treeId, 4);
}

uint16_t TreeZaz::CurrentOpcode() {
  TreeStackFrame* f = CurrentFrame();
  if (f == nullptr) return 0xFFFF;
  const TreeView tree = f->Tree();
  if (!tree.HasNode(f->node)) return 0xFFFF;
  return tree.Node(f->node).Opcode();
}

TreeStackFrame* TreeZaz::OwnRunTop() {
  int32_t lowestSentinel = -1;
  for (int32_t i = 0; i < FrameCount(); ++i) {
    if (FrameAt(i)->IsSentinel()) {
      lowestSentinel = i;
      break;
    }
  }
  if (lowestSentinel < 0) return CurrentFrame();
  return lowestSentinel == 0 ? nullptr : FrameAt(lowestSentinel - 1);
}

TreeStackFrame* TreeZaz::BehaviorRunBottom() {
  const int32_t count = FrameCount();
  if (count == 0) return nullptr;
  Behavior* top = CurrentFrame()->behavior;
  int32_t i = count - 1;
  while (i > 0 && FrameAt(i - 1)->behavior == top) --i;
  return FrameAt(i);
}

std::string TreeZaz::FrameTreeName(TreeStackFrame& frame) {
  if (frame.behavior == nullptr) return "No behavior";
  return frame.behavior->GetTreeName(frame.TreeId());
}

bool TreeZaz::Transfer(ReconStream& stream, int32_t version, BehaviorCodec& codec) {
  if (stream.IsReading()) return ReadFrames(stream, version, codec);
  WriteFrames(stream, version, codec);
  return true;
}

void TreeZaz::WriteFrames(ReconStream& stream, int32_t version, BehaviorCodec& codec) {
  if (version <= 10) return;
  if (version <= 24) {
    int16_t count = static_cast<int16_t>(FrameCount());
    stream.SerializeShorts(&count, 1);
    for (int32_t i = 0; i < FrameCount(); ++i) {
      TreeStackFrame& f = *FrameAt(i);
      int16_t words[3] = {static_cast<int16_t>(f.TreeId()), f.node, f.stackObject};
      stream.SerializeShorts(words, 3);
      int32_t state = f.primitiveState;
      stream.SerializeLongs(&state, 1);
      int16_t extra = 0;
      stream.SerializeShorts(&extra, 1);
      int16_t params[4] = {};
      for (int p = 0; p < 4 && p < f.paramCount; ++p) params[p] = f.Params()[p];
      stream.SerializeShorts(params, 4);
      Behavior* b = f.behavior;
      codec.Transfer(stream, b);
    }
    return;
  }
  int32_t header[2] = {FrameCount(), static_cast<int32_t>(used_)};
  stream.SerializeLongs(header, 2);
  for (int32_t i = 0; i < FrameCount(); ++i) {
    TreeStackFrame& f = *FrameAt(i);
    if (version >= 26) stream.SerializeShorts(&f.stackObject, 1);
    int16_t id = static_cast<int16_t>(f.TreeId());
    stream.SerializeShorts(&id, 1);
    stream.SerializeShorts(&f.node, 1);
    uint8_t counts[2] = {f.localCount, f.paramCount};
    stream.SerializeBytes(counts, 2);
    stream.SerializeShorts(f.Params(), f.paramCount);
    stream.SerializeShorts(f.Locals(), f.localCount);
    stream.SerializeLongs(&f.primitiveState, 1);
    Behavior* b = f.behavior;
    codec.Transfer(stream, b);
  }
}

bool TreeZaz::ReadFrames(ReconStream& stream, int32_t version, BehaviorCodec& codec) {
  ClearFrames();
  if (version <= 10) return true;
  try {
    if (version <= 24) {
      int16_t count = 0;
      stream.SerializeShorts(&count, 1);
      if (!stream.CheckCount(count, 20)) return false;
      for (int32_t i = 0; i < count && !stream.Failed(); ++i) {
        int16_t words[3] = {};
        stream.SerializeShorts(words, 3);
        int32_t state = 0;
        stream.SerializeLongs(&state, 1);
        int16_t extra = 0;
        stream.SerializeShorts(&extra, 1);
        int16_t params[4] = {};
        stream.SerializeShorts(params, 4);
        Behavior* b = nullptr;
        codec.Transfer(stream, b);
        TreeStackFrame& f = AppendFrame(4);
        f.treeId = static_cast<uint16_t>(words[0]);
        f.node = words[1];
        f.stackObject = words[2];
        f.primitiveState = state;
        f.paramCount = 4;
        f.behavior = b;
        std::memcpy(f.Params(), params, sizeof(params));
      }
    } else {
      int32_t header[2] = {};
      stream.SerializeLongs(header, 2);
      // The stored arena size is not trusted: the arena grows to what the
      // frames read need.
      if (!stream.CheckCount(header[0], 10)) return false;
      for (int32_t i = 0; i < header[0] && !stream.Failed(); ++i) {
        int16_t stackObject = 0, id = 0, node = 0;
        if (version >= 26) stream.SerializeShorts(&stackObject, 1);
        stream.SerializeShorts(&id, 1);
        stream.SerializeShorts(&node, 1);
        uint8_t counts[2] = {};
        stream.SerializeBytes(counts, 2);
        if (stream.Failed() || !stream.CheckCount(counts[0] + counts[1], 2)) break;
        TreeStackFrame& f = AppendFrame(counts[0] + counts[1]);
        f.treeId = static_cast<uint16_t>(id);
        f.node = node;
        f.stackObject = stackObject;
        f.localCount = counts[0];
        f.paramCount = counts[1];
        stream.SerializeShorts(f.Params(), f.paramCount);
        stream.SerializeShorts(f.Locals(), f.localCount);
        stream.SerializeLongs(&f.primitiveState, 1);
        Behavior* b = nullptr;
        codec.Transfer(stream, b);
        // The codec may not grow the arena, but refetch to be safe.
        FrameAt(FrameCount() - 1)->behavior = b;
      }
    }
  } catch (const std::bad_alloc&) {
    stream.Fail();
  }
  if (stream.Failed()) {
    ClearFrames();
    return false;
  }
  return true;
}

void OneBehaviorCodec::Transfer(ReconStream& stream, Behavior*& b) {
  int16_t mark = b == behavior ? 1 : 0;
  stream.SerializeShorts(&mark, 1);
  if (stream.IsReading()) b = mark == 1 ? behavior : nullptr;
}

}  // namespace tova
