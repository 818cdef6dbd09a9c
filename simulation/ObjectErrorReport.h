#pragma once
// What happens to an object whose tree raised an error. With the shell's
// "debug_objects" switch off the object is simply reset; with it on, the
// error and the object's whole interpreter state go to a text file, and a
// dialog asks whether to leave, reset or delete the object.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tova {

class cXObject;

// The game windows' picture dialog and message box, as the report uses them.
class iPictureDialog {
 public:
  virtual ~iPictureDialog() = default;
  // Shows a modal dialog; the index of the button chosen.
  virtual int32_t ShowModal(const std::string& title, const std::string& message,
                            const std::vector<std::string>& buttons) = 0;
  // A message box with an OK button and no owner window.
  virtual void ShowMessageBox(const std::string& title, const std::string& text) = 0;
};

// The program's one build text, written into every report.
extern const char* const kBuildText;

class ObjectErrorReport {
 public:
  enum Choice : int32_t { kCancel = 0, kReset = 1, kDelete = 2 };
  using TickSource = std::function<int32_t()>;
  using PersonsNotice = std::function<void(cXObject&)>;
  using TextSource = std::function<std::string()>;

  ObjectErrorReport() = default;

  // Without a dialog the report is written and the object left as it is.
  void SetDialog(iPictureDialog* dialog) { dialog_ = dialog; }
  void SetHouseNumber(int32_t house) { house_ = house; }
  void SetTickSource(TickSource ticks) { ticks_ = std::move(ticks); }
  // Where the file goes ("." by default), and the folder tried when that one
  // cannot take it.
  void SetFolders(std::string working, std::string userData) {
    working_ = std::move(working);
    userData_ = std::move(userData);
  }
  // Tells every person that an object is going away.
  void SetPersonsNotice(PersonsNotice notice) { personsNotice_ = std::move(notice); }
  // The neighbourhood's own dump, appended to the file.
  void SetNeighborhoodDump(TextSource dump) { neighborhoodDump_ = std::move(dump); }
  // Hears of every error reported, before the object is reset or shown.
  void SetObserver(PersonsNotice observer) { observer_ = std::move(observer); }

  void ReportError(cXObject& object);
  // The message of the object's error code, appended to text.
  static void GetErrorText(const cXObject& object, std::string& text);
  // The object's frames as text, top frame first; appended to out when given.
  static void DumpStack(cXObject& object, std::string* out);
  void ShowAssert(const std::string& text);

  // The file the last report was written to (empty when none).
  const std::string& LastFile() const { return lastFile_; }
  const std::string& LastMessage() const { return lastMessage_; }

 private:
  void ResetObject(cXObject& object);
  std::string WriteFile(cXObject& object, const std::string& message);

  iPictureDialog* dialog_ = nullptr;
  int32_t house_ = 0;
  TickSource ticks_;
  std::string working_ = ".";
  std::string userData_;
  PersonsNotice personsNotice_;
  TextSource neighborhoodDump_;
  PersonsNotice observer_;
  std::string lastFile_;
  std::string lastMessage_;
};

}  // namespace tova
