// Starting the skin engine over a recording engine: the calls made, their
// order, and what the library reports.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/engine_start.h"

namespace skinning {
namespace {

class RecordingEngine : public SkinEngineCalls {
 public:
  bool loads = true;
  bool hasSkinName = true, hasFocusRect = true, hasInit = true;
  std::string skin;  // the skin in force, as SKSKINNAME gives it
  std::set<std::string> files;
  bool initTakesFile = true;
  std::vector<std::string> calls;

  bool Load() override {
    calls.push_back("load");
    return loads;
  }
  void Unload() override { calls.push_back("unload"); }
  std::string ExeFolder() override { return "C:\\Orb\\"; }
  std::string FileNameOf(const std::string& path) override {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
  }
  bool Exists(const std::string& path) override {
    calls.push_back("exists " + path);
    return files.count(path) != 0;
  }
  bool HasSkinName() override { return hasSkinName; }
  std::string SkinName() override { return skin; }
  bool HasUseFocusRect() override { return hasFocusRect; }
  void UseFocusRect(int32_t on) override { calls.push_back("focus " + std::to_string(on)); }
  bool HasInitEngine() override { return hasInit; }
  int32_t InitEngine(const std::string& file) override {
    calls.push_back("init " + file);
    if (!initTakesFile) return 0;
    skin = "C:\\Orb\\" + file;
    return 1;
  }
};

TEST(EngineStart, TheHostsSkinIsKept) {
  RecordingEngine engine;
  engine.skin = "C:\\Orb\\luminar.sks";
  engine.files = {"C:\\Orb\\luminar.sks"};
  EXPECT_EQ(300, StartSkinEngine(engine));
  EXPECT_EQ((std::vector<std::string>{"load", "focus 1", "exists C:\\Orb\\luminar.sks", "unload"}),
            engine.calls);
  EXPECT_EQ("C:\\Orb\\luminar.sks", engine.skin) << "never replaced";
}

TEST(EngineStart, WithoutAHostSkinTheLibrarysFileIsCheckedFirst) {
  RecordingEngine engine;
  engine.files = {"C:\\Orb\\LUMINAR.SKS"};
  EXPECT_EQ(350, StartSkinEngine(engine));
  EXPECT_EQ((std::vector<std::string>{"load", "focus 1", "exists C:\\Orb\\LUMINAR.SKS",
                                      "init LUMINAR.SKS", "exists C:\\Orb\\LUMINAR.SKS", "unload"}),
            engine.calls);

  RecordingEngine missing;
  EXPECT_EQ(0, StartSkinEngine(missing));
  EXPECT_EQ((std::vector<std::string>{"load", "focus 1", "exists C:\\Orb\\LUMINAR.SKS", "unload"}),
            missing.calls)
      << "the engine is not started with a file that is not there";
}

TEST(EngineStart, Failures) {
  RecordingEngine noLibrary;
  noLibrary.loads = false;
  EXPECT_EQ(0, StartSkinEngine(noLibrary));
  EXPECT_EQ((std::vector<std::string>{"load"}), noLibrary.calls);

  RecordingEngine bare;
  bare.hasSkinName = bare.hasFocusRect = bare.hasInit = false;
  EXPECT_EQ(0, StartSkinEngine(bare));

  RecordingEngine broken;  // the file is there but the engine does not take it
  broken.files = {"C:\\Orb\\LUMINAR.SKS"};
  broken.initTakesFile = false;
  EXPECT_EQ(0, StartSkinEngine(broken));

  RecordingEngine gone;  // the host's skin file was deleted meanwhile
  gone.skin = "C:\\Skins\\dark.sks";
  EXPECT_EQ(0, StartSkinEngine(gone));
}

TEST(EngineStart, EnginesLackingSomeFunctions) {
  RecordingEngine noName;  // no SKSKINNAME: the file's presence decides
  noName.hasSkinName = false;
  noName.files = {"C:\\Orb\\LUMINAR.SKS"};
  EXPECT_EQ(350, StartSkinEngine(noName));

  RecordingEngine noFocus;
  noFocus.hasFocusRect = false;
  noFocus.skin = "luminar.sks";  // a bare name: beside the program
  noFocus.files = {"C:\\Orb\\luminar.sks"};
  EXPECT_EQ(300, StartSkinEngine(noFocus));
  for (const std::string& call : noFocus.calls) EXPECT_NE("focus 1", call);

  RecordingEngine noInit;  // the host's skin alone
  noInit.hasInit = false;
  EXPECT_EQ(0, StartSkinEngine(noInit));
}

}  // namespace
}  // namespace skinning
