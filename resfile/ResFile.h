// resfile: everything the game keeps in resource files.
//
// iResFile is the one interface for reading and writing resources (a
// four-character type, a 16-bit id, an optional label and variant; data as
// MemHandles owned by the file's cache). Its containers are the IFF files on
// disk, over FlatFile, and MemResFile in memory for tests. Saved objects are
// ReconObjects: one Reconstitute routine per class measures, writes and reads
// its fields through a ReconStream, and a record travels as a handle with a
// 12-byte header. StringSet reads and writes the 'STR#' string tables in the
// twenty language slots; the record stream uses one for its string-table
// mode. Status codes (ResStatus.h) are the layer's only failure reports.
#pragma once

#include "resfile/FlatFile.h"
#include "resfile/IFFResMap.h"
#include "resfile/KeyedArrayList.h"
#include "resfile/MappedResFile.h"
#include "resfile/MemHandle.h"
#include "resfile/MemResFile.h"
#include "resfile/ReconObject.h"
#include "resfile/ReconStream.h"
#include "resfile/ResLanguage.h"
#include "resfile/ResStatus.h"
#include "resfile/ResUtil.h"
#include "resfile/StringSet.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"
