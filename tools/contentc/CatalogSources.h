// Catalogue data in content sources. Each statement is a block that ends
// with "end" on a line of its own; numbers take 0x for hex, texts are quoted.
//
//   object 128 "Dining Chair"     an object definition ('OBJD', 216 bytes):
//     guid 0x1A2B3C4D               one field a line, by name (below) or
//     type 4                        "word OFFSET VALUE" / "long OFFSET VALUE"
//     entry 0 4096                  function-table entry N gets tree id
//   end
//   catalog 128 [legacy]          catalogue strings ('CTSS', or 'CATS'):
//     name "Dining Chair"
//     description "Seats one."
//     language 3                    texts below are of that language
//   end
//   semiglobal 1                  the semi-global file name ('GLOB'):
//     "ChairGlobals"
//   end
//   career 1 "label"              a career ('CARR') with its levels:
//     name "Culinary"
//     level pay=40 hours=9a-3p title="Dishwasher" values=0,100,0,0,0,0,0
//           hourly=1,2,3,4,5,6,7 extra=0 text1="..." text2 text3 text4
//   end
//
// Object fields by name: stack, firstdrawgroup, drawgroups, treetable,
// pairing, type, master, subindex, guid, skip, price, bodystrings, slots,
// catalogmask1, catalogmask2, catalogstrings, automatic, partkey, neighbour,
// wordarray, facing, mainpart, footprint, category, attributes,
// shareattributes.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "tools/contentc/ContentSource.h"

// When `verb` starts a catalogue block, reads the rest of it from `in`
// (advancing `lineNumber`) and adds its resource to the last file: 1, or -1
// with a "source:line: message" error. 0 for any other statement.
int ParseCatalogStatement(const std::string& sourcePath, const std::string& firstLine, const std::string& verb,
                          std::istream& in, int& lineNumber, std::vector<ContentFile>& files, std::string& error);
