#pragma once
// The careers: a global list of jobs, each with up to ten levels that carry
// the pay, the working hours, requirement and reward numbers, titles and
// texts. The numbers come from the careers text table beside the careers
// file when it reads, else from the file's 'CARR' records; the titles and
// texts always come from the file's string tables (CareerFile.h loads them).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ReconStream;

namespace tova {

class TextTable;

struct CareerLevel {
  static constexpr int kTitleLength = 128;  // stored texts keep one byte less
  static constexpr int kTextLength = 64;

  int32_t values[10] = {};
  int32_t hourly[7] = {};
  int32_t pay = 0;
  int32_t startHour = 9;
  int32_t endHour = 15;
  int32_t extra = 0;
  std::string title;
  std::string alternateTitle;
  std::string secondTitle;
  std::string secondAlternateTitle;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string description;

  // The alternate form when asked for and non-empty, else the plain one.
  const std::string& GetTitle(bool alternate) const;
  const std::string& GetSecondTitle(bool alternate) const;
  const std::string& GetText(bool alternate) const;  // texts 1 and 2
};

class cCareer {
 public:
  static constexpr int kNameLength = 64;

  int32_t id = 0;
  std::vector<CareerLevel> levels;
  std::string name;
  std::string text;
  std::string alternateText;

  const std::string& GetText(bool alternate) const;

  // The 'CARR' record (version 0): bit-packed, name, level count, levels.
  void Reconstitute(ReconStream& stream, int32_t version);
};

// "9a-3p": start and end hour (12 counts as 0, 'p' adds 12). False when the
// text holds no '-'.
bool ParseCareerHours(std::string_view text, int32_t& start, int32_t& end);
// end - start, plus 24 when negative.
int32_t CareerWorkHours(int32_t start, int32_t end);

// Reads the careers from the text table (format 0 or 1 in cell (1, 2)).
// False, with `out` empty, for another format or when a level would run
// past the table's last row.
bool ReadCareersTable(const TextTable& table, std::vector<cCareer>& out);

// One value of a level: what 0 the level count, 1 pay, 2-11 values 0-9, 12
// start hour, 13 end hour, 14-20 hourly values 0-6, 21 extra value, 22
// whether text 1 is non-empty. False for an index outside the levels or an
// unknown what.
bool GetCareerValue(const std::vector<CareerLevel>& levels, int index, int what, int32_t& out);

// The process-wide careers list with the two word lists of the careers file.
class CareerList {
 public:
  static CareerList& Instance();

  std::vector<cCareer>& Careers() { return careers_; }
  const cCareer* FindCareer(int32_t id) const;
  // Entry n+1 of the grade names; empty when out of range.
  std::string GetGradeName(int n) const;
  // Entry 1 for value < -60, 2 for < -30, 3 for < 30, 4 for < 60, else 5, of
  // the scale words; empty when there are fewer.
  std::string GetScaleWord(int value) const;

  void SetGradeNames(std::vector<std::string> names) { gradeNames_ = std::move(names); }
  void SetScaleWords(std::vector<std::string> words) { scaleWords_ = std::move(words); }
  void Clear();

 private:
  std::vector<cCareer> careers_;
  std::vector<std::string> gradeNames_;
  std::vector<std::string> scaleWords_;
};

}  // namespace tova
