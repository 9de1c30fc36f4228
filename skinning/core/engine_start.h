// Starting the skin engine for skSkinWindow: the engine is loaded by name,
// three of its functions are looked up by name, and the library is ready
// only when a skin file is in force.  The calls come through an interface
// so that the sequence runs over a recording engine in tests
// (engine_binding.cpp gives the real one).
#pragma once

#include <cstdint>
#include <string>

namespace skinning {

class SkinEngineCalls {
 public:
  virtual ~SkinEngineCalls() = default;
  // LoadLibraryA("THEMECORE.DLL"); false when it fails.
  virtual bool Load() = 0;
  // FreeLibrary of what Load took (the host's own import keeps it loaded).
  virtual void Unload() = 0;
  // The host executable's folder, with a final backslash.
  virtual std::string ExeFolder() = 0;
  // The file-name part of a path (SKSPLITN).
  virtual std::string FileNameOf(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // The functions looked up by name; Has... is false when the engine lacks
  // one, and the call is then never made.
  virtual bool HasSkinName() = 0;
  virtual std::string SkinName() = 0;  // "" while no skin file is in force
  virtual bool HasUseFocusRect() = 0;
  virtual void UseFocusRect(int32_t on) = 0;
  virtual bool HasInitEngine() = 0;
  virtual int32_t InitEngine(const std::string& skinFile) = 0;
};

// The skin the library starts the engine with when the host has not.
inline constexpr char kLibrarySkinFile[] = "LUMINAR.SKS";

// Progress values: 200 engine loaded, 250 focus rectangles asked for, 300 a
// skin of the host's in force, 350 the library's skin put in force.
//
// 0 (the engine is not ready, and nothing of the host's skin changed) when
// the engine cannot be loaded, when it has neither SKSKINNAME nor
// SKINITENGINE, or when no skin file is found.  A skin the host put in
// force is kept: the engine is started with the library's own skin file
// only when none is, and only when that file lies beside the host
// executable.
int32_t StartSkinEngine(SkinEngineCalls& engine);

}  // namespace skinning
