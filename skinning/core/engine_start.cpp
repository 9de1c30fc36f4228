#include "core/engine_start.h"

namespace skinning {

namespace {

bool HasFolderPart(const std::string& path) {
  return path.find_first_of("\\/:") != std::string::npos;
}

int32_t Ready(SkinEngineCalls& engine, const std::string& folder, int32_t progress) {
  if (!engine.HasSkinName()) return progress;
  const std::string name = engine.SkinName();
  if (name.empty()) return 0;
  // The skin in force: where the engine found it, or beside the program.
  const std::string path = HasFolderPart(name) ? name : folder + engine.FileNameOf(name);
  return engine.Exists(path) ? progress : 0;
}

}  // namespace

int32_t StartSkinEngine(SkinEngineCalls& engine) {
  if (!engine.Load()) return 0;
  const std::string folder = engine.ExeFolder();
  int32_t progress = 200;
  if (engine.HasUseFocusRect()) {
    progress = 250;
    engine.UseFocusRect(1);
  }
  const bool hostSkin = engine.HasSkinName() && !engine.SkinName().empty();
  if (hostSkin) {
    progress = Ready(engine, folder, 300);
  } else if (engine.HasInitEngine()) {
    const std::string skinFile = folder + kLibrarySkinFile;
    if (engine.Exists(skinFile)) {
      engine.InitEngine(kLibrarySkinFile);
      progress = Ready(engine, folder, 350);
    } else {
      progress = 0;
    }
  } else {
    progress = 0;
  }
  engine.Unload();
  return progress;
}

}  // namespace skinning
