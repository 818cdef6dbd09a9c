// uidemo --splash: the splash screen over the root with the two pictures of
// UIGraphics/Codec (read through the codec) for 2000 ms each with captions,
// while a loading thread posts "Loading 1" to "Loading 5", one every 300 ms
// of the program's clock. Prints "splash ended I" when the application is
// told that image I ended.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class cGZWin;
class cGZWinSplashScreen;
class cIGZFont;

class SplashDemo {
public:
    using Report = std::function<void(const std::string&)>;

    SplashDemo(Report report, std::string dataRoot, cIGZFont* font);
    ~SplashDemo();
    SplashDemo(const SplashDemo&) = delete;
    SplashDemo& operator=(const SplashDemo&) = delete;

    // Puts the splash over the root and starts the loading thread; false
    // with the reason when a picture cannot be read.
    bool Start(cGZWin& root, std::string& error);
    // Stops the thread and takes the splash down.
    void Stop();

private:
    class App;
    std::unique_ptr<App> mpApp;
    std::string mDataRoot;
    cIGZFont* mpFont;
    cGZWinSplashScreen* mpSplash = nullptr;
    std::thread mLoader;
    std::atomic<bool> mbStop{false};
};
