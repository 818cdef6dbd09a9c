#include "shell/cTovaApp.h"

#include <algorithm>
#include <cstdio>

#include "framework/cGZFrameWork.h"
#include "framework/cGZFrameWorkW95.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/UIStrings.h"
#include "platform/Cpu.h"
#include "platform/HostWindow.h"
#include "platform/MessageBox.h"
#include "resfile/ResLanguage.h"
#include "resfile/StringSet.h"
#include "shell/StartupChecks.h"
#include "shell/cOptionsMgr.h"
#include "shell/cShellFlatView.h"
#include "shell/cShellStartupServices.h"
#include "shell/iShellSound.h"
#include "simulation/GameServices.h"
#include "simulation/NeighbourhoodLinks.h"
#include "platform/FileSystem.h"
#include "ui/cGZMainWindowW95.h"
#include "ui/cGZWinIMECandidate.h"
#include "ui/cGZWinIMEComposition.h"
#include "ui/cRZCursor.h"
#include "ui/cRZCursorManager.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/cGZWinMgrW95.h"
#include "ui/controls/cGZWinMsgBox.h"
#include "ui/controls/cGZWinSplashScreen.h"
#include "sound/movie/MoviePlayer.h"
#include "ui/controls/cIGZWinCtrlMgr.h"
#include "ui/graphics/ResourceImages.h"
#include "ui/graphics/cGZGraphicSystemW95.h"
#include "ui/graphics/cIGZFont.h"
#include "ui/graphics/cIGZFontSys.h"

namespace {

cTovaApp* gTovaApp = nullptr;
platform::HostWindow* gTovaHost = nullptr;
cTovaApp::Display gTovaDisplay;
std::unique_ptr<tova::NeighbourhoodLinks> gTovaLinks;
std::function<void(cTovaApp&)> gTovaAfterRun;

constexpr uint32_t TovaStepCode(const char (&t)[5]) {
    return (uint32_t(uint8_t(t[0])) << 24) | (uint32_t(uint8_t(t[1])) << 16) | (uint32_t(uint8_t(t[2])) << 8) |
           uint32_t(uint8_t(t[3]));
}

constexpr int32_t kTovaLoadingMusicVolumes[11] = {0, 300, 390, 490, 590, 690, 790, 840, 895, 960, 1024};

void TovaCopySet(int id, std::map<int, std::string>& out) {
    StringSet set;
    if (!tova::LoadUIStringSet(id, "UIText.iff", set, false)) return;
    for (int n = 1; n <= set.GetCount(); ++n)
        if (const char* text = set.GetString(n)) out[n] = text;
}

}  // namespace

cTovaApp::cTovaApp(const char* moduleName) : cGZApp(moduleName) { gTovaApp = this; }

cTovaApp::~cTovaApp() {
    if (mLoadingThread.joinable()) mLoadingThread.join();
    if (mpGraphics) {
        if (mpGraphics->IsMoviePlaying()) mpGraphics->StopMovie(1);
        mpGraphics->SetMoviePlayer(nullptr);
    }
    mpMoviePlayer.reset();
    if (gTovaApp == this) gTovaApp = nullptr;
}

cTovaApp* cTovaApp::Get() { return gTovaApp; }
void cTovaApp::SetHostWindow(platform::HostWindow* host) { gTovaHost = host; }
void cTovaApp::SetDisplay(Display display) { gTovaDisplay = std::move(display); }
void cTovaApp::SetAfterRun(std::function<void(cTovaApp&)> hook) { gTovaAfterRun = std::move(hook); }

bool cTovaApp::PostRun() {
    if (gTovaAfterRun) gTovaAfterRun(*this);
    return true;
}

bool cTovaApp::Switch(const char* name, cRZString* value) const {
    cGZFrameWork* framework = RZGetFramework();
    return framework && framework->GetCommandLine().FindSwitch(name, value, true);
}

int32_t cTovaApp::LoadingMusicVolume(int32_t step) {
    return kTovaLoadingMusicVolumes[std::clamp(step, int32_t{0}, int32_t{10})];
}

std::string cTovaApp::Text153(int entry) const {
    auto it = mTexts153.find(entry);
    return it == mTexts153.end() ? std::string() : it->second;
}

