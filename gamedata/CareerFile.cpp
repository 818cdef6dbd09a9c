#include "gamedata/CareerFile.h"

#include <memory>

#include "gamedata/Careers.h"
#include "gamedata/TextTable.h"
#include "resfile/ReconObject.h"
#include "resfile/StringSet.h"

namespace tova {

namespace {

constexpr ResType kCareerType = TypeCode("CARR");

std::vector<std::string> LoadWords(iResFile& file, int id) {
  std::vector<std::string> words;
  StringSet set;
  if (set.LoadFromFile(&file, static_cast<ResId>(id), false) != 0) return words;
  for (int i = 1; i <= set.GetCount(); ++i) words.emplace_back(set.GetString(i));
  return words;
}

// Replaces `target` only when the entry exists and holds text.
void Take(const StringSet& set, int n, std::string& target, size_t capacity = 0) {
  const char* s = set.GetString(n);
  if (!s || !*s) return;
  target = s;
  if (capacity && target.size() > capacity - 1) target.resize(capacity - 1);
}

void FillTexts(iResFile& file, cCareer& career) {
  StringSet own;
  if (own.LoadFromFile(&file, static_cast<ResId>(career.id), false) != 0) return;
  StringSet titles;
  bool haveTitles = titles.LoadFromFile(&file, static_cast<ResId>(career.id + 1000), false) == 0;
  const StringSet& titleSet = haveTitles ? titles : own;
  const int titleShift = haveTitles ? 0 : 1000;
  Take(own, 1, career.name, cCareer::kNameLength);
  Take(own, 2, career.text);
  Take(own, 3, career.alternateText);
  for (size_t j = 0; j < career.levels.size(); ++j) {
    CareerLevel& l = career.levels[j];
    int jj = static_cast<int>(j);
    Take(own, 4 + 2 * jj, l.secondTitle, CareerLevel::kTitleLength);
    Take(own, 5 + 2 * jj, l.description);
    Take(own, 24 + jj, l.secondAlternateTitle, CareerLevel::kTitleLength);
    Take(titleSet, 4 + 2 * jj + titleShift, l.title, CareerLevel::kTitleLength);
    Take(titleSet, 24 + jj + titleShift, l.alternateTitle, CareerLevel::kTitleLength);
  }
}

}  // namespace

bool LoadCareersFrom(iResFile& file, const std::string& textPath, CareerList& list) {
  list.Clear();
  std::vector<cCareer>& careers = list.Careers();
  TextTable table;
  bool fromText = table.Read(textPath) == 0 && ReadCareersTable(table, careers);
  if (!fromText) {
    int count = file.CountResources(kCareerType);
    for (int i = 1; i <= count; ++i) {
      MemHandle h = file.GetIndexedResource(kCareerType, i, SwapReconHeader);
      if (!h) return false;
      ResId id = 0;
      file.GetId(h, id);
      cCareer career;
      SimpleReconObject<cCareer> record(&career, kCareerType);
      int status = ReconObject::ReadFromHandle(record, h);
      file.ReleaseResource(h);
      if (status != 0) return false;
      career.id = id;
      careers.push_back(std::move(career));
    }
  }
  list.SetScaleWords(LoadWords(file, kCareerScaleWordsTable));
  list.SetGradeNames(LoadWords(file, kCareerGradeNamesTable));
  for (size_t i = 0; i < careers.size() && i < 10; ++i) FillTexts(file, careers[i]);
  return true;
}

bool WriteCareersTo(iResFile& file, CareerList& list) {
  for (cCareer& career : list.Careers()) {
    SimpleReconObject<cCareer> record(&career, kCareerType);
    if (ReconObject::SaveToResFile(record, 0, file, static_cast<ResId>(career.id)) != 0) return false;
  }
  return true;
}

}  // namespace tova
