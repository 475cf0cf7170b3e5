// Scheme operations in temporary program folders.

#include "engine/mapping/schemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"

namespace velmor::mapping {
namespace {

namespace fs = std::filesystem;

TEST(Schemes, SaveLoadMirrorBothFilesIncludingAbsentOnes) {
  test::TempDir dir;
  dir.Write("map.json", "M1");
  ASSERT_TRUE(SaveScheme(dir.path(), u" my:game. "));
  EXPECT_EQ(dir.Read("profiles/mygame/map.json"), "M1");
  EXPECT_FALSE(fs::exists(dir / "profiles/mygame/devmap.json"));

  // A stale copy goes when the live file is gone.
  dir.Write("profiles/mygame/devmap.json", "OLD");
  ASSERT_TRUE(SaveScheme(dir.path(), u"mygame"));
  EXPECT_FALSE(fs::exists(dir / "profiles/mygame/devmap.json"));

  dir.Write("map.json", "M2");
  dir.Write("devmap.json", "D2");
  EXPECT_EQ(CopySchemeToLive(dir.path(), u"mygame"), SchemeLoad::Loaded);
  EXPECT_EQ(dir.Read("map.json"), "M1");
  EXPECT_FALSE(fs::exists(dir / "devmap.json"));
  EXPECT_EQ(CopySchemeToLive(dir.path(), u"missing"), SchemeLoad::NoSuchScheme);
  EXPECT_EQ(dir.Read("map.json"), "M1");
}

TEST(Schemes, NamesNeverLeaveTheProfilesFolder) {
  test::TempDir dir;
  dir.Write("map.json", "M");
  for (const char16_t* bad : {u"", u" . . ", u"..", u"\\/:*?\"<>|", u"con", u"LPT1.txt"}) {
    EXPECT_FALSE(SaveScheme(dir.path(), bad));
    EXPECT_FALSE(DeleteScheme(dir.path(), bad));
  }
  ASSERT_TRUE(SaveScheme(dir.path(), u"../../escape"));
  EXPECT_TRUE(fs::exists(dir / "profiles/....escape/map.json"));
  // Nothing but the live file and profiles in the program folder.
  int entries = 0;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

TEST(Schemes, DeleteEmptiesTheMarkerOnlyForTheActiveScheme) {
  test::TempDir dir;
  dir.Write("map.json", "M");
  ASSERT_TRUE(SaveScheme(dir.path(), u"a"));
  ASSERT_TRUE(SaveScheme(dir.path(), u"b"));
  ASSERT_TRUE(WriteActiveScheme(dir.path(), u"a"));
  EXPECT_TRUE(DeleteScheme(dir.path(), u"b"));
  EXPECT_EQ(ReadActiveScheme(dir.path()), u"a");
  EXPECT_FALSE(fs::exists(dir / "profiles/b"));
  dir.Write("profiles/a/notes.txt", "keep");
  EXPECT_TRUE(DeleteScheme(dir.path(), u"a "));
  EXPECT_EQ(ReadActiveScheme(dir.path()), u"");
  EXPECT_EQ(dir.Read("profiles/_active.txt"), "");
  EXPECT_TRUE(fs::exists(dir / "profiles/a/notes.txt"));  // other files keep the folder
  EXPECT_EQ(dir.Read("map.json"), "M");                   // live files untouched
}

TEST(Schemes, ListingsAndTheMarker) {
  test::TempDir dir;
  EXPECT_TRUE(ListSchemes(dir.path()).empty());  // no profiles folder
  EXPECT_EQ(ReadActiveScheme(dir.path()), u"");
  for (const char* d : {"b", "_tmp", ".git", "a"}) fs::create_directories(dir / "profiles" / d);
  dir.Write("profiles/plain", "x");
  auto names = ListSchemes(dir.path());
  std::sort(names.begin(), names.end());  // enumeration order is the file system's
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b"}));

  dir.Write("profiles/_active.txt", "Gra \xc5\x82 \r\n  \n");
  EXPECT_EQ(ReadActiveScheme(dir.path()), u"Gra \u0142");
  dir.Write("profiles/_active.txt", std::string(600, 'x'));
  EXPECT_EQ(ReadActiveScheme(dir.path()).size(), 511u);

  dir.Write("schemes/global/default.json", "{}");
  dir.Write("schemes/global/_hidden.json", "{}");
  dir.Write("schemes/global/.json", "{}");
  dir.Write("schemes/global/notes.txt", "");
  dir.Write("schemes/.cache/x.json", "{}");
  EXPECT_EQ(AllSchemesListing(dir.path()), u"global|default\t[Globalne] default");
  dir.Write("schemes/xac/race.json", "{}");
  const std::u16string all = AllSchemesListing(dir.path());
  EXPECT_NE(all.find(u"xac|race\t[XAC] race"), std::u16string::npos);
}

TEST(Schemes, AProfilesFolderThatCannotBeMadeFailsTheSave) {
  test::TempDir dir;
  dir.Write("map.json", "M");
  dir.Write("profiles", "a file where the folder should be");
  EXPECT_FALSE(SaveScheme(dir.path(), u"x"));
  EXPECT_EQ(CopySchemeToLive(dir.path(), u"x"), SchemeLoad::NoSuchScheme);
  EXPECT_TRUE(ListSchemes(dir.path()).empty());
  EXPECT_EQ(dir.Read("map.json"), "M");
}

}  // namespace
}  // namespace velmor::mapping
