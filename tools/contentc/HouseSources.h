// The parts of a lot source beyond its layers: objects placed on the lot,
// the simulator's clock, funds and random seeds, and the house's text.
//
//   object GUID X Y [LEVEL [DIR]]   an object of the catalogue on a tile
//   object GUID                     one kept off the lot (it still runs)
//   clock YEAR MONTH DAY HOUR MINUTE
//   funds N
//   seeds SIMULATION GENERAL        the two random seeds saved with the lot
//   house TEXT...                   the text kept with the lot
// A lot with any of these is written as a whole lot file (simulator state,
// house record, layers and objects) through the house; without them, as
// its layers alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class cFixedWorld;

struct LotObjectPlacement {
    uint32_t guid = 0;
    int32_t x = 0, y = 0, level = 1, direction = 0;  // x -1: off the lot
    int line = 0;
};

struct LotExtras {
    std::vector<LotObjectPlacement> objects;
    std::optional<std::vector<long>> clock;  // year, month, day, hour, minute
    std::optional<int32_t> funds;
    std::optional<std::pair<uint32_t, uint32_t>> seeds;
    std::optional<std::string> text;
    bool Any() const { return !objects.empty() || clock || funds || seeds || text; }
};

// Takes a statement of the list above: true when it was one (error set when
// it was one with wrong values).
bool ParseLotExtra(const std::string& verb, const std::vector<std::string>& words, const std::string& line, int number,
                   LotExtras& extras, std::string& error);

// Writes the whole lot to path, its world a copy of the layers given; false
// with an error.
bool WriteWholeLot(const std::string& name, cFixedWorld& layers, const LotExtras& extras, const std::string& root,
                   const std::string& path, std::string& error);