// Before the framework starts its services: the graphic system learns its
// window.
void cTovaApp::PreInit() {
    cGZFrameWork* framework = RZGetFramework();
    auto* w95 = dynamic_cast<cGZFrameWorkW95*>(framework);
    if (!w95) return;
    mpGraphics = dynamic_cast<cGZGraphicSystemW95*>(&w95->GetGraphicsObject());
    if (mpGraphics) {
        mpGraphics->SetFramework(w95);
        mpGraphics->SetHostWindow(gTovaHost);
    }
}

void cTovaApp::ReadInterfaceTexts() {
    tova::SetUIDirectory(tova::GetDataRoot() + "GameData");
    mTexts153.clear();
    mTexts157.clear();
    TovaCopySet(153, mTexts153);
    TovaCopySet(157, mTexts157);
    if (!Text153(21).empty()) tova::SetDataRootFailureTexts(Text153(21), Text153(22));
}

// The application's own start-up (language, texts, screen, machine check,
// options, sound data).
bool cTovaApp::AppInit() {
    tova::GetDataRoot();
    mpContext = std::make_unique<tova::GlobalContext>();
    tova::gGlobalContext = mpContext.get();
    mpContext->dataRoot = "";
    mpContext->framework = RZGetFramework();

    std::string registryLanguage;
    const bool haveRegistry = tova::ReadRegistryString("TOVA_LANGUAGE", registryLanguage);
    mLanguage = tova::ChooseLanguage(haveRegistry ? &registryLanguage : nullptr, RZGetFramework()->GetCommandLine());
    mpContext->language = static_cast<uint8_t>(mLanguage);
    SetCurrentLanguageId(mLanguage);
    ApplyLanguage();

    ReadInterfaceTexts();
    std::map<int, std::string> unused;
    TovaCopySet(152, unused);
    TovaCopySet(161, unused);

    if (Switch("r1024x768")) {
        mWidth = 1024;
        mHeight = 768;
    }
    mbWindowed = Switch("w");
    if (!Switch("skip_verify")) {
        tova::MachineProbes probes;
        probes.processorOk = [] { return platform::Cpu().hasCpuid && platform::Cpu().family > 4; };
        const std::string failed = tova::VerifySystemText(probes, [this](int n) {
            auto it = mTexts157.find(n);
            return it == mTexts157.end() ? std::string() : it->second;
        });
        if (!failed.empty()) {
            auto caption = mTexts157.count(3) ? mTexts157[3] : std::string("argh!");
            if (gTovaDisplay.box) gTovaDisplay.box(failed.empty() ? "Argh!" : failed, caption, 0);
            else platform::ShowWarningBox(caption, failed);
            std::fflush(nullptr);
            std::exit(1);
        }
    }
    cGZGraphicSystem::SetWindowed(mbWindowed);
    cGZGraphicSystem::SetRequestedMode(mWidth, mHeight, 16);

    std::string optionsPath;
    if (tova::MakeDataPath("UserData/", "options.iff", optionsPath)) tova::GetOptions().Load(optionsPath);
    auto* framework = RZGetFramework();
    if (framework->IsSoundEnabled()) {
        mSound = tova::FindSoundAndMusicData(tova::GetDataRoot());
        if (!mSound.found) framework->SetSoundEnabled(false);
    }
    return true;
}

void cTovaApp::ApplyLanguage() {
    cIGZLanguageManager* languages = RZGetFramework()->GetLanguageManager();
    languages->AddLanguage(static_cast<uint32_t>(mLanguage));
    languages->SetCurrentLanguage(static_cast<uint32_t>(mLanguage));
}

void cTovaApp::SetUpUIColorsAndFonts() {
    // The framework's start-up set its language manager up again after the
    // application chose the language.
    ApplyLanguage();
    if (cIGZFontSys* fonts = GZGetFontSys()) {
        fonts->SetFontFolder(cRZString(tova::GetDataRoot() + "UIGraphics/Fonts/"));
        mpInterfaceFont = fonts->GetFont({5, 12, 0, 0});
    }
}

