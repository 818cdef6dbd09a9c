#pragma once
// gamedata/: what the game keeps in its data files above the resource layer.
// Behaviour trees and their constant tables (Behavior, BehaviorTree), the
// entry-tree tables (ObjFnTable), draw groups, slots, tuning constants and
// motive curves are read from resources handed over by a ResourceSource
// (ResFileSource adapts the resource layer's files; records go through its
// record stream, RecordIO); the broadcast list (Commander) and the simulation
// random numbers (SimRandom) are the process-wide pieces the simulation
// shares; BehaviorAssembler turns trees into readable text and back. Readers
// never trust a count or length: each one is checked against the bytes that
// exist and a bad resource fails with a status.

#include "gamedata/Behavior.h"
#include "gamedata/Commander.h"
#include "gamedata/ResourceSource.h"
#include "gamedata/SimRandom.h"
