#pragma once
// What a person's animator keeps for walking beyond its record: the target
// it heads for, the start and end of an interpolated move, the segment
// position, the stop wait and the flags of the stepping. Positions are in
// sixteenths of a tile, directions in eighths of a turn.

#include <cstdint>
#include <string>

namespace tova {

struct PersonWalk {
  // The current speed: it rises towards the playback speed by at most 0.2
  // a tick and falls to it at once.
  float speed = 0;
  // x, y, direction.
  float target[3] = {};
  float start[3] = {};
  float end[3] = {};
  // 0 to 1 along the current route segment.
  float segmentPosition = 0;
  float turnAmount = 0;
  float turnStep = 0;
  // A value of the animation clock; 0 none, -1 the wait has ended.
  int32_t stopDeadline = 0;
  float lastStep[2] = {};
  // 0 none, 1 stopping at the route's end, 3 stopping on request.
  int32_t arrivalMode = 0;
  int32_t heldStep = 0;
  bool stepFlag = false;
  bool walking = false;
  int32_t followStopRequest = 0;
  int32_t followEnded = 0;
  float followScale = 1.0f;
  // A start animation of state 6 or 11 has been started.
  bool startPlaying = false;
  // The main practice's weight ramp of the stop wait.
  bool ramping = false;
  float rampFrom = 0, rampTo = 0;
  int32_t rampStart = 0, rampLength = 0;

  // The gait's measures, in sixteenths: distances at which a walk starts
  // with its start animation, half a loop, and the two stride lengths of
  // the loop with the loop times (0 to 1) of its two anchors. Zero ones
  // are measured from the walk and run skills when a walk needs them.
  // The body build measures them all; the run's stop distance is half its
  // travel and the eighth loop an eighth of the walk's half loop.
  float startDistance = 0, runStartDistance = 0, runStopDistance = 0;
  float walkHalfLoop = 0, runHalfLoop = 0, walkEighthLoop = 0;
  float stride[2] = {};
  float anchorPhase[2] = {0.0f, 0.5f};
  // The bones the walk loop's two "anchor" properties name.
  std::string footBone[2];

  // Forgets the measures (the body that gave them is gone).
  void ClearMeasures() {
    startDistance = runStartDistance = runStopDistance = 0;
    walkHalfLoop = runHalfLoop = walkEighthLoop = 0;
    stride[0] = stride[1] = 0;
    anchorPhase[0] = 0.0f;
    anchorPhase[1] = 0.5f;
    footBone[0].clear();
    footBone[1].clear();
  }
};

}  // namespace tova