// The service start-up: texts of the progress, resources, controls, fonts,
// graphics and the splash; then the loading starts.
bool cTovaApp::Init() {
    mbStartingUp = true;
    mbThreadedLoading = !Switch("no_thread_init") && !Switch("rebuild_catalog");
    if (!Switch("show_init_progress")) {
        mpProgressSet = std::make_unique<StringSet>();
        tova::LoadUIStringSet(155, "UIText.iff", *mpProgressSet, false);
    }
    ReportStartupStep(TovaStepCode("stap"), "Starting App init");
    mbReportAssets = Switch("reportassets");
    if (!mpGraphics) return false;
    cGZMainWindowW95& main = mpGraphics->GetMainWindow();
    mpRoot = &main;
    main.SetText(cRZString(Text153(1).empty() ? "Ziv Tova" : Text153(1).c_str()));
    main.SetLanguageIndex(mLanguage);

    mpImages = std::make_unique<cGZResourceImages>(tova::GetDataRoot() + "UIGraphics/",
                                                   [this] { return mLanguage; });
    ReportStartupStep(TovaStepCode("regr"), "Registering resources");
    mpImages->LoadScripts();
    GZSetResourceImages(mpImages.get());

    ReportStartupStep(TovaStepCode("ctrl"), "Setting up controls");
    SetUpUIColorsAndFonts();
    GetWinCtrlMgr()->Init();
    SetUpControlsAndCursors();
    ReportStartupStep(TovaStepCode("grph"), "Initializing graphics");
    mpContext->graphicSystem = mpGraphics;
    // Movies play into the screen buffer through the sound service's mixer.
    mpMoviePlayer = std::make_unique<MoviePlayer>(&mpGraphics->GetScreenBuffer());
    mpGraphics->SetMoviePlayer(mpMoviePlayer.get());
    mpContext->windowManager = GZWinMgr();
    main.SetFlag(kGZWinVisible, true);
    if (auto* w95 = dynamic_cast<cGZFrameWorkW95*>(RZGetFramework()))
        w95->SetMessageDispatcher([&main](const platform::QueuedMessage& m) { main.Dispatch(m); });

    // The splash: the two start-up pictures with the loading texts under them.
    auto* splash = new cGZWinSplashScreen;
    for (int32_t i = 0; i < 2; ++i) {
        cGZBuffer* image = nullptr;
        if (mpImages->LoadImageByResID(9002 + i, image, 0) && image) {
            const cRZString caption(i == 0 ? "A neighbourhood of your own" : "Loading the neighbourhood");
            splash->SetImage(i, image, 5000, &caption);
        }
    }
    splash->SetFont(mpInterfaceFont);
    splash->SetArea(0, 0, main.Width(), main.Height());
    if (main.AddChild(splash)) {
        splash->SetOwnBuffer(true);
        mpSplash = splash;
    } else {
        delete splash;
    }
    StartLoading();
    PlayLoadMusic();
    return true;
}

