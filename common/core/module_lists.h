// The suite's modules: window classes and program files in one 1-based
// order, and module references read from text tables.
#pragma once

#include <cstddef>
#include <string>

namespace suite {

// Every program finds another by its window class and starts it as its
// program file + ".exe" from the program folder.  A program holds the
// leading part of the lists it uses (see ModuleListLength below).
extern const char* const ModuleClassList;    // "ORBMEDIA,ORBPLAY,...,ORBEXT"
extern const char* const ModuleProgramList;  // "orbmedia,orbplay,...,orbext"
constexpr size_t MODULE_COUNT = 11;

// Indexes into the lists.
constexpr size_t MODULE_MEDIA_BROWSER = 1;
constexpr size_t MODULE_MEDIA_PLAYER = 2;
constexpr size_t MODULE_HELP_VIEWER = 3;
constexpr size_t MODULE_AUDIO_PLAYER = 4;
constexpr size_t MODULE_SLIDESHOW_MAKER = 5;
constexpr size_t MODULE_PICTURE_TOOL = 6;
constexpr size_t MODULE_PICTURE_BROWSER = 7;
constexpr size_t MODULE_SPECTRUM = 8;
constexpr size_t MODULE_DISC_BURNER = 9;
constexpr size_t MODULE_VISUALS = 10;
constexpr size_t MODULE_EXTENSION = 11;

// Class and program file of module `index` (1-based) for a program that
// holds the first `heldCount` entries; "" outside that range.
std::string ModuleClass(size_t index, size_t heldCount = MODULE_COUNT);
std::string ModuleProgram(size_t index, size_t heldCount = MODULE_COUNT);
// 1-based index of a window class (exact, as FindWindow compares class
// names case-insensitively the caller may pass any case); 0 when unknown.
size_t ModuleIndexOfClass(const std::string& windowClass);

// A text-table entry naming another module: "program file,window class".
// The disc burner's help entry has three fields: "help file,program,class".
struct ModuleRef {
  std::string program;      // field 1 (for a three-field help entry: field 2)
  std::string windowClass;  // field 2 (for a three-field help entry: field 3)
  std::string helpFile;     // field 1 of a three-field help entry, else ""
};
ModuleRef ParseModuleRef(const std::string& entry);

}  // namespace suite
