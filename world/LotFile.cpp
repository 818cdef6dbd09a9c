#include "world/LotFile.h"

#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "world/cFixedWorld.h"

int32_t SaveLotLayers(cFixedWorld& lot, const std::string& path, int32_t version, std::string& error) {
    const std::string scratch = path + ".~layers";
    platform::DeleteFile(scratch);
    IFFResFile2 file;
    int32_t status = file.Create(scratch);
    if (status == kResOK) status = file.Open(scratch);
    if (status == kResOK) status = lot.SaveLayers(file, version);
    const int32_t closed = file.IsOpen() ? file.Close() : kResOK;
    if (status == kResOK) status = closed;
    if (status == kResOK) {
        std::ifstream in(scratch, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        if (!in || !platform::SaveFileAtomically(path, bytes.str(), &error)) status = kResBadData;
    }
    platform::DeleteFile(scratch);
    return status;
}

int32_t LoadLotLayers(cFixedWorld& lot, const std::string& path, int32_t version) {
    IFFResFile2 file;
    int32_t status = file.Open(path);
    if (status != kResOK) return status;
    status = lot.LoadLayers(file, version);
    file.Close();
    return status;
}
