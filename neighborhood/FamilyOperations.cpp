#include "neighborhood/FamilyOperations.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>

#include "gamedata/CatalogStrings.h"
#include "gamedata/FamilyExport.h"
#include "gamedata/Neighborhood.h"
#include "neighborhood/BitmapFile.h"
#include "neighborhood/DirFileIterator.h"
#include "neighborhood/PersonTable.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "resfile/IFFResFile2.h"
#include "resfile/MemHandle.h"
#include "resfile/ReconObject.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

namespace {

using tova::Family;
using tova::Neighbor;
using tova::Neighborhood;

FamilyContext* gFamilyContext = nullptr;
std::vector<std::string> gFoundImports;
std::vector<std::string> gOfferedImports;

constexpr size_t kLongestFamilyName = 255;
constexpr size_t kLongestPath = 260;
constexpr uint32_t kFamilyPagesCurrent = 8;
constexpr int32_t kThumbnailId = 512;
constexpr int32_t kSecondThumbnailId = 513;

// Money and house value of a family file are foreign numbers: their sum is
// held inside 32 bits rather than wrapping.
int32_t SumWorth(int32_t funds, int32_t houseValue) {
    const int64_t sum = static_cast<int64_t>(funds) + houseValue;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

Neighborhood* Hood() { return gFamilyContext ? gFamilyContext->neighborhood : nullptr; }

Family* FamilyOf(int32_t number) {
    Neighborhood* hood = Hood();
    if (!hood || number < 0) return nullptr;
    return hood->FindFamily(number);
}

// The neighbour behind a person-table index, or null.
Neighbor* NeighborOf(int32_t person) {
    Neighborhood* hood = Hood();
    if (!hood || !gFamilyContext->people) return nullptr;
    const int32_t guid = gFamilyContext->people->GuidAt(person);
    return guid == 0 ? nullptr : hood->FindNeighborByGUID(guid);
}

void RefreshPeople() {
    if (gFamilyContext && gFamilyContext->people && gFamilyContext->neighborhood)
        gFamilyContext->people->RefreshPersonTable(*gFamilyContext->neighborhood);
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// The export files of a family: exactly "<stem>.", so that "Name_1" leaves
// "Name_12.FAM" and "Name_10_x" of other families alone.
void DeleteFamilyFiles(const Family& family) {
    const std::string prefix = Neighborhood::FamilyFileStem(family) + ".";
    std::vector<std::string> doomed;
    for (DirFileIterator it(NeighborhoodFolder() + "Export/", "*"); !it.AtEnd(); it.Next()) {
        const std::string path = it.GetPath();
        const std::string name = path.substr(path.rfind('/') + 1);
        if (name.size() > prefix.size() && SameTextIgnoringCase(name.substr(0, prefix.size()), prefix))
            doomed.push_back(path);
    }
    for (const std::string& path : doomed) platform::DeleteFile(path);
}

void ReadThumbValues(iResFile& file, LotInfo& info) {
    MemHandle handle = file.GetResource(TypeCode("THMB"), kThumbnailId, nullptr);
    if (!handle) {
        std::fill(std::begin(info.thumbValues), std::end(info.thumbValues), LotInfo::kNoThumbValue);
        return;
    }
    std::fill(std::begin(info.thumbValues), std::end(info.thumbValues), 0);
    const int32_t size = GetMemHandleSize(handle);
    const size_t bytes = std::min(sizeof info.thumbValues, static_cast<size_t>(size > 0 ? size : 0));
    std::memcpy(info.thumbValues, GetMemHandleData(handle), bytes);
    file.ReleaseResource(handle);
    for (int32_t& v : info.thumbValues)
        if (v < -LotInfo::kLargestThumbValue || v > LotInfo::kLargestThumbValue) v = 0;
}

}  // namespace

void SetFamilyContext(FamilyContext* context) { gFamilyContext = context; }
FamilyContext* GetFamilyContext() { return gFamilyContext; }
int32_t CurrentFamilyLanguage() { return gFamilyContext ? gFamilyContext->language : 0; }

std::string SanitizeFileStem(const std::string& name) {
    std::string out;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        out += (c == '/' || c == '\\' || c == ':' || u < 32 || u == 127) ? '_' : c;
    }
    for (size_t at = out.find(".."); at != std::string::npos; at = out.find("..", at)) out.replace(at, 2, "__");
    return out;
}

std::string NeighborhoodFolder() {
    Neighborhood* hood = Hood();
    if (!hood) return {};
    FixedPath folder;
    hood->GetDirectory(folder);
    std::string text = folder.c_str();
    std::replace(text.begin(), text.end(), '\\', '/');
    if (!text.empty() && text.back() != '/') text += '/';
    return text;
}

int32_t MakeNewFamily() {
    Neighborhood* hood = Hood();
    if (!hood) return -1;
    Family* family = hood->NewFamily();
    return family ? family->number : -1;
}

bool DeleteFamily(int32_t number) {
    Neighborhood* hood = Hood();
    Family* family = FamilyOf(number);
    // Refused before anything changes: family 0 and a family on a lot stay.
    if (!family || family->number == 0 || family->lot != 0) return false;
    const std::vector<int32_t> members = family->Members();
    for (int32_t guid : members) {
        Neighbor* n = hood->FindNeighborByGUID(guid);
        if (!n) {
            family->RemoveMember(guid);  // nobody to take out: drop the GUID
            continue;
        }
        hood->RemoveFromFamily(*n);
        hood->DeleteUserCharacter(n);  // refuses people who are not user characters
    }
    DeleteFamilyFiles(*family);
    if (hood->RemoveFamily(family) != 0) return false;
    RefreshPeople();
    SaveNeighborhoodNow();
    return true;
}

bool SetFamilyName(int32_t number, const std::string& name) {
    Family* family = FamilyOf(number);
    if (!family) return false;
    family->SetName(name.substr(0, kLongestFamilyName).c_str());
    return true;
}

bool FillFamilyInfo(Family& family, FamilyInfo& info, bool withFriends) {
    info.name = std::string(family.GetName()).substr(0, kLongestFamilyName);
    Neighborhood* hood = Hood();
    // The loaded lot's family is worth what the simulator says.
    const bool live = hood && hood->GetCurrentHouseNumber() != 0 && family.lot == hood->GetCurrentHouseNumber();
    info.worth = live ? hood->GetFamilyWorth(family) : SumWorth(family.funds, family.houseValue);
    info.friendCount = withFriends ? family.friendCount : 0;
    info.lot = family.lot;
    return true;
}

bool GetFamilyInfo(int32_t number, FamilyInfo& info) {
    Family* family = FamilyOf(number);
    return family && FillFamilyInfo(*family, info, true);
}

void GetFamilyMembers(int32_t number, std::vector<int32_t>& out) {
    Family* family = FamilyOf(number);
    if (!family || !gFamilyContext->people) return;
    for (int32_t guid : family->Members()) {
        const int32_t index = gFamilyContext->people->IndexOfGuid(guid);
        if (index >= 0) out.push_back(index);
    }
}

void GetUnhousedFamilies(std::vector<int32_t>& out) {
    if (Neighborhood* hood = Hood())
        for (const auto& f : hood->Families())
            if (f->number != 0 && f->lot == 0) out.push_back(f->number);
}

void CollectFamilies(std::vector<int32_t>& out) {
    if (Neighborhood* hood = Hood())
        for (const auto& f : hood->Families())
            if (f->number != 0 && (static_cast<uint32_t>(f->flags) & kFamilyPagesCurrent) == 0) out.push_back(f->number);
}

int32_t MakeNewPerson() {
    Neighborhood* hood = Hood();
    if (!hood || !gFamilyContext->people) return -1;
    Neighbor* made = nullptr;
    if (hood->CreateUserCharacter(&made) != 0 || !made) return -1;
    RefreshPeople();
    return gFamilyContext->people->IndexOfGuid(made->guid);
}

bool DeletePerson(int32_t person) {
    Neighbor* n = NeighborOf(person);
    if (!n) return false;
    const bool deleted = Hood()->DeleteUserCharacter(n) == 0;
    RefreshPeople();  // the neighbour may be gone even when its file stayed
    return deleted;
}

bool AddFamilyMember(int32_t number, int32_t person) {
    Family* family = FamilyOf(number);
    Neighbor* n = NeighborOf(person);
    return family && n && Hood()->AddToFamily(*n, *family) == 0;
}

bool RemoveFamilyMember(int32_t number, int32_t person) {
    Family* family = FamilyOf(number);
    Neighbor* n = NeighborOf(person);
    return family && n && family->HasMember(n->guid) && Hood()->RemoveFromFamily(*n) == 0;
}

void CommitFamily(int32_t number) {
    SaveNeighborhoodNow();
    if (number != -1) ExportFamilyFile(number, true);
}

int SaveNeighborhoodNow() {
    Neighborhood* hood = Hood();
    return hood ? hood->Save(gFamilyContext->saveVersion) : -1;
}

int ExportFamilyFile(int32_t number, bool withWebPages) {
    Family* family = FamilyOf(number);
    if (!family) return -1;
    const std::string folder = NeighborhoodFolder() + "Export/";
    platform::CreateDirectories(folder);
    const int status = Hood()->ExportFamily(folder, *family);
    if (!withWebPages) return status;
    if (!gFamilyContext->exportHtml || !gFamilyContext->exportWebPages) return -1;
    return gFamilyContext->exportWebPages(number);
}

bool ReadLotSummary(iResFile& file, LotInfo& info, bool withImages) {
    if (withImages) {
        info.ReleaseImages();
        info.thumbnail = LoadBitmapResource(&file, kThumbnailId, 0);
        info.secondThumbnail = LoadBitmapResource(&file, kSecondThumbnailId, 0);
        for (cGZBuffer* image : {info.thumbnail, info.secondThumbnail})
            if (image) image->SetColorKey(GZTransparentColor());
        ReadThumbValues(file, info);
    }
    // The lot figures: a house record present, and what the family record
    // keeps of its value (the live lot's figures are the simulator's).
    if (file.CountResources(TypeCode("HOUS")) <= 0) return false;
    info.hasHouse = 1;
    info.objectCount = 0;
    info.personCount = 0;
    return true;
}

bool ReadLotInfo(int32_t lot, LotInfo& info, bool withImages) {
    Neighborhood* hood = Hood();
    if (!hood || lot <= 0 || lot > hood->GetLotCount()) return false;
    FixedPath path;
    hood->GetHouseFileName(lot, path);
    IFFResFile2 file;
    if (file.Open(path.c_str()) != 0) return false;
    const bool read = ReadLotSummary(file, info, withImages);
    file.Close();
    if (!read) return false;
    Family* resident = hood->FindFamilyByHouse(lot);
    if (resident) {
        info.residentFamily = resident->number;
        FillFamilyInfo(*resident, info.family, true);
        info.value = resident->houseValue;
    } else {
        info.residentFamily = -1;
    }
    info.lot = lot;
    const auto& positions = hood->LotPositions();
    if (static_cast<size_t>(lot) <= positions.size()) {
        info.position[0] = positions[static_cast<size_t>(lot) - 1].first;
        info.position[1] = positions[static_cast<size_t>(lot) - 1].second;
    } else {
        info.position[0] = info.position[1] = 0;
    }
    return true;
}

bool EvictFamilyFromLot(int32_t lot, bool bulldoze) {
    Neighborhood* hood = Hood();
    if (!hood) return false;
    Family* resident = hood->FindFamilyByHouse(lot);
    const int32_t number = resident ? resident->number : -1;
    if (hood->EvictLot(lot, bulldoze) != 0) return false;
    ExportFamilyFile(number, true);
    return true;
}

void ClearImportLists() {
    gOfferedImports.clear();
    gFoundImports.clear();
}

bool ImportFamilyFile(FamilyImport& record, bool withImages) {
    gFoundImports.clear();
    if (!Hood()) return false;
    for (DirFileIterator it(NeighborhoodFolder() + "Import/", "FAM"); !it.AtEnd(); it.Next())
        if (platform::FileExists(it.GetPath())) gFoundImports.push_back(it.GetPath());
    for (const std::string& path : gFoundImports) {
        const bool offered = std::any_of(gOfferedImports.begin(), gOfferedImports.end(),
                                         [&](const std::string& o) { return SameTextIgnoringCase(o, path); });
        if (offered || path.size() > kLongestPath) continue;
        gOfferedImports.push_back(path);
        return ReadFamilyFile(path, record, withImages);
    }
    return false;
}

bool ReadFamilyFile(const std::string& path, FamilyImport& record, bool withImages) {
    if (path.size() > kLongestPath) return false;
    IFFResFile2 file;
    if (file.Open(path) != 0) return false;
    tova::ExpFamilyInfo info;
    SimpleReconObject<tova::ExpFamilyInfo> infoRecord(&info, tova::kExportInfoChunk);
    int32_t version = 0;
    bool ok = ReconObject::LoadFromResFile(infoRecord, file, 0, &version) == 0;
    if (ok && version >= tova::ExpFamilyInfo::kRecordVersion) record.language = info.flags;
    const std::vector<int16_t> ids = ok ? info.MemberIds() : std::vector<int16_t>{};
    ok = ok && info.familyNumber > 0;
    for (int16_t id : ids) ok = ok && id > 0;
    Family family;
    ok = ok && family.Load(file, info.familyNumber);
    // A house in the file must name a lot that exists.
    if (ok && file.CountResources(TypeCode("HOUS")) > 0) ok = family.lot >= 1 && family.lot <= Neighborhood::kLotCount;
    if (ok) {
        FillFamilyInfo(family, record.lot.family, false);
        record.lot.family.worth = SumWorth(family.funds, family.houseValue);
        record.ClearMembers();
        for (int16_t id : ids) {
            ImportMember member;
            tova::CatalogStrings strings;
            if (strings.Read(file, id)) member.name = strings.name;
            if (withImages) member.portrait = LoadBitmapResource(&file, id, 0);
            record.members.push_back(std::move(member));
        }
        record.hasHouse = 0;
        if (ReadLotSummary(file, record.lot, withImages)) {
            record.hasHouse = 1;
            record.lot.residentFamily = LotInfo::kResidentFromFile;
            record.lot.lot = family.lot;
            record.lot.value = family.houseValue;
        }
        record.path = path;
    }
    file.Close();
    return ok;
}

bool MoveFamilyIntoLot(const std::string& path, int32_t& number) {
    Neighborhood* hood = Hood();
    if (!hood) return false;
    Family* made = nullptr;
    Family* displaced = nullptr;
    const int32_t displacedNumber = -1;
    if (hood->ImportFamily(path, &made, &displaced) != 0 || !made) return false;
    const int32_t movedOut = displaced ? displaced->number : displacedNumber;
    RefreshPeople();
    ExportFamilyFile(made->number, false);
    number = made->number;
    if (movedOut != -1 && hood->FindFamily(movedOut)) ExportFamilyFile(movedOut, false);
    if (gFamilyContext->touchPortrait) {
        std::vector<int32_t> members;
        GetFamilyMembers(number, members);
        for (int32_t person : members) gFamilyContext->touchPortrait(person);
    }
    return true;
}

void WriteFamHarnessLog(const std::string& text) {
    platform::File file;
    if (!file.Open("FamHarness.txt", platform::File::kWrite, platform::File::Disposition::kOpenAlways)) return;
    file.Seek(0, platform::File::Origin::kEnd);
    file.Write(text.data(), text.size());
}