void cTovaApp::SetUpControlsAndCursors() {
    cIGZWinCtrlMgr* ctrl = GetWinCtrlMgr();
    const uint8_t colours[19][3] = {{255, 0, 255},   {189, 188, 188}, {255, 255, 255}, {0, 0, 0},       {0, 0, 0},
                                    {128, 0, 0},     {0, 128, 0},     {128, 128, 64},  {0, 0, 128},     {128, 0, 128},
                                    {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0},     {0, 255, 0},
                                    {255, 255, 0},   {0, 0, 255},     {0, 255, 255},   {255, 255, 255}};
    for (int32_t key = 0; key < 19; ++key)
        if (key != 3 && mpRoot) ctrl->SetColour(key, mpRoot->MakeColor(colours[key][0], colours[key][1], colours[key][2]));
    if (mpInterfaceFont) {
        mpInterfaceFont->AddRef();
        ctrl->SetFont(cIGZWinCtrlMgr::kFontLabel, mpInterfaceFont);
    }
    // The control pictures by resource id into the image slots in order; a
    // picture that cannot be loaded leaves its slot empty.
    const int32_t imageIds[] = {18, 17, 3008, 19, 20, 21, 22, 24, 26, 27, 28, 29};
    for (int32_t slot = 0; slot < 12; ++slot) {
        cGZBuffer* image = nullptr;
        if (!mpImages || !mpImages->LoadImageByResID(imageIds[slot], image, 0) || !image) continue;
        image->SetColorKey(image->MakeColor(255, 0, 255));
        ctrl->SetImage(slot, image, true);
    }
    cGZWinMgrW95* mgr = GZWinMgr();
    cRZCursorManager* cursors = mgr ? mgr->GetCursorManager() : nullptr;
    if (!cursors) return;
    static const char* const kCursorFiles[37] = {
        nullptr, "arrow.cur", "edit.cur", "hourglass.cur", "finger.cur", nullptr, "TovaDelete.cur", "TovaLevel.cur",
        "TovaLower.cur", "TovaRaise.cur", "TovaMove.cur", "TovaPlace.cur", "TovaRotate.cur", "TovaRotateNW.cur",
        "TovaRotateNE.cur", "TovaRotateSW.cur", "TovaRotateSE.cur", "LEFT.cur", "RIGHT.cur", "UP.cur", "DOWN.cur",
        "UPRIGHT.cur", "UPLEFT.cur", "DOWNRIGHT.cur", "DOWNLEFT.cur", "EXPLORE.cur", "DEADEXPL.cur", "pan.cur",
        "LiveNothing.cur", "LivePerson.cur", "LiveObjectAvail.cur", "LiveObjectUnavail.cur", "AddPts.cur",
        "MOVEIN.cur", "bulldoze.cur", "TovaFlip.cur", "RemovePts.cur"};
    for (int32_t id = 1; id <= 36; ++id) {
        if (!kCursorFiles[id] || (id <= 3 && cursors->FindCursor(id))) continue;
        std::string path;
        if (!tova::MakeDataPath("Res/UI/Shared/Sys/", kCursorFiles[id], path) || !platform::FileExists(path)) continue;
        auto* cursor = new cRZCursor(platform::ResolvePath(path));
        if (!cursor->IsLoaded() || !cursors->AddCursor(cursor, id)) delete cursor;
    }
    ResetCursor();
}

void cTovaApp::ResetCursor() {
    cGZWinMgrW95* mgr = GZWinMgr();
    if (cRZCursorManager* cursors = mgr ? mgr->GetCursorManager() : nullptr)
        if (cRZCursor* arrow = cursors->FindCursor(1)) arrow->Apply();
}

void cTovaApp::CreateInputMethodWindows() {
    if (mLanguage != 15 && mLanguage != 17 && mLanguage != 18 && mLanguage != 20) return;
    if (!mpRoot || !mpInterfaceFont) return;
    const int32_t h = mpInterfaceFont->GetLineHeight();
    cGZWinIMEComposition* composition = cGZWinIMEComposition::Create();
    cGZWinIMECandidate* candidate = cGZWinIMECandidate::Create();
    if (composition) {
        composition->SetFont(mpInterfaceFont);
        composition->SetArea(20, 20, 420, h + 26);
        composition->SetMargins(4, 4);
        mpRoot->AddChild(composition);
        composition->SetAlwaysRedraw(true);
        composition->Hide();
    }
    if (candidate) {
        candidate->SetFont(mpInterfaceFont);
        candidate->SetArea(20, h + 30, 220, 11 * h + 54);
        candidate->SetMargins(4, 4);
        candidate->SetNumbered(mLanguage == 17 || mLanguage == 18);
        mpRoot->AddChild(candidate);
        candidate->SetAlwaysRedraw(true);
        candidate->Hide();
    }
}

void cTovaApp::ReportStartupStep(uint32_t code, const char* text) {
    if (gTovaDisplay.step) gTovaDisplay.step(code, text);
    if (mpSplash && !mpProgressSet) mpSplash->SetStatusText(cRZString(text));
}

void cTovaApp::StartLoading() {
    if (mbThreadedLoading) {
        try {
            mLoadingThread = std::thread([this] { LoadingThreadMain(true); });
            return;
        } catch (...) {
            mbThreadedLoading = false;
        }
    }
    LoadingThreadMain(false);
}

void cTovaApp::LoadingThreadMain(bool threaded) {
    CreateMainWindows();
    // The one hand-over to the main thread: everything made above is
    // visible to it once it sees the flag.
    mLoadingFinished.store(true, std::memory_order_release);
    if (!threaded) FinishStartup();
}

