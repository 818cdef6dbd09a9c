// Every time-out and pause of the update protocol in one record. The defaults
// are the protocol's; tests shrink them so a refused frame or a stalled server
// costs milliseconds instead of minutes.
#pragma once

#include <cstdint>

namespace vek {

struct VekSettings {
  int messageTimeoutMs = 300000;     // a read that was given no time-out
  int loopWaitMs = 5000;             // the run's wait for the next message
  int sendAttempts = 6;
  int sendPauseStepMs = 1000;        // pauses 0, 1, 2 ... steps after failed sends
  int lockTimeoutMs = 180000;        // the connection lock
  int headerRounds = 11;             // reads of a header, each after a refused one
  int headerPeeks = 4;               // waits for the 4 first bytes of a header
  int headerPeekPauseMs = 50;        // before peeking again at a header that came in part
  int invalidFramesPerCall = 11;
  int receiveRounds = 16;            // waits for the rest of a frame
  int receiveRoundMs = 1000;
  int flushRounds = 10;              // the connect's flush handshake
  int flushWaitMs = 6000;
  int goodbyeFrames = 11;            // frames read while waiting for the goodbye's status
  int abortPauseMs = 500;            // the abort's waits for the loop to end
  int abortPauses = 11;
  int abortPollMs = 500;             // the export's polls for the worker's end
  int hostCopyPauseMs = 1000;        // before deleting a left-over host copy
  int maxRedirects = 8;
};

// The settings in force for the process (TOVA_VEK_LOOP_WAIT_MS in the
// environment at the first call shortens the loop's wait).
VekSettings& Settings();

}  // namespace vek
