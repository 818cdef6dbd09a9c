// The summaries the family screens show: one family, one lot (also the house
// part of a family file), and one family file offered for import.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class cGZBuffer;

struct FamilyInfo {
    std::string name;  // at most 255 characters
    int32_t worth = 0;
    int32_t friendCount = 0;  // only when asked for
    int32_t lot = 0;
};

struct LotInfo {
    // 'THMB' values when the house has none.
    static constexpr int32_t kNoThumbValue = 2147483647;
    // Larger 'THMB' offsets are nonsense from a foreign file and read as 0.
    static constexpr int32_t kLargestThumbValue = 100000;
    static constexpr int32_t kResidentFromFile = -2;

    LotInfo() = default;
    ~LotInfo();
    LotInfo(const LotInfo&) = delete;
    LotInfo& operator=(const LotInfo&) = delete;
    void ReleaseImages();

    cGZBuffer* thumbnail = nullptr;        // 'BMP_' 512
    cGZBuffer* secondThumbnail = nullptr;  // 'BMP_' 513
    int32_t hasHouse = 0;
    int32_t objectCount = 0;
    int32_t personCount = 0;
    int32_t value = 0;
    int32_t residentFamily = -1;
    FamilyInfo family;
    int32_t lot = 0;
    int32_t thumbValues[5] = {};
    int32_t position[2] = {};
};

struct ImportMember {
    std::string name;
    cGZBuffer* portrait = nullptr;
};

struct FamilyImport {
    FamilyImport();
    ~FamilyImport();
    FamilyImport(const FamilyImport&) = delete;
    FamilyImport& operator=(const FamilyImport&) = delete;
    void ClearMembers();

    std::string path;
    int32_t hasHouse = 0;
    LotInfo lot;
    int32_t language = 0;
    std::vector<ImportMember> members;
};
