// The track programs' instruction set: each opcode's number, name and
// operands, one character each: R a register byte (1..127), B a byte, L a
// 4-byte little-endian signed long. The interpreter and the bank assembler
// read the same table.
#pragma once

#include <cstdint>
#include <string_view>

enum eTrackCmd : uint8_t {
    kTrackCmdNoteOn = 1,
    kTrackCmdNoteOnByte = 2,
    kTrackCmdNoteOff = 3,
    kTrackCmdLoadb = 4,
    kTrackCmdLoadl = 5,
    kTrackCmdSet = 6,
    kTrackCmdCall = 7,
    kTrackCmdReturn = 8,
    kTrackCmdWait = 9,
    kTrackCmdWaitSamp = 11,
    kTrackCmdReturn2 = 12,
    kTrackCmdJump = 13,
    kTrackCmdTest = 14,
    kTrackCmdNop = 15,
    kTrackCmdAdd = 16,
    kTrackCmdSub = 17,
    kTrackCmdDiv = 18,
    kTrackCmdMul = 19,
    kTrackCmdCmp = 20,
    kTrackCmdLess = 21,
    kTrackCmdGreater = 22,
    kTrackCmdNot = 23,
    kTrackCmdRand = 24,
    kTrackCmdAbs = 25,
    kTrackCmdEnd = 27,
    kTrackCmdAssert = 28,
    kTrackCmdNop2 = 29,
    kTrackCmdNop3 = 30,
    kTrackCmdGetVar = 31,
    kTrackCmdLoop = 32,
    kTrackCmdSetLoop = 33,
    kTrackCmdCallback = 34,
    kTrackCmdSmartAdd = 35,
    kTrackCmdSmartRemove = 36,
    kTrackCmdSmartClear = 37,
    kTrackCmdSmartSetCrit = 38,
    kTrackCmdSmartChoose = 39,
    kTrackCmdAnd = 40,
    kTrackCmdNand = 41,
    kTrackCmdOr = 42,
    kTrackCmdNor = 43,
    kTrackCmdXor = 44,
    kTrackCmdMin = 45,
    kTrackCmdMax = 46,
    kTrackCmdInc = 47,
    kTrackCmdDec = 48,
    kTrackCmdPrintReg = 49,
    kTrackCmdPlayTrack = 50,
    kTrackCmdKillTrack = 51,
    kTrackCmdSharedNoteOn = 58,
    kTrackCmdSharedPitch = 59,
    kTrackCmdSharedPitch2 = 60,
    kTrackCmdSharedPitch3 = 61,
    kTrackCmdJumpEq = 62,
    kTrackCmdJumpNe = 63,
    kTrackCmdJumpGt = 64,
    kTrackCmdJumpLt = 65,
    kTrackCmdJumpGe = 66,
    kTrackCmdJumpLe = 67,
    kTrackCmdSmartSetList = 68,
    kTrackCmdSeqGroupKill = 69,
    kTrackCmdSeqGroupReturn = 70,
    kTrackCmdSeqGroupReturn2 = 71,
    kTrackCmdGetSrcParam = 72,
    kTrackCmdSeqGroupTrackId = 73,
    kTrackCmdSetLocalLocal = 74,
    kTrackCmdSetLocalTarget = 75,
    kTrackCmdSetTargetLocal = 76,
    kTrackCmdWaitEq = 77,
    kTrackCmdWaitNe = 78,
    kTrackCmdWaitGt = 79,
    kTrackCmdWaitLt = 80,
    kTrackCmdWaitGe = 81,
    kTrackCmdWaitLe = 82,
};

struct TrackOpcodeInfo {
    uint8_t op;
    std::string_view name;      // as the assembler writes it, without "kTrackCmd"
    std::string_view operands;  // R, B, L per operand
};

inline constexpr TrackOpcodeInfo kTrackOpcodes[] = {
    {1, "NoteOn", "RR"},        {2, "NoteOnByte", "B"},     {3, "NoteOff", "B"},       {4, "Loadb", "RB"},
    {5, "Loadl", "RL"},         {6, "Set", "RR"},           {7, "Call", "L"},          {8, "Return", ""},
    {9, "Wait", "R"},           {11, "WaitSamp", ""},       {12, "Return2", ""},       {13, "Jump", "L"},
    {14, "Test", "R"},          {15, "Nop", ""},            {16, "Add", "RR"},         {17, "Sub", "RR"},
    {18, "Div", "RR"},          {19, "Mul", "RR"},          {20, "Cmp", "RR"},         {21, "Less", "RR"},
    {22, "Greater", "RR"},      {23, "Not", "R"},           {24, "Rand", "RRR"},       {25, "Abs", "R"},
    {27, "End", ""},            {28, "Assert", "R"},        {29, "Nop2", ""},          {30, "Nop3", ""},
    {31, "GetVar", "RR"},       {32, "Loop", ""},           {33, "SetLoop", ""},       {34, "Callback", "RR"},
    {35, "SmartAdd", "R"},      {36, "SmartRemove", "R"},   {37, "SmartClear", ""},    {38, "SmartSetCrit", "R"},
    {39, "SmartChoose", "R"},   {40, "And", "RR"},          {41, "Nand", "RR"},        {42, "Or", "RR"},
    {43, "Nor", "RR"},          {44, "Xor", "RR"},          {45, "Min", "RL"},         {46, "Max", "RL"},
    {47, "Inc", "R"},           {48, "Dec", "R"},           {49, "PrintReg", "R"},     {50, "PlayTrack", "R"},
    {51, "KillTrack", "R"},     {58, "SharedNoteOn", ""},   {59, "SharedPitch", ""},   {60, "SharedPitch2", ""},
    {61, "SharedPitch3", ""},   {62, "JumpEq", "L"},        {63, "JumpNe", "L"},       {64, "JumpGt", "L"},
    {65, "JumpLt", "L"},        {66, "JumpGe", "L"},        {67, "JumpLe", "L"},       {68, "SmartSetList", "R"},
    {69, "SeqGroupKill", "R"},  {70, "SeqGroupReturn", "R"}, {71, "SeqGroupReturn2", "R"}, {72, "GetSrcParam", "RRR"},
    {73, "SeqGroupTrackId", "RR"}, {74, "SetLocalLocal", "RR"}, {75, "SetLocalTarget", "RR"},
    {76, "SetTargetLocal", "RR"}, {77, "WaitEq", "RR"},     {78, "WaitNe", "RR"},      {79, "WaitGt", "RR"},
    {80, "WaitLt", "RR"},       {81, "WaitGe", "RR"},       {82, "WaitLe", "RR"},
};

inline const TrackOpcodeInfo* FindTrackOpcode(std::string_view name) {
    for (const TrackOpcodeInfo& info : kTrackOpcodes)
        if (info.name == name) return &info;
    return nullptr;
}
