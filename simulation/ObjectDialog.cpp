#include "simulation/ObjectDialog.h"

#include <cstdlib>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ResFileSource.h"
#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "resfile/TypeCode.h"
#include "simulation/NameTokens.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr const char* kMissingString = "Missing string!!!";
constexpr const char* kEntryDefault = "Hello world";

const StringSet* gButtonStrings = nullptr;

const StringSet& LoadedButtonStrings() {
  static StringSet loaded;
  static bool tried = false;
  if (!tried) {
    tried = true;
    LoadUIStringSet(ObjectDialog::kButtonTable, "UIText", loaded, false);
  }
  return loaded;
}

// Entry n of table 301 of the file with its comment's mark: a comment
// beginning with "!" puts "*" in front. Empty when missing.
std::string TableString(ResourceSource* file, int32_t n) {
  if (file == nullptr || n <= 0) return {};
  if (auto* source = dynamic_cast<ResFileSource*>(file); source != nullptr && source->File() != nullptr) {
    StringSet set;
    set.SetSource(source->File(), ObjectDialog::kStringTable, TypeCode("STR#"), false, kLanguageCurrent);
    if (set.Load(false, true) != 0) return {};
    const char* text = set.GetString(n);
    if (text == nullptr || *text == '\0') return {};
    const char* comment = set.GetComment(n);
    return (comment != nullptr && comment[0] == '!' ? "*" : "") + std::string(text);
  }
  return file->GetString(ObjectDialog::kStringTable, n).value_or(std::string());
}

}  // namespace

void ObjectDialog::SetButtonStrings(const StringSet* strings) { gButtonStrings = strings; }

std::string ObjectDialog::ButtonString(int32_t n) {
  const StringSet& set = gButtonStrings != nullptr ? *gButtonStrings : LoadedButtonStrings();
  const char* text = set.GetString(n);
  return text != nullptr ? text : std::string();
}

std::unique_ptr<ObjectDialog> ObjectDialog::FromRequest(cXObject& me, TreeStackFrame& frame,
                                                        const std::array<uint8_t, 8>& bytes) {
  std::unique_ptr<ObjectDialog> r(new ObjectDialog(&me));
  r->definition_ = me.GetDefinition();
  r->kind_ = bytes[5];
  r->flagA_ = (bytes[7] & 1) != 0;
  r->waitFlag_ = (bytes[7] & 0x80) == 0;
  r->threeWayTemp_ = (bytes[7] >> 4) & 7;
  r->stackObject_ = frame.stackObject;
  r->tutorial_ = me.GetModule() != nullptr && me.GetModule()->GetTutorialObject() == &me;
  r->special_ = r->definition_ != nullptr && r->definition_->GetGUID() == kSpecialGuid;
  ResourceSource* file = nullptr;
  if (frame.behavior != nullptr) file = frame.behavior->GetFileForTree(frame.TreeId());
  if (file == nullptr && me.GetBehavior() != nullptr) file = me.GetBehavior()->OwnFile();
  r->FillTexts(file, bytes);
  // Every text through the name tokens; the last definition they named
  // gives the picture of source 0.
  NameTokenValues values;
  for (std::string& text : r->texts_) text = ExpandNameTokens(text, me, frame, &values);
  r->FillPicture(me, frame, (bytes[7] >> 1) & 7, bytes[1], values.definition, file);
  return r;
}

void ObjectDialog::FillTexts(ResourceSource* file, const std::array<uint8_t, 8>& bytes) {
  std::array<std::string, kTextCount> defaults;
  if (definition_ != nullptr) defaults[kTitle] = definition_->GetCatalogName();
  switch (kind_) {
    case kChoice:
      defaults[kButton1] = ButtonString(3);
      defaults[kButton2] = ButtonString(4);
      break;
    case kThreeWay:
      defaults[kButton1] = ButtonString(3);
      defaults[kButton2] = ButtonString(4);
      defaults[kButton3] = ButtonString(2);
      break;
    default:
      defaults[kButton1] = ButtonString(1);
      break;
  }
  const std::pair<Text, uint8_t> numbered[] = {
      {kTitle, bytes[6]}, {kButton1, bytes[3]}, {kButton2, bytes[4]}, {kButton3, bytes[0]}, {kMessageText, bytes[2]}};
  for (const auto& [text, number] : numbered) {
    std::string s = TableString(file, number);
    if (s.empty()) s = defaults[static_cast<size_t>(text)];
    if (s.empty()) s = kMissingString;
    texts_[static_cast<size_t>(text)] = std::move(s);
  }
}

