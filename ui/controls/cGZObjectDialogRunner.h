// Runs the dialogs that objects raise: the behaviour interpreter's dialog
// controller asks, the game windows make the dialog (a picture-and-message
// dialog over cGZWinDlg) and run it, and the runner carries the answer back
// into the controller's state: 1 shown, 2-4 the answer, 5 closed.
#pragma once

#include <cstdint>

#include "framework/cRZRect.h"
#include "framework/cRZString.h"

class cGZWinDlg;

// What the runner needs of an object's dialog controller.
class cIGZObjectDialogController {
public:
    virtual bool IsModal() const = 0;
    // An answer counts as closed (5) instead of 2-4.
    virtual bool AnswersAsClosed() const = 0;
    // In mode 3 the dialog's text field (child 999) is copied back.
    virtual int32_t GetMode() const = 0;
    virtual int32_t GetState() const = 0;
    virtual void SetState(int32_t state) = 0;
    virtual void SetText(const cRZString& text) = 0;
    // The dialog showing for it; null unlinks.
    virtual void LinkDialog(cGZWinDlg* dialog) = 0;
    virtual bool WantsViewShown() const = 0;
    virtual bool WantsViewRefreshed() const = 0;

protected:
    virtual ~cIGZObjectDialogController() = default;
};

// What the runner needs of the game windows.
class cIGZObjectDialogHost {
public:
    virtual cGZWinDlg* CreateObjectDialog(cIGZObjectDialogController& controller) = 0;
    // Runs the dialog modally (its answer) or shows it modeless (0).
    virtual int32_t RunDialog(cGZWinDlg& dialog, bool modal) = 0;
    virtual void ShowAndFocusView() = 0;
    virtual void RefreshView(const cRZRect& area) = 0;

protected:
    virtual ~cIGZObjectDialogHost() = default;
};

class cGZObjectDialogRunner {
public:
    enum State : int32_t { kShown = 1, kClosed = 5 };
    static constexpr uint32_t kTextFieldId = 999;

    explicit cGZObjectDialogRunner(cIGZObjectDialogHost& host) : mHost(host) {}

    // Makes, links and runs the controller's dialog; a modal one is answered
    // and destroyed before this returns. False when no dialog was made.
    bool Run(cIGZObjectDialogController& controller);
    // An answer from the dialog, modal or modeless.
    void Answer(cIGZObjectDialogController& controller, cGZWinDlg& dialog, int32_t answer);
    // A modeless dialog closed: state 5, unlinked, its area refreshed, destroyed.
    void Close(cIGZObjectDialogController& controller, cGZWinDlg* dialog);
    // The later step: a pending answer (2-4) becomes closed.
    static void SettlePending(cIGZObjectDialogController& controller);

private:
    static void Destroy(cGZWinDlg* dialog);

    cIGZObjectDialogHost& mHost;
};
