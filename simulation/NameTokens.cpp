#include "simulation/NameTokens.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

#include "simulation/GameServices.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

enum class Token { kMe, kObject, kNeighbor, kFamilyAssets, kFamily, kLocal, kTimeLocal, kGrade, kJobDesc, kJobOffer, kJob };

// Longer keywords first, so "$FamilyAssets" is not read as "$Family".
constexpr std::array<std::pair<std::string_view, Token>, 11> kKeywords{{
    {"$Me", Token::kMe},
    {"$Object", Token::kObject},
    {"$Neighbor", Token::kNeighbor},
    {"$FamilyAssets", Token::kFamilyAssets},
    {"$Family", Token::kFamily},
    {"$Local", Token::kLocal},
    {"$TimeLocal", Token::kTimeLocal},
    {"$Grade", Token::kGrade},
    {"$JobDesc", Token::kJobDesc},
    {"$JobOffer", Token::kJobOffer},
    {"$Job", Token::kJob},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ":" and a decimal number at pos; the position after it, or npos.
size_t ReadNumber(const std::string& text, size_t pos, int32_t& out) {
  if (pos >= text.size() || text[pos] != ':' || pos + 1 >= text.size() || !IsDigit(text[pos + 1])) {
    return std::string::npos;
  }
  int64_t v = 0;
  size_t i = pos + 1;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (v < 100000) v = v * 10 + (text[i] - '0');
  }
  out = static_cast<int32_t>(v);
  return i;
}

class Expander {
 public:
  Expander(cXObject& me, TreeStackFrame& frame, NameTokenValues& values)
      : me_(me), frame_(frame), values_(values), services_(GameServices::Get()) {}

  std::optional<std::string> Fill(Token token, const int32_t* n, const int32_t* m) {
    iPrimitiveNeighbourhood* hood = services_.neighbourhood;
    switch (token) {
      case Token::kMe:
        if (me_.GetDefinition() == nullptr) return std::nullopt;
        values_.definition = me_.GetDefinition();
        return me_.GetDefinition()->GetName();
      case Token::kObject: {
        cXObject* o = StackObject();
        if (o == nullptr || o->GetDefinition() == nullptr) return std::nullopt;
        values_.definition = o->GetDefinition();
        return o->GetDefinition()->GetName();
      }
      case Token::kNeighbor: {
        const int16_t id = StackNeighbour();
        if (id == 0 || hood == nullptr) return std::nullopt;
        auto name = hood->NeighbourName(id);
        if (name) values_.neighbour = id;
        return name;
      }
      case Token::kFamily: {
        const int16_t id = StackNeighbour();
        if (id == 0 || hood == nullptr) return std::nullopt;
        const auto family = hood->FamilyOf(id);
        if (!family) return std::nullopt;
        auto name = hood->FamilyName(*family);
        if (name) values_.family = *family;
        return name;
      }
      case Token::kFamilyAssets: {
        const auto local = Local(n);
        if (!local || hood == nullptr) return std::nullopt;
        const auto worth = hood->FamilyWorth(*local);
        if (!worth) return std::nullopt;
        values_.family = *local;
        return std::to_string(*worth);
      }
      case Token::kLocal: {
        const auto local = Local(n);
        if (!local) return std::nullopt;
        return std::to_string(*local);
      }
      case Token::kTimeLocal: {
        const auto local = Local(n);
        if (!local || *local < 0 || *local > 23) return std::nullopt;
        const int32_t hour = *local % 12 == 0 ? 12 : *local % 12;
        return std::to_string(hour) + (*local < 12 ? " AM" : " PM");
      }
      case Token::kGrade:
        if (n == nullptr || hood == nullptr) return std::nullopt;
        return hood->GradeText(*n);
      case Token::kJob:
      case Token::kJobDesc:
      case Token::kJobOffer:
        return Career(token, n, m);
    }
    return std::nullopt;
  }

 private:
  cXObject* StackObject() const {
    return me_.GetModule() != nullptr ? me_.GetModule()->GetObjectById(frame_.stackObject) : nullptr;
  }
  int16_t StackNeighbour() const {
    cXObject* o = StackObject();
    return o != nullptr ? o->GetNeighbourId() : 0;
  }
  std::optional<int16_t> Local(const int32_t* n) const {
    if (n == nullptr || *n >= frame_.localCount) return std::nullopt;
    return frame_.Locals()[*n];
  }
  std::optional<std::string> Career(Token token, const int32_t* n, const int32_t* m) {
    iPrimitiveNeighbourhood* hood = services_.neighbourhood;
    if (hood == nullptr) return std::nullopt;
    const auto acting = hood->PersonCareer(me_.GetNeighbourId());
    int32_t career = 0, level = 0;
    if (n != nullptr && m != nullptr) {
      const auto c = Local(n), l = Local(m);
      if (!c || !l) return std::nullopt;
      career = *c;
      level = *l;
    } else {
      if (!acting) return std::nullopt;
      career = acting->career;
      level = acting->level;
    }
    const CareerText which = token == Token::kJob       ? CareerText::kName
                             : token == Token::kJobDesc ? CareerText::kDescription
                                                        : CareerText::kOffer;
    return hood->CareerLevelText(career, level, which, acting && acting->alternate);
  }

  cXObject& me_;
  TreeStackFrame& frame_;
  NameTokenValues& values_;
  GameServices& services_;
};

}  // namespace

std::string ExpandNameTokens(const std::string& text, cXObject& me, TreeStackFrame& frame, NameTokenValues* values) {
  NameTokenValues scratch;
  Expander expander(me, frame, values != nullptr ? *values : scratch);
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '$') {
      out += text[i++];
      continue;
    }
    // The longest keyword that starts here.
    const std::pair<std::string_view, Token>* found = nullptr;
    for (const auto& k : kKeywords) {
      if (text.compare(i, k.first.size(), k.first) == 0 && (found == nullptr || k.first.size() > found->first.size())) {
        found = &k;
      }
    }
    if (found == nullptr) {
      out += text[i++];
      continue;
    }
    size_t end = i + found->first.size();
    int32_t n = 0, m = 0;
    bool hasN = false, hasM = false;
    if (size_t after = ReadNumber(text, end, n); after != std::string::npos) {
      hasN = true;
      end = after;
      if (size_t afterM = ReadNumber(text, end, m); afterM != std::string::npos) {
        hasM = true;
        end = afterM;
      }
    }
    const auto filled = expander.Fill(found->second, hasN ? &n : nullptr, hasM ? &m : nullptr);
    out += filled ? *filled : text.substr(i, end - i);
    i = end;
  }
  return out;
}

}  // namespace tova
