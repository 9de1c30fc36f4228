// The rules of fired events: argument slots, braced interface ids, names
// narrowed into a client's buffer, lookup by name, synchronous events and
// the stores through by-reference arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/event_rules.h"

namespace ctlhost {
namespace {

TEST(EventRules, ParameterIndexToArgumentSlot) {
  struct Case {
    int32_t index, count, slot;
  } cases[] = {
      {0, 3, 2}, {2, 3, 0}, {1, 3, 1}, {3, 3, -1}, {-1, 3, -1}, {0, 0, -1}, {0, 1, 0}, {0, -4, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " of " + std::to_string(c.count));
    EXPECT_EQ(ArgumentSlot(c.index, c.count), c.slot);
  }
}

TEST(EventRules, SourceIidsAreBraced) {
  const char kBare[] = "34A715A0-6587-11D0-924A-0020AFC7AC4D";
  const std::string braced = std::string("{") + kBare + "}";
  EXPECT_EQ(BracedIid(kBare), braced);
  EXPECT_EQ(BracedIid(braced), braced);
  EXPECT_EQ(BracedIid(std::string("{") + kBare), braced);
  EXPECT_EQ(BracedIid(std::string(kBare) + "}"), braced);
  EXPECT_EQ(BracedIid(""), "{}");
  EXPECT_EQ(BracedIid("{"), "{}");
}

TEST(EventRules, NamesAreNarrowedIntoTheBuffer) {
  struct Case {
    std::u16string name;
    int32_t size;
    std::string written;  // what the buffer holds up to its zero byte
    size_t copied;
  } cases[] = {
      {u"TitleChange", 5, "Titl", 4},
      {u"TitleChange", 1, "", 0},
      {u"TitleChange", 64, "TitleChange", 11},
      {u"Url", 4, "Url", 3},
      {u"\u0141x", 8, "\x41x", 2},  // low bytes of each unit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(CopyNarrowName(c.name, buffer, c.size), c.copied);
    EXPECT_EQ(std::string(buffer), c.written);
  }
  char untouched[2] = {'#', '#'};
  EXPECT_EQ(CopyNarrowName(u"abc", untouched, 0), 0u);
  EXPECT_EQ(untouched[0], '#');
  EXPECT_EQ(CopyNarrowName(u"abc", nullptr, 8), 0u);
}

TEST(EventRules, ParametersFoundByNameIgnoringCase) {
  const std::vector<std::string> names = {"BeforeNavigate2", "pDisp", "URL", "Flags", "Cancel"};
  EXPECT_EQ(FindParameterIndex(names, "url"), 1);
  EXPECT_EQ(FindParameterIndex(names, "CANCEL"), 3);
  EXPECT_EQ(FindParameterIndex(names, "pdisp"), 0);
  EXPECT_EQ(FindParameterIndex(names, "BeforeNavigate2"), -1);  // the event's own name is no parameter
  EXPECT_EQ(FindParameterIndex(names, "Cance"), -1);
  EXPECT_EQ(FindParameterIndex({}, "url"), -1);
}

TEST(EventRules, SynchronousWhenAParameterGoesBack) {
  constexpr uint16_t kBstr = 8, kI4 = 3;
  struct Case {
    const char* name;
    std::vector<DeclaredParameter> parameters;
    bool synchronous;
  } cases[] = {
      {"no parameters", {}, false},
      {"in values", {{kParamIn, kBstr}, {kParamIn, kI4}}, false},
      {"an in/out parameter", {{kParamIn, kBstr}, {kParamIn | kParamOut, kVarTypePointer}}, true},
      {"an out parameter", {{kParamOut, kI4}}, true},
      {"a pointer not marked in", {{0, kVarTypePointer}}, true},
      {"a pointer marked in", {{kParamIn, kVarTypePointer}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsSynchronousEvent(c.parameters), c.synchronous);
  }
}

TEST(EventRules, StoreWidthByBaseType) {
  struct Case {
    uint16_t varType;
    ByRefStore store;
  } cases[] = {
      {2, ByRefStore::k16},        {11, ByRefStore::k16},    {18, ByRefStore::k16},      {3, ByRefStore::k32},
      {4, ByRefStore::k32},        {19, ByRefStore::k32},    {22, ByRefStore::k32},      {23, ByRefStore::k32},
      {5, ByRefStore::kDouble},    {7, ByRefStore::kDouble}, {6, ByRefStore::k64},       {8, ByRefStore::kString},
      {9, ByRefStore::kInterface}, {13, ByRefStore::kInterface}, {16, ByRefStore::k8},   {17, ByRefStore::k8},
      {12, ByRefStore::kNone},     {20, ByRefStore::kNone},  {0, ByRefStore::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.varType);
    EXPECT_EQ(StoreForType(c.varType), c.store);
  }
}

}  // namespace
}  // namespace ctlhost
