#pragma once
// What the object picker reaches above the world: the two pie-menu windows
// of the people panel and the panel itself, the person table with its face
// portraits, and the game's view, mouse and simulator switches. The game
// windows implement them; tests use scripted fakes.

#include <cstdint>
#include <memory>
#include <string>

#include "world/TrackerWindow.h"

namespace tova {

class cXObject;

// A picture a pie menu shows at its centre.
class iPicture {
 public:
  virtual ~iPicture() = default;
};

// A radial menu window: items around a centre, run modally; reports its
// highlight and choice to the people panel, which hands them to the picker.
class iPieMenuWindow : public iTrackerWindow {
 public:
  virtual void ClearItems() = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual void SetItemVisible(int32_t index, bool visible) = 0;
  virtual int32_t GetHighlight() const = 0;
  virtual int32_t GetLeft() const = 0;
  virtual int32_t GetTop() const = 0;
  virtual int32_t GetHighlightCentreX() const = 0;
  virtual int32_t GetHighlightCentreY() const = 0;
  virtual int32_t GetDeadRadius() const = 0;
  // The centre picture: owned by the window, or borrowed.
  virtual void SetCentrePicture(std::unique_ptr<iPicture> owned) = 0;
  virtual void SetCentreImage(iPicture* borrowed) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void LayoutAndPlace() = 0;
  virtual void Invalidate() = 0;
  virtual void SetAlwaysRedraw(bool on) = 0;
  virtual void Open(int32_t x, int32_t y, bool releaseMode, bool closeWhenChosen) = 0;
  // The chosen item's index, or what the people panel ended the run with:
  // -1 nothing chosen, -2 pick again, -3 next page.
  virtual int32_t RunModal() = 0;
  virtual void Close() = 0;
  virtual void RemoveItemButtons() = 0;
  virtual void EndWithHighlight() = 0;
};

// The people panel: owner of the two menu windows (the first for the top
// level, the second for a submenu) and of the image a submenu shows.
class iPeoplePanel {
 public:
  virtual ~iPeoplePanel() = default;
  virtual iPieMenuWindow* GetMenuWindow(int32_t n) = 0;
  virtual iPicture* GetCentreImage() = 0;
  // The selected person changed to one the camera does not follow.
  virtual void OnSelectedPersonChanged(cXObject* person) = 0;
  // The menu window joins or leaves the root window.
  virtual void AddToRoot(iPieMenuWindow& window) = 0;
  virtual void RemoveFromRoot(iPieMenuWindow& window) = 0;
};

// The neighbourhood's table of people and their portraits.
class iPersonTable {
 public:
  virtual ~iPersonTable() = default;
  // The person-table index of a definition GUID, -1 when none.
  virtual int32_t FindPersonIndex(uint32_t guid) const = 0;
  // The face portrait as a picture, null when there is none.
  virtual std::unique_ptr<iPicture> GetPersonFaceImage(int32_t index) = 0;
  // The GUID of neighbour n (1-based), 0 when there is none.
  virtual uint32_t GetNeighborGuid(int32_t n) const = 0;
};

// The game's view and mouse as the picker sees them.
class iPickerHost {
 public:
  virtual ~iPickerHost() = default;
  // The view shows a queued interaction near the pointer ("UI_queued").
  virtual void QueueInteraction(uint32_t serial, int32_t personIndex, int32_t x, int32_t y) = 0;
  // The mouse in screen, root-window and main-window client coordinates;
  // false when it cannot be read.
  virtual bool GetMouseScreen(int32_t& x, int32_t& y) const = 0;
  virtual bool GetMouseRoot(int32_t& x, int32_t& y) const = 0;
  virtual bool GetMouseClient(int32_t& x, int32_t& y) const = 0;
  virtual void MoveMouseBy(int32_t dx, int32_t dy) = 0;
  virtual bool LeftButtonDown() const = 0;
  virtual bool MainViewVisible() const = 0;
  // The simulator's switch that ends a frame as soon as a message waits.
  virtual bool GetMessageBreak() const = 0;
  virtual void SetMessageBreak(bool on) = 0;
  // The debug click's broadcast (command 140 with an object id).
  virtual void Broadcast(int32_t command, intptr_t argument) = 0;
};

}  // namespace tova
