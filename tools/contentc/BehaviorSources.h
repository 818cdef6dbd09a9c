// Behaviour data in content sources. Each statement is a block that ends
// with "end" on a line of its own; ids and numbers take 0x for hex, labels
// are quoted.
//
//   tree 4096 "label"           a behaviour tree ('BHAV') in the tree
//     ...                         assembler's text (see BehaviorAssembler.h)
//   end
//   constants 4096 "label" [tunable]    a constant table ('BCON'):
//     10 -20 0x7F                       16-bit values, any number a line
//   end
//   functions 128 "label"       entry trees ('OBJf'), one entry a line:
//     4096 [companion]            tree id and companion id (0 when left out)
//   end
//   slots 128 "label"           slots ('SLOT'), one a line: a type
//     routing 0.5 0 0 facing=2    (object, point, routing or a number), x y z,
//   end                           then any of params=a,b,c flags=N target=N
//                                 distances=a,b,c (sixteenths) tolerance=F
//                                 facing=N last=N height=N words=a,b
//   drawgroup 200 "label"       a draw group ('DGRP'):
//     image directions=0x0F zoom=1     an image for those directions
//       sprite 100 frame=0 x=-4 y=9 vertical=0 plane=0,0 flags=0
//   end                                its sprites, by sprite resource id
//   floats 1 "label"            named constants ('FCNS'), one a line:
//     "energy span" 180 ["comment"]
//   end
//   interactions 300 "label"    a tree table ('TTAB', names in 'TTAs'):
//     "Sit" action=4098 check=0 flags=0 attenuation=3 custom=0 number=0
//           motive=K,W0,W1,W2 ...   (any of the settings, motive repeated)
//   end
//   treeconstants 4096 "label"  what a constant table's elements mean
//     "Seat height" ["comment"] [min max]     ('TRCN'), one a line
//   end
//   treeprops 4098 "label"      names of a tree's parameters and locals
//     param "who"                 ('TPRP'), in order
//     local "count"
//   end
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "tools/contentc/ContentSource.h"

// When `verb` starts a behaviour block, reads the rest of it from `in`
// (advancing `lineNumber`) and adds its resource to the last file: 1, or -1
// with a "source:line: message" error. 0 for any other statement.
int ParseBehaviorStatement(const std::string& sourcePath, const std::string& firstLine, const std::string& verb,
                           std::istream& in, int& lineNumber, std::vector<ContentFile>& files, std::string& error);