bool cTovaApp::CreateMainWindows() {
    ReportStartupStep(TovaStepCode("main"), "Adding main window");
    mpStartup = std::make_unique<tova::cShellStartupServices>(
        [this](uint32_t code, const char* text) { ReportStartupStep(code, text); });
    mpContext->startup = mpStartup.get();
    cRZString ngh;
    const std::string userData = Switch("ngh", &ngh) ? std::string(ngh.c_str()) : std::string();
    const bool loaded = mpContext->LoadGameData(0, mWidth, mHeight, mSound.soundFolder, mSound.musicFolder, userData);
    if (loaded) {
        gTovaLinks = std::make_unique<tova::NeighbourhoodLinks>(mpContext->neighborhood, mpContext->objectFolder);
        tova::NeighbourhoodLinks::Install(gTovaLinks.get());
        tova::GameServices::Get().simulator = mpContext->simulator;
    }
    if (!mpMainView) {
        mpMainView = new cShellFlatView(mpInterfaceFont, Text153(1).empty() ? "Ziv Tova" : Text153(1));
        mpMainView->SetArea(0, 0, mWidth, mHeight);
    }
    ReportStartupStep(TovaStepCode("cpnl"), "Adding control panel");
    return loaded;
}

void cTovaApp::FinishStartup() {
    FadeLoadMusic();
    if (!mbStartingUp) return;
    ReportStartupStep(TovaStepCode("prfn"), "Setting up personfinder");
    ReportStartupStep(TovaStepCode("fapp"), "Finished app init");
    if (mpSplash) {
        if (cGZWinMgrW95* mgr = GZWinMgr()) mgr->DestroyWin(mpSplash);
        mpSplash = nullptr;
    }
    mpProgressSet.reset();
    if (mpRoot && mpMainView) {
        mpRoot->AddChild(mpMainView);
        mpMainView->SetFlag(kGZWinVisible, true);
    }
    // The window tree is the main thread's: the input-method windows join
    // it here rather than on the loading thread.
    CreateInputMethodWindows();
    std::string neighborhood;
    if (tova::MakeNeighborhoodPath(nullptr, nullptr, neighborhood)) tova::ClearReadOnlyFlags(neighborhood);
    mbStartingUp = false;
}

bool cTovaApp::Tick() {
    if (mbStartingUp && mbThreadedLoading && LoadingFinished()) {
        if (mLoadingThread.joinable()) mLoadingThread.join();
        FinishStartup();
    }
    return true;
}

void cTovaApp::PlayLoadMusic() {
    tova::iShellSound* sound = tova::GetShellSound();
    if (!sound || !RZGetFramework()->IsSoundEnabled()) return;
    const int32_t step = tova::GetOptions().GetVolume(tova::iShellSound::kMusic);
    if (step != 0) sound->SetVolume(tova::iShellSound::kMusic, step);
    sound->PlayMusic("loadloop");
}

void cTovaApp::FadeLoadMusic() {
    if (tova::iShellSound* sound = tova::GetShellSound()) sound->FadeMusic(10000);
}

int32_t cTovaApp::OnMediaEvent(int32_t eventId, int32_t value) {
    if (value != 0) return 0;
    (void)eventId;  // the sound engine takes media events once it lands
    return 1;
}

int cTovaApp::ShowMessageBox(const char* text, const char* caption, int buttonKind, int flag) {
    return DoMessageBox(text, caption, buttonKind, flag);
}

int cTovaApp::DoMessageBox(const char* text, const char* caption, int buttonKind, int flag) {
    const std::string t = text ? text : "", c = caption ? caption : "";
    if (mnNextAnswer >= 0) {
        const int answer = mnNextAnswer;
        mnNextAnswer = -1;
        if (gTovaDisplay.box) gTovaDisplay.box(t, c, -1 - answer);
        return answer;
    }
    if (gTovaDisplay.box) return gTovaDisplay.box(t, c, buttonKind);
    cGZWinMgrW95* mgr = GZWinMgr();
    if (!mgr || !mpRoot) return -1;
    auto* box = new cGZWinMsgBox(cRZString(t.c_str()), cRZString(c.c_str()), static_cast<uint32_t>(buttonKind),
                                 flag != 0, 40000);
    box->SetColours(0, 0, 82);
    const int32_t result = mgr->DoModal(mpRoot, box);
    mgr->DestroyWin(box);
    return result;
}

