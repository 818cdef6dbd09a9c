#include "simulation/TutorialEvents.h"

#include <functional>
#include <string>

#include "simulation/GameServices.h"
#include "simulation/ObjectModule.h"
#include "simulation/cSimulator.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr int32_t kGlobalLastButton = 12;

iUiWindow* FindWindow(iUiWindow* window, const std::function<bool(const iUiWindow&)>& match) {
  if (window == nullptr) return nullptr;
  if (match(*window)) return window;
  for (int32_t i = 0; i < window->ChildCount(); ++i) {
    if (iUiWindow* found = FindWindow(window->Child(i), match)) return found;
  }
  return nullptr;
}

iUiWindow* FindInMainWindow(const std::function<bool(const iUiWindow&)>& match) {
  iGameInterface* ui = GameServices::Get().ui;
  return ui != nullptr ? FindWindow(ui->MainWindow(), match) : nullptr;
}

bool PopupOn(const char* page) {
  iGameInterface* ui = GameServices::Get().ui;
  return ui != nullptr && ui->LivePopupShown() && (page == nullptr || ui->LivePopupPage() == page);
}

}  // namespace

bool TutorialWaitEvents::Changed(int32_t now) {
  if (remembered_ == -1) {
    remembered_ = now;
    return false;
  }
  return now != remembered_;
}

bool TutorialWaitEvents::Happened(int32_t event, int16_t argument) {
  iGameInterface* ui = GameServices::Get().ui;
  if (ui == nullptr) return false;
  switch (event) {
    case 1:
      return ui->HasLotView() && !ui->LotViewBusy();
    case 2:
      return PopupOn("motives");
    case 4: {
      const iUiWindow* pressed = ui->LastPressedButton();
      return pressed != nullptr && pressed->ButtonId() == argument;
    }
    case 5: {
      const iUiWindow* pressed = ui->LastPressedButton();
      return pressed != nullptr && argument != 0 && pressed->PortraitNeighbour() == argument;
    }
    case 6:
      return Changed(ui->ViewRotation());
    case 7:
      return Changed(ui->ChangeCounter());
    case 8: {
      const iUiWindow* button =
          FindInMainWindow([argument](const iUiWindow& w) { return w.IsButton() && w.ButtonId() == argument; });
      return button != nullptr && button->StateFlag();
    }
    case 9:
      return PopupOn("rel");
    case 11:
      return PopupOn("job");
    case 13:
      return PopupOn("skill");
    case 14:
      return PopupOn(nullptr);
    case 15:
      return PopupOn("per.ity");
    default:
      return false;
  }
}

void TutorialWaitEvents::Poll(ObjectModule& module) {
  iGameInterface* ui = GameServices::Get().ui;
  const iUiWindow* pressed = ui != nullptr ? ui->LastPressedButton() : nullptr;
  if (int16_t* globals = module.GetGlobals()) {
    globals[kGlobalLastButton] = static_cast<int16_t>(pressed != nullptr ? pressed->ButtonId() : 0);
  }
  cXObject* tutorial = module.GetTutorialObject();
  if (tutorial == nullptr) return;
  const int16_t none[4] = {0, 0, 0, 0};
  if (!tutorial->RunTreeByName(tutorial->GetBehavior(), 0, "query wait event", none)) {
    Forget();
    return;
  }
  const int16_t event = tutorial->Temps()[0];
  const int16_t argument = tutorial->Temps()[1];
  if (!Happened(event, argument)) return;
  // The tree may have let go of the tutorial object in between.
  if (module.GetTutorialObject() != tutorial) return;
  tutorial->RunTreeByName(tutorial->GetBehavior(), 0, "got wait event", none);
  Forget();
}

void HighlightButtonById(int32_t id, bool on) {
  if (iUiWindow* b = FindInMainWindow([id](const iUiWindow& w) { return w.IsButton() && w.ButtonId() == id; })) {
    b->SetHighlight(on);
  }
}

void HighlightNeighborButton(int32_t neighbour, bool on) {
  if (neighbour == 0) return;
  if (iUiWindow* b = FindInMainWindow(
          [neighbour](const iUiWindow& w) { return w.IsButton() && w.PortraitNeighbour() == neighbour; })) {
    b->SetHighlight(on);
  }
}

void HighlightRelationshipWindow(int32_t neighbour, bool on) {
  iPrimitiveNeighbourhood* hood = GameServices::Get().neighbourhood;
  if (hood == nullptr || !hood->HasRecord(static_cast<int16_t>(neighbour))) return;
  if (iUiWindow* w = FindInMainWindow([](const iUiWindow& x) { return x.IsRelationshipWindow(); })) w->SetHighlight(on);
}

}  // namespace tova
