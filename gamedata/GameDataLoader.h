#pragma once
// Runs the start-up load on a loading thread while the main thread shows the
// splash screen, or inline. The main thread reads the context only after
// Finish, which joins the thread: everything the load wrote is then visible
// to it.

#include <cstdint>
#include <string>
#include <thread>

namespace tova {

struct GlobalContext;

class GameDataLoader {
 public:
  struct Arguments {
    intptr_t window = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::string soundA;
    std::string soundB;
    std::string userDataFolder;
  };

  GameDataLoader() = default;
  ~GameDataLoader();
  GameDataLoader(const GameDataLoader&) = delete;
  GameDataLoader& operator=(const GameDataLoader&) = delete;

  // Starts the load of `context` (on a thread of its own when `threaded`).
  void Start(GlobalContext& context, Arguments arguments, bool threaded);
  // Waits for the load: its result.
  bool Finish();

 private:
  std::thread thread_;
  bool result_ = false;
  bool started_ = false;
};

}  // namespace tova
