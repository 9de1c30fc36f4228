// The file picker's portable rules: the accessor stores, which files a
// folder lists and how, the filter box, the result texts, the layout and
// the Tab order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/file_listing.h"
#include "core/picker_choice.h"
#include "core/picker_layout.h"
#include "core/picker_stores.h"

namespace picker {
namespace {

TEST(PickerStores, HiddenAndListedExtensionTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::string hidden;
    std::string listed;
  };
  const Case cases[] = {
      {"empty clears", "", "", ""},
      {"two trailing bars", ".obf||", ".obf|", ".obf|"},
      {"no bar", ".kwd", ".kwd|", ".kwd|"},
      {"dotted run", ".jpg.gif.", ".jpg.gif.|", ".jpg|.gif|"},
      {"a bar list", ".obf|.kwd", ".obf|.kwd|", ".obf||.kwd|"},
      {"only bars", "|||", "", ""},
      {"only dots", "...", "...|", ""},
      {"leading bars", "||.mp3", "||.mp3|", ".mp3|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HiddenExtensionsStore(c.text), c.hidden);
    EXPECT_EQ(ListedExtensionsStore(c.text), c.listed);
  }
}

TEST(PickerStores, MultiSelectRequestIsOneShot) {
  MultiSelectRequest request;
  EXPECT_EQ(request.Exchange(1), 0);
  EXPECT_TRUE(request.isOn());
  EXPECT_EQ(request.Exchange(5), -1);  // taken, whatever the flag
  EXPECT_FALSE(request.isOn());
  EXPECT_EQ(request.Exchange(0), 0);
  EXPECT_FALSE(request.isOn());
  // The dialog's own ask with 0 consumes a request set before it.
  EXPECT_EQ(request.Exchange(1), 0);
  EXPECT_EQ(request.Exchange(0), -1);
  EXPECT_EQ(request.Exchange(0), 0);
}

TEST(FileListing, SearchPatternAndListedText) {
  struct Case {
    const char* name;
    std::string pattern;
    std::string store;
    std::string search;
    std::string listed;
  };
  const Case cases[] = {
      {"single pattern keeps the store", "*.jpg", ".jpg|.gif|", "*.jpg", ".jpg|.gif|"},
      {"pattern list", "*.mp3;*.wav", ".jpg|", "*.*", "*.MP3|*.WAV|"},
      {"pattern list with stray bars", ";*.mp3;;", "", "*.*", "*.MP3|"},
      {"all files", "*.*", "", "*.*", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ListingSpec spec = MakeListingSpec(c.pattern, c.store);
    EXPECT_EQ(spec.searchPattern, c.search);
    EXPECT_EQ(spec.listedExtensions, c.listed);
  }
  EXPECT_EQ(SearchSpec("C:\\music\\*.*", "*.mp3"), "C:\\music\\*.mp3");
  EXPECT_EQ(SearchFolder("C:\\music\\*.mp3"), "C:\\music\\");
  EXPECT_EQ(SearchFolder("*.mp3"), "");
}

TEST(FileListing, AttributesThatShow) {
  struct Case {
    uint32_t attributes;
    bool listed;
  };
  const Case cases[] = {{0x00, true},  {0x01, true},  {0x20, true},  {0x21, true},
                        {0x80, true},  {0x02, false}, {0x04, false}, {0x10, false},
                        {0x22, false}, {0x24, false}, {0x2020, true}, {0x2002, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    EXPECT_EQ(HasListedAttributes(c.attributes), c.listed);
  }
}

TEST(FileListing, NamesThatShow) {
  struct Case {
    const char* name;
    std::string file;
    std::string hidden;
    std::string listed;
    bool shown;
  };
  const Case cases[] = {
      {"plain", "a.mp3", "", "", true},
      {"dot file", ".x.mp3", "", "", false},
      {"hidden extension any case", "Song.OBF", ".obf|", "", false},
      {"hidden other", "song.mp3", ".obf|", "", true},
      {"hidden is no prefix match", "a.ob", ".obf|", "", true},
      {"listed overrides hidden", "a.obf", ".obf|", "*.OBF|", true},
      {"listed any case", "b.WaV", "", "*.MP3|*.WAV|", true},
      {"not listed", "c.ogg", "", "*.MP3|*.WAV|", false},
      {"listed needs the whole extension", "d.av", "", "*.WAV|", false},
      {"lower-case listed store", "e.JPG", "", ".jpg|.gif|", true},
      {"no extension", "readme", "", "", true},
      {"no extension with a list", "readme", "", "*.MP3|", false},
      {"last extension counts", "a.mp3.txt", "", "*.MP3|", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsNameListed(c.file, c.hidden, c.listed), c.shown);
  }
}

std::vector<std::string> Shown(const Listing& listing) {
  std::vector<std::string> names;
  for (const ListedFile& file : listing.files) names.push_back(file.shown);
  return names;
}

std::vector<std::string> FileNames(const Listing& listing) {
  std::vector<std::string> names;
  for (const ListedFile& file : listing.files) names.push_back(file.fileName);
  return names;
}

TEST(FileListing, FolderListing) {
  // The fixture folder of the Wine tests, as the search finds it.
  const std::vector<DirectoryEntry> entries = {
      {"b.wav", 0x20},   {"a.MP3", 0x20},  {".x.mp3", 0x20}, {"hidden.mp3", 0x22},
      {"system.mp3", 0x24}, {"readonly.mp3", 0x21}, {"sub", 0x10}, {"noext", 0x20},
      {"c.txt", 0x80},
  };
  const std::string folder = "C:\\f\\";
  struct Case {
    const char* name;
    std::string pattern;
    std::string hidden;
    int32_t mode;
    std::string preselect;
    std::vector<std::string> shown;
    int32_t selected;
  };
  const Case cases[] = {
      {"every file", "*.*", "", 0, "", {"a.mp3", "b.wav", "c.txt", "noext", "readonly.mp3"}, 0},
      {"pattern list", "*.mp3;*.wav", "", 0, "", {"a.mp3", "b.wav", "readonly.mp3"}, 0},
      {"hidden text", "*.*", ".TXT|", 0, "", {"a.mp3", "b.wav", "noext", "readonly.mp3"}, 0},
      {"preselect second", "*.*", "", 0, "C:\\f\\b.wav", {"a.mp3", "b.wav", "c.txt", "noext", "readonly.mp3"}, 1},
      {"preselect is exact", "*.*", "", 0, "C:\\f\\B.wav", {"a.mp3", "b.wav", "c.txt", "noext", "readonly.mp3"}, 0},
      {"mode 2 names", "*.mp3;*.wav", "", 2, "", {"a", "b", "readonly"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Listing listing = BuildListing(entries, MakeListingSpec(c.pattern, ""), c.hidden, c.mode,
                                   folder, c.preselect);
    EXPECT_EQ(Shown(listing), c.shown);
    EXPECT_EQ(listing.selected, c.selected);
  }
  Listing empty = BuildListing({}, MakeListingSpec("*.*", ""), "", 0, folder, "");
  EXPECT_TRUE(empty.files.empty());
  EXPECT_EQ(empty.selected, -1);
}

// Mode 2 lists names without their extension, and each choice is the file
// that was listed: a.xyz with b.abc gives a.xyz, never "a.abc".
TEST(FileListing, ModeTwoKeepsEachFilesOwnExtension) {
  const std::vector<DirectoryEntry> entries = {{"b.abc", 0x20}, {"a.xyz", 0x20}, {"C.Xyz", 0x20}};
  Listing listing = BuildListing(entries, MakeListingSpec("*.*", ""), "", 2, "C:\\f\\", "");
  EXPECT_EQ(Shown(listing), (std::vector<std::string>{"a", "b", "C"}));
  EXPECT_EQ(FileNames(listing), (std::vector<std::string>{"a.xyz", "b.abc", "C.Xyz"}));
  EXPECT_EQ(ItemPath("C:\\f\\", listing.files, 0), "C:\\f\\a.xyz");
  EXPECT_EQ(MultiSelectionList("C:\\f\\", listing.files, {2, 0}), "C:\\f\\C.Xyz|C:\\f\\a.xyz|");
}

TEST(FileListing, TreePathsBecomeFolderSpecs) {
  struct Case {
    const char* name;
    std::string path;
    std::string spec;
  };
  const Case cases[] = {
      {"folder without its backslash", "C:\\music", "C:\\music\\*.*"},
      {"drive root keeps one backslash", "C:\\", "C:\\*.*"},
      {"virtual folder keeps the current", "", "D:\\old\\*.*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FolderSpecForTreePath(c.path, "D:\\old\\*.*"), c.spec);
  }
}

TEST(PickerChoice, ArgumentTexts) {
  StartPlace place = SplitStart("C:\\music\\*.mp3;*.wav");
  EXPECT_EQ(place.folder, "C:\\music\\");
  EXPECT_EQ(place.pattern, "*.mp3;*.wav");
  place = SplitStart("C:\\music\\");
  EXPECT_EQ(place.folder, "C:\\music\\");
  EXPECT_EQ(place.pattern, "*.*");

  EXPECT_EQ(DialogTitle("#Open"), "Open");
  EXPECT_EQ(DialogTitle("##Open"), "#Open");
  EXPECT_EQ(DialogTitle("Open"), "Open");

  NameArgument name = SplitNameArgument("C:\\a\\b.mp3|song|x");
  EXPECT_TRUE(name.hasPreselect);
  EXPECT_EQ(name.preselectPath, "C:\\a\\b.mp3");
  EXPECT_EQ(name.name, "song|x");
  name = SplitNameArgument("http://");
  EXPECT_FALSE(name.hasPreselect);
  EXPECT_EQ(name.name, "http://");
}

TEST(PickerChoice, FilterTableAndTooltips) {
  FilterTable table =
      MakeFilterTable("Audio|*.mp3;*.wav|Winamp|*.m3u|All|*.*|Lists|*.m3u;*.upl", "*.m3u");
  ASSERT_EQ(table.items.size(), 4u);
  EXPECT_EQ(table.items[0].caption, " Audio");
  EXPECT_EQ(table.items[0].patterns, "*.mp3;*.wav");
  EXPECT_EQ(table.current, 1);  // "*.m3u;*.upl" does not end in the pattern
  EXPECT_EQ(MakeFilterTable("A|*.x;*.mp3|B|*.mp3", "*.mp3").current, 1);  // the last wins
  EXPECT_EQ(MakeFilterTable("A|*.mp3|B", "*.wav").current, -1);
  FilterTable odd = MakeFilterTable("A|*.mp3|B", "*.mp3");
  ASSERT_EQ(odd.items.size(), 2u);
  EXPECT_EQ(odd.items[1].patterns, "");
  EXPECT_TRUE(MakeFilterTable("", "*.*").items.empty());

  EXPECT_EQ(FilterTooltip("*.mp3;*.wav"), "mp3, wav");
  EXPECT_EQ(FilterTooltip("*.*"), "*");
}

TEST(PickerChoice, ResultTexts) {
  EXPECT_EQ(PathDisplayText("C:\\Rock.&Roll\\A.mp3"), " c:\\rock.&&roll\\a.mp3");
  struct Case {
    const char* name;
    std::string typed;
    std::string spec;
    std::string result;
  };
  const Case cases[] = {
      {"empty name is the folder", "", "C:\\m\\*.mp3", "C:\\m\\"},
      {"bare name gets the folder", "song.mp3", "C:\\m\\*.mp3", "C:\\m\\song.mp3"},
      {"http stays", "HTTP://radio/x", "C:\\m\\*.mp3", "HTTP://radio/x"},
      {"ftp stays", "see ftp://host", "C:\\m\\*.mp3", "see ftp://host"},
      {"a path stays", "D:\\x.mp3", "C:\\m\\*.mp3", "D:\\x.mp3"},
      {"a spec without a folder", "x.mp3", "*.mp3", "x.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompleteAddressName(c.typed, c.spec), c.result);
  }
  EXPECT_EQ(SaveTarget("C:\\pics\\*.*", "*.JPG"), "C:\\pics\\*.JPG");
  EXPECT_EQ(SaveTarget("C:\\pics\\*.*", "*.jpg;*.jpeg"), "C:\\pics\\*.jpg");
  EXPECT_EQ(ItemPath("C:\\", {{"a", "a"}}, 1), "");
  EXPECT_EQ(ItemPath("C:\\", {{"a", "a"}}, -1), "");
}

TEST(PickerLayout, CompactAndFullLayouts) {
  PickerLayout compact = LayOutPicker({0, false, false, 50, 2});
  EXPECT_TRUE(compact.isCompact);
  EXPECT_FALSE(compact.hasFieldRow);
  EXPECT_EQ(compact.list.x, 10);
  EXPECT_EQ(compact.buttonX, 204);
  EXPECT_EQ(compact.buttonWidth, 90);
  EXPECT_EQ(compact.clientWidth, 204 + 90 + 10);
  EXPECT_EQ(compact.clientHeight, 246);

  PickerLayout full = LayOutPicker({1, false, false, 60, 2});
  EXPECT_FALSE(full.isCompact);
  EXPECT_EQ(full.list.x, 204);
  EXPECT_EQ(full.buttonX, 398);
  const int32_t fieldWidth = 398 + 100 - 204 + 1;
  EXPECT_EQ(full.fieldFrame.x, 204);
  EXPECT_EQ(full.fieldFrame.width, fieldWidth);
  EXPECT_EQ(full.edit.x, 207);
  EXPECT_EQ(full.edit.y, 215);
  EXPECT_EQ(full.edit.width, fieldWidth - 6);
  EXPECT_EQ(full.pathDisplay.width, fieldWidth - 7);
  Box second = ButtonBox(full, 2);
  EXPECT_EQ(second.y, 49);
  EXPECT_EQ(second.height, 20);

  EXPECT_FALSE(LayOutPicker({0, true, false, 10, 2}).isCompact);
  EXPECT_FALSE(LayOutPicker({0, false, true, 10, 2}).isCompact);
}

TEST(PickerLayout, PlacementKeepsOnTheScreen) {
  struct Case {
    const char* name;
    Box owner;
    Point at;
  };
  const Case cases[] = {
      {"centred", {100, 100, 600, 400}, {100 + (600 - 300) / 2, 100 + (400 - 200) / 2}},
      {"off the left and top", {-500, -500, 100, 100}, {0, 0}},
      {"off the right and bottom", {900, 700, 200, 100}, {1024 - 300, 768 - 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Point at = PlaceCentred(c.owner, 300, 200, 1024, 768);
    EXPECT_EQ(at.x, c.at.x);
    EXPECT_EQ(at.y, c.at.y);
  }
}

TEST(PickerLayout, TabWrapsAround) {
  struct Case {
    int32_t position, count;
    bool backwards;
    int32_t next;
  };
  const Case cases[] = {{1, 4, false, 2}, {4, 4, false, 1}, {1, 4, true, 4}, {3, 4, true, 2},
                        {0, 4, false, 1}, {0, 4, true, 3}, {0, 0, false, 0}, {1, 1, false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.position << "/" << c.count << (c.backwards ? " back" : ""));
    EXPECT_EQ(NextTabStop(c.position, c.count, c.backwards), c.next);
  }
}

}  // namespace
}  // namespace picker
