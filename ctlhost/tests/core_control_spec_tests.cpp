// The control spec's keys and the PROPERTIES entries.
#include <gtest/gtest.h>

#include <string>

#include "core/control_spec.h"

namespace ctlhost {
namespace {

TEST(ControlSpec, KeysAndValues) {
  struct Case {
    const char* spec;
    const char* progId;
    const char* properties;
  } cases[] = {
      {"ProgID:Shell.Explorer.2", "Shell.Explorer.2", ""},
      {"ProgID:Shell.Explorer.2;", "Shell.Explorer.2;", ""},
      {"PROGID=Sample.Ctl;PROPERTIES=Day=I2(5),Month=I2(7)", "Sample.Ctl", "Day=I2(5),Month=I2(7)"},
      {"properties Day=I2(5); progid Sample.Ctl", "Sample.Ctl", "Day=I2(5);"},
      {"CLSID:{x};ProgID:A.B", "A.B", ""},
      {"PROGID:A.B;CLSID:{x}", "A.B", ""},
      {"no keys at all", "", ""},
      {"PROGID", "", ""},
      {"PROGID:", "", ""},
      {"PROGID:A.progid.B", "A", ""},
      {"ProgID:first;ProgID:second", "first", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spec);
    const ParsedSpec parsed = ParseControlSpec(c.spec);
    EXPECT_EQ(parsed.progId, c.progId);
    EXPECT_EQ(parsed.properties, c.properties);
  }
}

TEST(ControlSpec, LongValuesAreCut) {
  const std::string spec = "PROGID:" + std::string(5000, 'a');
  EXPECT_EQ(ParseControlSpec(spec).progId.size(), kMaxProgIdChars);
}

TEST(ControlSpec, Tokenizer) {
  EXPECT_EQ(Tokenize(",,a,b,,c,", ","), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(Tokenize("I2(5)", "()"), (std::vector<std::string>{"I2", "5"}));
  EXPECT_EQ(Tokenize(" a b ", ","), (std::vector<std::string>{" a b "}));
  EXPECT_TRUE(Tokenize(",,,", ",").empty());
}

TEST(ControlSpec, PropertyLookup) {
  struct Case {
    const char* properties;
    const char* name;
    PropertyLookup result;
    uint16_t varType;
    const char* text;
  } cases[] = {
      {"Day=I2(5),Month=I2(7)", "day", PropertyLookup::kFound, 2, "5"},
      {"Day=I2(5),Month=I2(7)", "MONTH", PropertyLookup::kFound, 2, "7"},
      {"Day=I2(5),Day=I4(9)", "day", PropertyLookup::kFound, 2, "5"},
      {"Day=I2(),Day=I2(5)", "day", PropertyLookup::kMalformed, 0, ""},
      {"Day=5,Day=I2(5)", "day", PropertyLookup::kMalformed, 0, ""},
      {"Text=bstr(hello world)", "text", PropertyLookup::kFound, 8, "hello world"},
      {"X=odd(1)", "x", PropertyLookup::kFound, 0, "1"},
      {"Day=I2(5)", "Year", PropertyLookup::kNotFound, 0, ""},
      {"=I2(5),Day", "day", PropertyLookup::kNotFound, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.properties) + " / " + c.name);
    PropertyValue value;
    EXPECT_EQ(FindSpecProperty(c.properties, c.name, &value), c.result);
    EXPECT_EQ(value.varType, c.varType);
    EXPECT_EQ(value.text, c.text);
  }
  EXPECT_EQ(VarTypeOfTypeName("idispatch"), 9);
  EXPECT_EQ(VarTypeOfTypeName("HRESULT"), 25);
}

}  // namespace
}  // namespace ctlhost
