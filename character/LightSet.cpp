#include "character/LightSet.h"

#include "framework/cDataFileCatalog.h"
#include "framework/cRZSearchPath.h"

#include <cstring>
#include <istream>
#include <iterator>

namespace {

constexpr size_t kV0FieldBytes = 56;
constexpr size_t kRecordBytes = sizeof(LightRecord);

std::string& LightFolders() {
    static std::string path = "Lights; ../Lights";
    return path;
}

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
    bool Read(void* out, size_t n) {
        if (bytes_.size() - at_ < n) return false;
        std::memcpy(out, bytes_.data() + at_, n);
        at_ += n;
        return true;
    }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

void Append(std::string& out, const void* data, size_t n) { out.append(static_cast<const char*>(data), n); }

}  // namespace

uint32_t ReadLightSet(std::string_view bytes, std::vector<LightRecord>& out) {
    ByteReader reader(bytes);
    uint32_t magic = 0, count = 0;
    if (!reader.Read(&magic, 4)) return kLightSetReadError;
    if (magic != kLightSetMagic) return kLightSetBadMagic;
    if (!reader.Read(&count, 4)) return kLightSetReadError;
    // The stored count is only trusted record by record.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t recordMagic = 0;
        if (!reader.Read(&recordMagic, 4)) return kLightSetReadError;
        if (recordMagic != kLightRecordMagicV0 && recordMagic != kLightRecordMagicV1) return kLightSetBadMagic;
        unsigned char raw[kRecordBytes] = {};
        const size_t n = recordMagic == kLightRecordMagicV1 ? kRecordBytes : kV0FieldBytes;
        if (!reader.Read(raw, n)) return kLightSetReadError;
        LightRecord record;
        std::memcpy(&record, raw, kRecordBytes);
        out.push_back(record);
    }
    return 0;
}

std::string WriteLightSet(const std::vector<LightRecord>& records, int version) {
    std::string out;
    const uint32_t magic = kLightSetMagic, count = static_cast<uint32_t>(records.size());
    Append(out, &magic, 4);
    Append(out, &count, 4);
    const uint32_t recordMagic = version == 0 ? kLightRecordMagicV0 : kLightRecordMagicV1;
    for (const LightRecord& record : records) {
        Append(out, &recordMagic, 4);
        Append(out, &record, version == 0 ? kV0FieldBytes : kRecordBytes);
    }
    return out;
}

uint32_t LoadLightSet(const std::string& name, std::vector<LightRecord>& out) {
    cDataFileCatalog& catalog = GetDataFileCatalog();
    const uint32_t type = MakeTypeCode("LGT");
    catalog.RegisterType(type);
    const cRZSearchPath path(LightFolders().c_str());
    cDataFileCatalog::DirectoryList directories;
    for (int i = 0; i < path.GetCount(); ++i) directories.push_back(path.GetDirectory(i).c_str());
    cDataFileHandle handle;
    if (catalog.OpenByName(handle, directories, type, name.c_str()) != kDataFileOk || !handle.GetStream())
        return kLightSetNotFound;
    const std::string bytes{std::istreambuf_iterator<char>(*handle.GetStream()), std::istreambuf_iterator<char>()};
    return ReadLightSet(bytes, out);
}

void SetLightSearchPath(const std::string& path) { LightFolders() = path; }
std::string GetLightSearchPath() { return LightFolders(); }
