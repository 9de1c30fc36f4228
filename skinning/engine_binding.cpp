// The skin engine as skSkinWindow starts it (core/engine_start.h): loaded by
// name, with SKSKINNAME, SKUSEFOCUSRECT and SKINITENGINE looked up by name
// (an older engine may lack them), and the engine's file functions, which
// the library imports.
#include <windows.h>

#include <string>

#include "core/engine_start.h"
#include "library_state.h"
#include "themecore.h"

namespace skinning {

namespace {

using SkinNameFunction = int32_t(__stdcall*)(char*, int32_t);
using UseFocusRectFunction = int32_t(__stdcall*)(int32_t);
using InitEngineFunction = int32_t(__stdcall*)(const char*);

class LoadedEngine : public SkinEngineCalls {
 public:
  bool Load() override {
    module_ = LoadLibraryA("THEMECORE.DLL");
    if (module_ == nullptr) return false;
    skinName_ = reinterpret_cast<SkinNameFunction>(GetProcAddress(module_, "SKSKINNAME"));
    useFocusRect_ = reinterpret_cast<UseFocusRectFunction>(GetProcAddress(module_, "SKUSEFOCUSRECT"));
    initEngine_ = reinterpret_cast<InitEngineFunction>(GetProcAddress(module_, "SKINITENGINE"));
    return true;
  }
  void Unload() override {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
  }
  std::string ExeFolder() override {
    const std::string exe = themecore::FetchText([](char* out, int32_t size) { return SKEXENAME(out, size); });
    return FolderOf(exe);
  }
  std::string FileNameOf(const std::string& path) override {
    std::string folder(path.size() + 1, '\0');
    std::string name(path.size() + 1, '\0');
    if (!SKSPLITN(path.c_str(), folder.data(), static_cast<int32_t>(folder.size()), name.data(),
                  static_cast<int32_t>(name.size()))) {
      return path;
    }
    return name.c_str();
  }
  bool Exists(const std::string& path) override { return SKEXIST(path.c_str()) != 0; }
  bool HasSkinName() override { return skinName_ != nullptr; }
  std::string SkinName() override {
    SkinNameFunction read = skinName_;
    return themecore::FetchText([read](char* out, int32_t size) { return read(out, size); });
  }
  bool HasUseFocusRect() override { return useFocusRect_ != nullptr; }
  void UseFocusRect(int32_t on) override { useFocusRect_(on); }
  bool HasInitEngine() override { return initEngine_ != nullptr; }
  int32_t InitEngine(const std::string& skinFile) override { return initEngine_(skinFile.c_str()); }

 private:
  static std::string FolderOf(const std::string& path) {
    std::string folder(path.size() + 1, '\0');
    std::string name(path.size() + 1, '\0');
    if (!SKSPLITN(path.c_str(), folder.data(), static_cast<int32_t>(folder.size()), name.data(),
                  static_cast<int32_t>(name.size()))) {
      return std::string();
    }
    return folder.c_str();
  }

  HMODULE module_ = nullptr;
  SkinNameFunction skinName_ = nullptr;
  UseFocusRectFunction useFocusRect_ = nullptr;
  InitEngineFunction initEngine_ = nullptr;
};

}  // namespace

int32_t StartSkinEngine() {
  LoadedEngine engine;
  return skinning::StartSkinEngine(static_cast<SkinEngineCalls&>(engine));
}

}  // namespace skinning
