#include "gamedata/GameDataLoader.h"

#include "gamedata/GlobalContext.h"

namespace tova {

GameDataLoader::~GameDataLoader() {
  if (thread_.joinable()) thread_.join();
}

void GameDataLoader::Start(GlobalContext& context, Arguments arguments, bool threaded) {
  if (started_) return;
  started_ = true;
  auto load = [this, &context, args = std::move(arguments)] {
    result_ = context.LoadGameData(args.window, args.width, args.height, args.soundA, args.soundB,
                                   args.userDataFolder);
  };
  if (threaded) {
    thread_ = std::thread(load);
  } else {
    load();
  }
}

bool GameDataLoader::Finish() {
  if (thread_.joinable()) thread_.join();
  return started_ && result_;
}

}  // namespace tova
