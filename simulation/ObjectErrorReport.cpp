#include "simulation/ObjectErrorReport.h"

#include <cstdio>
#include <fstream>

#include "gamedata/ObjectDefinition.h"
#include "gamedata/ResourceSource.h"
#include "simulation/ObjectModule.h"
#include "simulation/cXObject.h"

namespace tova {

const char* const kBuildText = "Automated build, code cut on Wed Jan  5 17:25:48 PST 2000. (x)";

namespace {

std::string Format(const char* format, int32_t a, int32_t b = 0) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

std::string ObjectName(const cXObject& object) {
  return object.GetDefinition() != nullptr ? object.GetDefinition()->GetName() : std::string();
}

void AppendWords(std::string& out, const char* heading, const int16_t* words, int32_t count) {
  out += heading;
  for (int32_t i = 0; i < count; ++i) out += std::to_string(i) + " = " + std::to_string(words[i]) + "\n";
}

}  // namespace

void ObjectErrorReport::GetErrorText(const cXObject& object, std::string& text) {
  text += ObjectErrorMessage(object.GetErrorCode());
}

void ObjectErrorReport::DumpStack(cXObject& object, std::string* out) {
  if (out == nullptr) return;
  std::string& s = *out;
  s += "Object id: " + std::to_string(object.GetId()) + " name: " + ObjectName(object) + "\n";
  s += "Stack size: " + std::to_string(object.FrameCount()) + "\n";
  if (object.GetErrorCode() != 0) {
    s += "Error: ";
    GetErrorText(object, s);
    s += "\n";
  }
  s += "Iterations: " + std::to_string(object.IterationCount()) + "\n";
  for (int32_t i = object.FrameCount() - 1; i >= 0; --i) {
    TreeStackFrame& f = *object.FrameAt(i);
    const int32_t treeId = f.treeId & 0x7FFF;
    int32_t version = 0;
    std::string file;
    if (f.behavior != nullptr) {
      if (const TreeView tree = f.behavior->GetTree(treeId)) version = tree.Version();
      if (ResourceSource* source = f.behavior->GetFileForTree(treeId)) file = std::string(FileNamePart(source->GetPath()));
    }
    s += "  Frame " + std::to_string(i) + ":\n";
    s += "    Stack Object id: " + std::to_string(f.stackObject) + "\n";
    s += "    Node: " + std::to_string(f.node) + "\n";
    s += "    Tree: id " + std::to_string(treeId) + " name '" + TreeZaz::FrameTreeName(f) + "' version " +
         std::to_string(version) + "\n";
    s += "     from " + file + "\n";
    s += "    Prim state: " + std::to_string(f.primitiveState) + "\n";
    s += "    Params:";
    for (int32_t p = 0; p < f.paramCount; ++p) s += " " + std::to_string(f.Params()[p]);
    s += "\n    Locals:";
    for (int32_t l = 0; l < f.localCount; ++l) s += " " + std::to_string(f.Locals()[l]);
    s += "\n";
  }
}

void ObjectErrorReport::ResetObject(cXObject& object) {
  if (personsNotice_) personsNotice_(object);
  object.Reset(0);
}

std::string ObjectErrorReport::WriteFile(cXObject& object, const std::string& message) {
  const int32_t tick = ticks_ ? ticks_() : 0;
  const std::string name = Format("ObjectError_h%02d_t%d.txt", house_, tick);
  std::vector<std::string> candidates = {working_ + "/" + name};
  if (!userData_.empty()) candidates.push_back(userData_ + (userData_.back() == '/' ? "" : "/") + name);
  for (const std::string& path : candidates) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) continue;
    std::string text = message + "\nBuild: " + kBuildText + "\n\n";
    DumpStack(object, &text);
    if (object.IsPerson()) {
      text += "\nPerson Data:\n";
      for (int32_t i = 0; i < kPersonDataWords; ++i) {
        const int16_t* word = object.GetPersonData(i);
        text += std::to_string(i) + " = " + std::to_string(word != nullptr ? *word : 0) + "\n";
      }
    }
    AppendWords(text, "\nData:\n", object.Data(), kObjectDataWords);
    AppendWords(text, "\nAttributes:\n", object.Attributes(), object.AttributeCount());
    AppendWords(text, "\nTemps:\n", object.Temps(), kTempCount);
    text += "\n";
    if (neighborhoodDump_) text += neighborhoodDump_();
    out << text;
    out.close();
    if (out) return path;
  }
  return {};
}

void ObjectErrorReport::ReportError(cXObject& object) {
  if ((object.GetStateFlags() & kStateInError) == 0) return;
  object.SetStateFlags(object.GetStateFlags() & ~kStateInError);
  if (object.GetErrorCode() == 0) return;
  if (observer_) observer_(object);
  ObjectModule* module = object.GetModule();
  if (module == nullptr || !module->GetShell().DebugObjects()) {
    ResetObject(object);
    return;
  }
  std::string message = "An error occurred in object \"" + ObjectName(object) + "\" #" +
                        std::to_string(object.GetId()) + ", \n";
  GetErrorText(object, message);
  lastFile_ = WriteFile(object, message);
  if (lastFile_.empty()) {
    message += " The stack trace could not be saved.";
  } else {
    message += " The stack trace is saved in \"" + lastFile_ + "\".";
  }
  lastMessage_ = message;
  if (dialog_ == nullptr) return;
  const int32_t choice = dialog_->ShowModal("Object Error", message, {"Cancel", "Reset", "Delete"});
  if (choice == kReset) {
    ResetObject(object);
  } else if (choice == kDelete && module != nullptr) {
    module->DeleteObject(object.GetId());
  }
}

void ObjectErrorReport::ShowAssert(const std::string& text) {
  if (dialog_ != nullptr) dialog_->ShowMessageBox("XASSERT", text);
}

}  // namespace tova
