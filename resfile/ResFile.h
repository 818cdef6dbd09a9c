// resfile: everything the game keeps in resource files.
//
// iResFile is the one interface for reading and writing resources (a
// four-character type, a 16-bit id, an optional label and variant; data as
// MemHandles owned by the file's cache). MappedResFile holds what every
// indexed container shares (lookups, adding, replacing, renaming); the IFF
// containers (IFFChunkFile: IFFResFile2 for 2.x with its 'rsmp' map,
// IFFResFile for 1.0 with its name list) keep their chunks in a FlatFile,
// and MemResFile keeps them in memory for tests. Chains (ChainResFile,
// SeqResFile, StdResFile, ObjResFile) present several files, IFF or a folder
// of loose files (ResolveResFile), as one.
//
// Saved objects are ReconObjects: one Reconstitute routine per class
// measures, writes and reads its fields through a ReconStream, and a record
// travels as a handle with a 12-byte header; the containers' own map and
// name list are records too. StringSet reads and writes the 'STR#' string
// tables in twenty language slots. Status codes (ResStatus.h) are the layer's
// only failure reports.
#pragma once

#include "resfile/ChainResFile.h"
#include "resfile/FlatFile.h"
#include "resfile/IFFResFile.h"
#include "resfile/IFFResFile2.h"
#include "resfile/KeyedArrayList.h"
#include "resfile/MemHandle.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/ReconStream.h"
#include "resfile/ResLanguage.h"
#include "resfile/ResStatus.h"
#include "resfile/ResUtil.h"
#include "resfile/ResolveResFile.h"
#include "resfile/SeqResFile.h"
#include "resfile/StringSet.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"
