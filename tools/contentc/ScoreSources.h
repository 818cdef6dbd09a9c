// Score sources: a text that the content compiler turns into one ".fsc"
// score of the outdoor ambience. One keyword a line, '#' starts a comment:
//
//   file vux_amb.fsc            output name
//   folder SoundData/Outdoors   where under the data root it goes (the
//                               default); its clips go there too (.tone)
//   version 7                   6 or 7
//   volume V  quantise 0|1  target T  ceiling C  rows R  columns C
//   tempo BPM  beats PER_BAR  radius ROW COLUMN  steps COLUMN ROW
//   cell ROW COLUMN NAME [KEY VALUE...]
//       volume V, randomvolume 0|1, place ACROSS DEPTH, randomplace 0|1,
//       fadein 0|1, fadeout MS, beats N, counted 0|1, class 0..20,
//       pitch LOW HIGH, barsync 0|1, group G, conflict ROW COLUMN (repeats)
//   A cell named "none" is written as an empty place, as is any place
//   without a cell line.
#pragma once

#include <memory>
#include <string>

#include "sound/cFreshScore.h"

struct ScoreDescription {
    std::string file;
    std::string folder = "SoundData/Outdoors";
    int32_t version = 7;
    std::unique_ptr<cFreshScore> score = std::make_unique<cFreshScore>();
};

// False with "file:line: reason" for a bad source.
bool ParseScoreSource(const std::string& name, const std::string& text, ScoreDescription& out, std::string& error);
// Writes root/FOLDER/FILE.
bool WriteScoreSource(const ScoreDescription& score, const std::string& root, std::string& error);
