#include "tools/contentc/HouseSources.h"

#include <cstdlib>

#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/SimRandom.h"
#include "platform/FileSystem.h"
#include "resfile/MemResFile.h"
#include "resfile/ResStatus.h"
#include "simulation/cXMTObject.h"
#include "world/LotHouseParts.h"

namespace {

bool Number(const std::string& text, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text.c_str(), &end, 0);
    return !text.empty() && *end == '\0' && out >= lo && out <= hi;
}

}  // namespace

bool ParseLotExtra(const std::string& verb, const std::vector<std::string>& w, const std::string& line, int number,
                   LotExtras& extras, std::string& error) {
    if (verb == "house") {
        const size_t at = line.find("house");
        size_t start = line.find_first_not_of(" \t", at + 5);
        std::string text = start == std::string::npos ? std::string() : line.substr(start);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.pop_back();
        extras.text = text;
        return true;
    }
    if (verb != "object" && verb != "clock" && verb != "funds" && verb != "seeds") return false;
    std::vector<long long> v;
    for (size_t i = 1; i < w.size(); ++i) {
        long long value = 0;
        if (!Number(w[i], -0x7FFFFFFFLL - 1, 0xFFFFFFFFLL, value)) {
            error = "not a number: " + w[i];
            return true;
        }
        v.push_back(value);
    }
    auto within = [&](size_t i, long long lo, long long hi) { return v[i] >= lo && v[i] <= hi; };
    if (verb == "object" && v.size() == 1) {
        LotObjectPlacement p;
        p.guid = static_cast<uint32_t>(v[0]);
        p.x = p.y = -1;
        p.line = number;
        extras.objects.push_back(p);
    } else if (verb == "object" && v.size() >= 3 && v.size() <= 5) {
        LotObjectPlacement p;
        p.guid = static_cast<uint32_t>(v[0]);
        if (!within(1, 0, 63) || !within(2, 0, 63) || (v.size() > 3 && !within(3, 1, 2)) ||
            (v.size() > 4 && !within(4, 0, 7))) {
            error = "an object stands on a tile of the lot, on level 1 or 2, facing 0 to 7";
            return true;
        }
        p.x = static_cast<int32_t>(v[1]);
        p.y = static_cast<int32_t>(v[2]);
        if (v.size() > 3) p.level = static_cast<int32_t>(v[3]);
        if (v.size() > 4) p.direction = static_cast<int32_t>(v[4]);
        p.line = number;
        extras.objects.push_back(p);
    } else if (verb == "clock" && v.size() == 5 && within(0, 1, 32767) && within(1, 1, 12) && within(2, 1, 30) &&
               within(3, 0, 23) && within(4, 0, 59)) {
        extras.clock = std::vector<long>(v.begin(), v.end());
    } else if (verb == "funds" && v.size() == 1 && within(0, -0x7FFFFFFFLL, 0x7FFFFFFFLL)) {
        extras.funds = static_cast<int32_t>(v[0]);
    } else if (verb == "seeds" && v.size() == 2 && within(0, 0, 0xFFFFFFFFLL) && within(1, 0, 0xFFFFFFFFLL)) {
        extras.seeds = {static_cast<uint32_t>(v[0]), static_cast<uint32_t>(v[1])};
    } else {
        error = "wrong values for " + verb;
    }
    return true;
}

bool WriteWholeLot(const std::string& name, cFixedWorld& layers, const LotExtras& extras, const std::string& root,
                   const std::string& path, std::string& error) {
    tova::ObjectFolder catalogue;
    if (!extras.objects.empty()) catalogue.Init(root + "/");
    cLotHouseParts* parts = nullptr;
    tova::House house(nullptr, [&](int32_t size) {
        auto made = std::make_unique<cLotHouseParts>(size, &catalogue);
        parts = made.get();
        return made;
    });
    house.CreateWorld();
    house.SetWorldSize(layers.GetSize());
    // The layers move over through a file in memory, as a lot would bring them.
    MemResFile memory;
    if (layers.SaveLayers(memory, tova::kGameSaveVersion) != kResOK ||
        parts->GetWorld().LoadLayers(memory, tova::kGameSaveVersion) != kResOK) {
        error = name + ": the layers cannot be copied into the lot";
        return false;
    }
    tova::ObjectModule& module = parts->GetModule();
    module.CreateAutomaticObjects();
    for (const LotObjectPlacement& p : extras.objects) {
        const std::string where = name + ":" + std::to_string(p.line) + ": ";
        tova::ObjectDefinition* definition = catalogue.FindByGUID(p.guid);
        const int16_t id = definition != nullptr ? module.CreateObject(definition) : 0;
        tova::cXObject* o = module.GetObjectById(id);
        if (o == nullptr) {
            error = where + "no object can be made of that definition";
            return false;
        }
        if (p.x < 0) continue;  // kept off the lot
        std::vector<tova::cXObject*> group;
        o->GetGroup(group);
        for (tova::cXObject* part : group) part->SetData(tova::kDataDirection, static_cast<int16_t>(p.direction));
        if (o->IsGroupPart()) static_cast<tova::cXMTObject*>(o)->UpdateOffsets();
        const FinePoint point = TileLocation::At(p.x, p.y, p.level).GetCenterPoint();
        if (!o->CanPlace(point, p.level, nullptr, 0)) {
            error = where + "the object cannot stand there (code " + std::to_string(tova::cXObject::PlaceFailureCode()) + ")";
            return false;
        }
        o->PlaceAndNotify(point, p.level, nullptr, 0);
    }
    module.ProcessDeletions(false);
    tova::cSimulator& sim = parts->GetSimulator();
    if (extras.clock) {
        const std::vector<long>& c = *extras.clock;
        sim.SetGlobal(tova::kSimYear, static_cast<int16_t>(c[0]));
        sim.SetGlobal(tova::kSimMonth, static_cast<int16_t>(c[1]));
        sim.SetGlobal(tova::kSimDay, static_cast<int16_t>(c[2]));
        sim.SetGlobal(tova::kSimSecond, 0);
        sim.SetHour(static_cast<int32_t>(c[3]));  // minute 0 and the time of day
        sim.SetGlobal(tova::kSimMinute, static_cast<int16_t>(c[4]));
    }
    if (extras.funds) sim.SetFunds(*extras.funds);
    if (extras.seeds) {
        sim.SetSimulationSeed(extras.seeds->first);
        tova::SetRandomSeed(extras.seeds->second);
    }
    if (extras.text) house.SetText(*extras.text);
    platform::CreateDirectories(path.substr(0, path.find_last_of('/')));
    const int32_t status = house.Save(path);
    if (status != 0) {
        error = name + ": cannot write " + path + " (" + std::to_string(status) + ")";
        return false;
    }
    return true;
}