void ObjectDialog::FillPicture(cXObject& me, TreeStackFrame& frame, int32_t source, int32_t number,
                               ObjectDefinition* named, ResourceSource* file) {
  iDialogPictures* pictures = shell_ != nullptr ? shell_->Pictures() : nullptr;
  if (pictures == nullptr) return;
  cXObject* stack = me.GetModule() != nullptr ? me.GetModule()->GetObjectById(frame.stackObject) : nullptr;
  std::optional<DialogRect> part;
  switch (source) {
    case 0: {
      ObjectDefinition* d = named;
      if (d == nullptr && stack != nullptr && stack->GetDefinition() != nullptr) {
        d = stack->GetDefinition()->GetMasterDefinition();
        if (d == nullptr) d = stack->GetDefinition();
      }
      if (d != nullptr) picture_ = pictures->DefinitionPicture(*d);
      break;
    }
    case 2:
      picture_ = pictures->NeighbourPortrait(frame.stackObject);
      break;
    case 3:
      if (definition_ != nullptr) picture_ = pictures->FileImage(*definition_, number + 5000);
      break;
    case 4: {
      // "<word> <number>".
      const std::string text = TableString(file, number);
      const size_t space = text.find(' ');
      const std::string word = text.substr(0, space);
      const std::string rest = space == std::string::npos ? std::string() : text.substr(space + 1);
      char* end = nullptr;
      const unsigned long long value = std::strtoull(rest.c_str(), &end, 10);
      const bool hasNumber = !rest.empty() && end != rest.c_str();
      if (word == "gz" && hasNumber) {
        picture_ = pictures->ImageByResId(static_cast<int32_t>(value));
        if (picture_) part = DialogRect{0, 0, picture_->width / 4, picture_->height};
      } else if (word == "gzi" && hasNumber) {
        picture_ = pictures->ImageByResId(static_cast<int32_t>(value));
      } else if (word == "my" && hasNumber && definition_ != nullptr) {
        picture_ = pictures->FileImage(*definition_, static_cast<int32_t>(value));
      } else if (word == "guid" && hasNumber) {
        picture_ = pictures->DefinitionPictureByGuid(static_cast<uint32_t>(value));
      } else if (word == "rel") {
        picture_ = pictures->RelationshipPortraits();
        if (picture_) part = DialogRect{picture_->width * 2 / 5, 0, picture_->width * 3 / 5, picture_->height};
      } else if (word == "job") {
        picture_ = pictures->JobPicture();
      }
      break;
    }
    default:
      break;
  }
  if (picture_) pictureRect_ = part.value_or(picture_->Bounds());
}

int32_t ObjectDialog::LastResult() const {
  if (!waitFlag_) return kFirst;
  return kind_ == kThreeWay ? kThird : kind_ == kChoice ? kSecond : kFirst;
}

void ObjectDialog::Show() {
  if (shell_ == nullptr) return;
  window_ = shell_->CreateObjectDialog(*this);
  if (!window_) return;
  iObjectDialogWindow& w = *window_;
  const iDialogShell::Placement placement = shell_->GetDialogPlacement();
  w.SetPlacement(placement.mode, placement.x, placement.y, placement.rect);
  if (!special_) w.SetTitle(texts_[kTitle]);
  if (picture_) w.SetPicture(*picture_, pictureRect_ == picture_->Bounds() ? nullptr : &pictureRect_);
  if (waitFlag_) {
    w.AddButton(texts_[kButton1], kFirst);
  } else {
    w.SetDefaultResult(kFirst, tutorial_ ? 31 : 0);
  }
  if (kind_ == kChoice || kind_ == kThreeWay) w.AddButton(texts_[kButton2], kSecond);
  if (kind_ == kThreeWay) w.AddButton(texts_[kButton3], kThird);
  w.SetMessage(texts_[kMessageText]);
  if (kind_ == kTextEntry) w.AddTextEntry(kEntryDefault, kEntryLength);
  if (kind_ != kTutorialPage && !tutorial_) w.ChooseAfter(LastResult(), kAutoChoiceMs);
  w.BindKey(13, kFirst);
  w.BindKey(27, LastResult());
  if (waitFlag_ && kind_ != kChoice && kind_ != kThreeWay) w.BindKey(32, kFirst);
  if (special_) w.SetTranslucent(true, kTranslucency);
  if (tutorial_) {
    if (const auto rect = shell_->TutorialWindowRect()) {
      w.PlaceBeside(shell_->TutorialWindowPlacement().value_or(*rect));
      shell_->AttachToTutorialWindow(w);
    }
  }
  SetState(1);
  shell_->RunDialog(w, waitFlag_);
  // A modal dialog is answered by now and goes; a modeless one stays up.
  if (waitFlag_) window_.reset();
}

void ObjectDialog::Close() {
  window_.reset();
  ObjectDialogRecord::Close();
}

void ObjectDialog::OnResult(int32_t result) {
  if (GetState() == kStateFinished) return;
  if (kind_ == kTextEntry && window_) texts_[kEntry] = window_->EnteredText();
  SetState(result);
  // Nobody waits for the answer of a dialog that let its tree go on.
  if (flagA_) SetState(kStateFinished);
}

}  // namespace tova
