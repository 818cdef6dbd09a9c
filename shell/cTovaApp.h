// The game's one application object. The framework drives it: AppInit
// chooses the language, reads the interface texts, checks the machine, the
// options and the sound data; its service start-up sets up colours, fonts,
// controls and the splash screen and starts the loading thread, which makes
// the main windows and loads the game data; the tick finishes start-up on
// the main thread once the loading-finished flag is seen. Message boxes and
// dialogs of every subsystem go through it. A headless run prints each
// start-up step and box instead of waiting on them.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "framework/cGZApp.h"
#include "gamedata/Commander.h"
#include "shell/ShellPaths.h"

class StringSet;
class cGZWin;
class cGZWinSplashScreen;
class cGZResourceImages;
class cGZGraphicSystemW95;
class MoviePlayer;
class cIGZFont;

namespace platform {
class HostWindow;
}

namespace tova {
struct GlobalContext;
class cShellStartupServices;
}  // namespace tova

class cTovaApp : public cGZApp, public tova::Commander {
public:
    // Where the progress steps and the boxes of a headless run go.
    struct Display {
        std::function<void(uint32_t code, const char* text)> step;
        // Shows a box and answers its button; unset: the window box.
        std::function<int(const std::string& text, const std::string& caption, int kind)> box;
    };

    explicit cTovaApp(const char* moduleName);
    ~cTovaApp() override;

    static cTovaApp* Get();
    // The window the graphic system draws into (set before the framework starts).
    static void SetHostWindow(platform::HostWindow* host);
    static void SetDisplay(Display display);
    // Runs when the main loop has ended, before the services shut down.
    static void SetAfterRun(std::function<void(cTovaApp& app)> hook);

    // cGZApp and the framework's service.
    void PreInit() override;
    bool AppInit() override;
    bool Init() override;
    bool Shutdown() override;
    bool Tick() override;
    int DoMessageBox(const char* text, const char* caption, int buttonKind, int flag) override;
    bool RestrictsConsole() override { return false; }
    bool PostRun() override;
    bool OnCallbackCrash() override;
    cGZGraphicSystemW95* Graphics() const { return mpGraphics; }

    int ShowMessageBox(const char* text, const char* caption, int buttonKind, int flag);
    // Shows a dialog; modal runs answer the button that ended them.
    int32_t ShowDialog(cGZWin* dialog, bool modal, int32_t flag);

    void ReportStartupStep(uint32_t code, const char* text);
    void StartLoading();
    void LoadingThreadMain(bool threaded);
    bool CreateMainWindows();
    void FinishStartup();
    void PlayLoadMusic();
    void FadeLoadMusic();
    int32_t OnMediaEvent(int32_t eventId, int32_t value);

    // The missing-assets report.
    void ReportUnreadCmx(const std::string& file);
    void ReportMissingSkill(const std::string& person, const std::string& skill);
    void ReportMissingCfp(const std::string& skill, const std::string& file);
    // `table` is "misc", "glob", "pers" or another table's name; `age` the
    // person's age (1-17 a child).
    void ReportBlankAnimation(const std::string& person, int32_t age, const std::string& table, int32_t index);
    // `table` 0-3: child to object, adult to object, child to adult, adult to child.
    void ReportBlankPairAnimation(const std::string& object, const std::string& person, int32_t table, int32_t index);
    // Shows the first callback crash of the run, once ("Crash in NAME").
    void ReportCrashedCallback();
    const std::string& MissingAssetsReport() const { return mMissingAssets; }
    void SetReportAssets(bool on) { mbReportAssets = on; }

    const std::string& GetDataRoot() const { return tova::GetDataRoot(); }
    int32_t GetLanguage() const { return mLanguage; }
    int32_t ScreenWidth() const { return mWidth; }
    int32_t ScreenHeight() const { return mHeight; }
    bool IsWindowed() const { return mbWindowed; }
    bool IsStartingUp() const { return mbStartingUp; }
    bool LoadingFinished() const { return mLoadingFinished.load(std::memory_order_acquire); }
    const tova::SoundAndMusicData& SoundData() const { return mSound; }
    // The interface text of set 153 entry n ("" when missing).
    std::string Text153(int entry) const;
    cGZWin* MainView() const { return mpMainView; }
    // The next box or dialog answers this button instead of asking.
    void SetNextAnswer(int32_t answer) { mnNextAnswer = answer; }

    // The volume a music step gives the loading music (steps clamped to 0..10).
    static int32_t LoadingMusicVolume(int32_t step);

private:
    bool Switch(const char* name, cRZString* value = nullptr) const;
    void ReadInterfaceTexts();
    void ApplyLanguage();
    void SetUpUIColorsAndFonts();
    void SetUpControlsAndCursors();
    void ResetCursor();
    void CreateInputMethodWindows();

    int32_t mLanguage = 1;
    int32_t mWidth = 800;
    int32_t mHeight = 600;
    bool mbWindowed = false;
    bool mbStartingUp = true;
    bool mbThreadedLoading = true;
    bool mbReportAssets = false;
    std::atomic<bool> mLoadingFinished{false};
    std::thread mLoadingThread;
    std::map<int, std::string> mTexts153;
    std::map<int, std::string> mTexts157;
    std::unique_ptr<StringSet> mpProgressSet;
    std::unique_ptr<cGZResourceImages> mpImages;
    std::unique_ptr<tova::GlobalContext> mpContext;
    std::unique_ptr<tova::cShellStartupServices> mpStartup;
    cGZGraphicSystemW95* mpGraphics = nullptr;
    std::unique_ptr<MoviePlayer> mpMoviePlayer;
    cGZWin* mpRoot = nullptr;
    cGZWin* mpMainView = nullptr;
    cGZWinSplashScreen* mpSplash = nullptr;
    cIGZFont* mpInterfaceFont = nullptr;
    tova::SoundAndMusicData mSound;
    std::string mMissingAssets;
    int32_t mnNextAnswer = -1;
    bool mbCrashReported = false;
};