int32_t cTovaApp::ShowDialog(cGZWin* dialog, bool modal, int32_t flag) {
    if (!dialog) return -1;
    if (mnNextAnswer >= 0) {
        const int32_t answer = mnNextAnswer;
        mnNextAnswer = -1;
        return answer;
    }
    cGZWinMgrW95* mgr = GZWinMgr();
    cGZWin* parent = mpMainView && mpMainView->GetParent() ? mpMainView : mpRoot;
    if (!modal) {
        if (parent) parent->AddChild(dialog);
        dialog->Show();
        return flag;
    }
    return mgr && parent ? mgr->DoModal(parent, dialog) : -1;
}

void cTovaApp::ReportUnreadCmx(const std::string& file) {
    if (mbReportAssets) mMissingAssets += "CMX file \"" + file + "\" could not be read. ";
}

void cTovaApp::ReportMissingSkill(const std::string& person, const std::string& skill) {
    if (mbReportAssets)
        mMissingAssets += "Person \"" + person + "\" is attempting to run the animation named \"" + skill +
                          "\", and the skill does not seem to be present in the cmx directories.";
}

void cTovaApp::ReportMissingCfp(const std::string& skill, const std::string& file) {
    if (mbReportAssets && !skill.empty() && !file.empty())
        mMissingAssets += "The skill \"" + skill + "\" could not be loaded because the CFP file \"" + file +
                          ".cfp\" is not present.";
}

void cTovaApp::ReportBlankAnimation(const std::string& person, int32_t age, const std::string& table, int32_t index) {
    if (!mbReportAssets) return;
    std::string text = "Person \"" + person + "\" is attempting to run the animation with index " +
                       std::to_string(index) + " from the ";
    if (table == "misc") text += std::string("global miscellaneous ") + (age >= 1 && age <= 17 ? "child" : "adult");
    else if (table == "glob") text += "legacy global";
    else if (table == "pers") text += "legacy person stock";
    mMissingAssets += text + " table, and the entry is blank.\n";
}

void cTovaApp::ReportBlankPairAnimation(const std::string& object, const std::string& person, int32_t table,
                                        int32_t index) {
    if (!mbReportAssets) return;
    static const char* const kPairs[] = {"child to object (or child to child)", "adult to object (or adult to adult)",
                                         "child to adult", "adult to child"};
    const char* pair = table >= 0 && table < 4 ? kPairs[table] : "";
    mMissingAssets += "Person \"" + person + "\" is attempting to run the animation with index " + std::to_string(index) +
                      " from the animations of " + object + ". The entry for " + pair + " is blank.\n";
}

void cTovaApp::ReportCrashedCallback() {
    const char* name = GetCallbackCrash();
    if (!name || mbCrashReported) return;
    mbCrashReported = true;
    ShowMessageBox(("Crash in " + std::string(name)).c_str(), "Sound System Error", 0, 0);
}

bool cTovaApp::OnCallbackCrash() {
    ReportCrashedCallback();
    return true;
}

bool cTovaApp::Shutdown() {
    if (tova::iShellSound* sound = tova::GetShellSound()) sound->QuietAll();
    if (mLoadingThread.joinable()) mLoadingThread.join();
    tova::NeighbourhoodLinks::Install(nullptr);
    gTovaLinks.reset();
    tova::GameServices::Get().simulator = nullptr;
    if (cGZWinMgrW95* mgr = GZWinMgr()) {
        if (mpSplash) mgr->DestroyWin(mpSplash);
        if (mpMainView && mpMainView->GetParent()) mgr->DestroyWin(mpMainView);
        else delete mpMainView;
    }
    mpSplash = nullptr;
    mpMainView = nullptr;
    if (cIGZFontSys* fonts = GZGetFontSys(); fonts && mpInterfaceFont) fonts->ReleaseFont(mpInterfaceFont);
    mpInterfaceFont = nullptr;
    GetWinCtrlMgr()->Shutdown();
    GZSetResourceImages(nullptr);
    mpImages.reset();
    tova::gGlobalContext = nullptr;
    mpContext.reset();
    mpStartup.reset();
    return true;
}
