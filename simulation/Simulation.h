#pragma once
// simulation/: the live objects of a lot and the behaviour-tree interpreter
// that runs them.
//
// How the pieces meet:
//   TreeZaz.h         the interpreter: frames in one arena, steps, ticks,
//                     synchronous runs, saved frame stacks;
//   ObjectErrorCode.h the 16-bit error codes and their messages;
//   cXObject.h        a live object: its words, operand access (the variable
//                     owners) and the primitives it carries out;
//   ObjectModule.h    the objects of the lot: ids, the object list, the
//                     scheduler words of the object pass;
//   MotiveEntryTable.h the shared motive entries trees read and write.
//   SoundPlayer.h     the one sound facade (objects, people, tools, controls).
// The lot's world, view and rooms are reached through the interfaces in
// gamedata/LotInterfaces.h.

#include "simulation/MotiveEntryTable.h"
#include "simulation/ObjectErrorCode.h"
#include "simulation/ObjectModule.h"
#include "simulation/SoundPlayer.h"
#include "simulation/TreeZaz.h"
#include "simulation/cXObject.h"
