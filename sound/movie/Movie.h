// The movie player: a decode thread that reads the stream, decodes the
// frames into the request's surface and paces them on the audio clock, and
// an audio feeder thread that moves the decoded sound into the sound device
// (a looping voice on the mixer) every 10 ms, or runs the device-less clock.
//
// States: 1 opened, 2 decode thread running, 3 playing, 4 paused (set by the
// caller), 5 stop requested, 6 finished, 7 freed.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/movie/MovieRequest.h"

// The request, or null (request->error says why) when the file cannot be
// opened or holds no chunk to play.
MovieRequest* MovieOpen(const char* fileName, MovieRequest* request);
// The same over bytes in memory.
MovieRequest* MovieOpenBytes(std::vector<uint8_t> bytes, MovieRequest* request);
// 0 started on its own thread, 1 played to the end on the caller's thread
// (without kMovieOwnThread), -1 the thread could not be made.
int32_t MovieStart(MovieRequest* request);
// Opens and starts a movie whose context frees itself when it ends.
MovieRequest* MovieOpenAndStart(const char* fileName, MovieRequest* request);
bool MovieIsPlaying(const MovieRequest* request);
// 0, or -1 when there is nothing playing to stop (never opened, finished,
// freed). Waits until the decode thread has finished.
int32_t MovieStop(MovieRequest* request);
void MovieClose(MovieRequest* request);
const char* MovieErrorText(int32_t code);
