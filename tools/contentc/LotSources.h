// Lot sources: the layers of a starter house as text, compiled into a house
// file's world layers. One statement a line; '#' starts a comment.
//
//   lot UserData/Houses/House01.iff   output, relative to the data root
//   size 24                           tiles a side (4 to 64); comes first
//   ground 10                         the height of every terrain corner
//   margin 1                          tiles round the edge outside the
//                                     usable area
//   wall X0 Y0 X1 Y1 STYLE PAPER      a straight run between grid points
//   box X0 Y0 X1 Y1 STYLE PAPER       walls round a grid rectangle
//   diagonal X0 Y0 X1 Y1 STYLE PAPER  a run of diagonal walls, |dx| = |dy|
//   floor X0 Y0 X1 Y1 PATTERN [LEVEL] floors on the tiles X0..X1, Y0..Y1
//   pool X0 Y0 X1 Y1                  pool on the tiles X0..X1, Y0..Y1
//   water X0 Y0 X1 Y1                 water likewise
// A later wall over the same edge replaces the earlier one, so doors and
// windows are short runs laid over a box. Objects, the clock, funds, seeds
// and the house's text are listed in HouseSources.h.
#pragma once

#include <string>

// Parses a lot source and writes its layers under root; false with a
// "name:line: reason" error.
bool CompileLot(const std::string& name, const std::string& text, const std::string& root, std::string& error);
