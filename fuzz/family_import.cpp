// A family file's bytes read as an import offer: the export record, the
// family, the member names and portraits, and the house part with its
// thumbnails. It must refuse or read, never crash or read outside.
#include <cstdint>
#include <string>

#include "FuzzScratch.h"
#include "neighborhood/FamilyOperations.h"
#include "resfile/IFFResFile2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput("family_import.FAM", data, size);
    FamilyImport record;
    ReadFamilyFile(path, record, true);
    IFFResFile2 file;
    if (file.Open(path) == 0) {
        LotInfo lot;
        ReadLotSummary(file, lot, true);
        file.Close();
    }
    return 0;
}
