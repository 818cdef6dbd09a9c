// The operations through which the family screens, the console and the
// family test driver change the neighbourhood's families and people, read a
// lot's summary and bring in family files. Families are named by number
// (-1: none), people by person-table index (-1: none). None of them throws;
// without an installed context they do nothing and report failure.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "neighborhood/FamilyRecords.h"

class iResFile;
class PersonTable;

namespace tova {
class Family;
class Neighborhood;
}  // namespace tova

struct FamilyContext {
    tova::Neighborhood* neighborhood = nullptr;
    PersonTable* people = nullptr;
    int32_t saveVersion = 62;
    int32_t language = 0;
    bool exportHtml = false;
    // The family's web pages (0 on success); none: not written.
    std::function<int(int32_t family)> exportWebPages;
    // The face portrait of a person-table index, made when missing.
    std::function<void(int32_t person)> touchPortrait;
};

// The context the operations work on (null uninstalls); kept by pointer.
void SetFamilyContext(FamilyContext* context);
FamilyContext* GetFamilyContext();
int32_t CurrentFamilyLanguage();

// A name usable as a file stem: no '/', '\', ':', ".." or control characters.
std::string SanitizeFileStem(const std::string& name);

int32_t MakeNewFamily();
bool DeleteFamily(int32_t family);
bool SetFamilyName(int32_t family, const std::string& name);
bool GetFamilyInfo(int32_t family, FamilyInfo& info);
bool FillFamilyInfo(tova::Family& family, FamilyInfo& info, bool withFriends);
void GetFamilyMembers(int32_t family, std::vector<int32_t>& out);
void GetUnhousedFamilies(std::vector<int32_t>& out);
void CollectFamilies(std::vector<int32_t>& out);
int32_t MakeNewPerson();
bool DeletePerson(int32_t person);
bool AddFamilyMember(int32_t family, int32_t person);
bool RemoveFamilyMember(int32_t family, int32_t person);
void CommitFamily(int32_t family);
int SaveNeighborhoodNow();
int ExportFamilyFile(int32_t family, bool withWebPages);
bool ReadLotInfo(int32_t lot, LotInfo& info, bool withImages);
bool ReadLotSummary(iResFile& file, LotInfo& info, bool withImages);
bool EvictFamilyFromLot(int32_t lot, bool bulldoze);
void ClearImportLists();
bool ImportFamilyFile(FamilyImport& record, bool withImages);
bool ReadFamilyFile(const std::string& path, FamilyImport& record, bool withImages);
bool MoveFamilyIntoLot(const std::string& path, int32_t& family);
void WriteFamHarnessLog(const std::string& text);

// The neighbourhood folder with a closing '/'; empty without a context.
std::string NeighborhoodFolder();
