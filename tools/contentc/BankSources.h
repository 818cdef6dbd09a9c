// Sound-bank sources: a text that the content compiler turns into the three
// files of one bank, SoundData/NAME.hit (track programs), .hsm (symbols) and
// .hot (definitions). One statement a line, '#' starts a comment:
//
//   bank tiny                       the base name of the three files
//   equate NAME VALUE               an equate of the definitions
//   symbol NAME VALUE               a symbol line
//   patch ID NAME FILE [LOOP STREAM PRELOAD SPATIAL SPATIALFLAG]
//   track ID NAME VOLUME KIND PRIORITY GROUP ATTENUATION PROGRAM PATCH
//                                   PROGRAM may name a program or label
//   hitlist ID ITEM...              items "A" or "A-B"
//   event NAME ITEM...              an event mapping of up to six items
//   trackdata INDEX OFFSET          a raw track-data entry
//   hot TEXT                        a raw line of the definitions
//   program NAME [INDEX]            a program starts here (the index is
//                                   the next free one when not given)
//   NAME:                           a label: a program entry of its own
//   OPCODE OPERAND...               an instruction (see sound/cTrackOpcodes.h);
//                                   registers and bytes are numbers, longs
//                                   numbers or program / label names
//   bytes N...                      raw bytes of byte code
//
// Every program and label is written to the symbols with its index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BankImage {
    std::string name;
    std::vector<uint8_t> code;
    std::string symbols;
    std::string definitions;
};

// False with "file:line: reason" for a bad source.
bool AssembleBank(const std::string& sourceName, const std::string& text, BankImage& out, std::string& error);
// Writes root/SoundData/NAME.hit, .hsm and .hot.
bool WriteBank(const BankImage& bank, const std::string& root, std::string& error);
