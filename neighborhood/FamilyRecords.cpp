#include "neighborhood/FamilyRecords.h"

#include "neighborhood/FamilyOperations.h"
#include "ui/graphics/cGZBuffer.h"

LotInfo::~LotInfo() { ReleaseImages(); }

void LotInfo::ReleaseImages() {
    if (thumbnail) thumbnail->Release();
    if (secondThumbnail) secondThumbnail->Release();
    thumbnail = nullptr;
    secondThumbnail = nullptr;
}

FamilyImport::FamilyImport() : language(CurrentFamilyLanguage()) {}

FamilyImport::~FamilyImport() { ClearMembers(); }

void FamilyImport::ClearMembers() {
    for (ImportMember& m : members)
        if (m.portrait) m.portrait->Release();
    members.clear();
}
