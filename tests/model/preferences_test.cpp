// prefs.ini lines, read and written.
#include "model/preferences.h"

#include <gtest/gtest.h>

using namespace zentrope;

TEST(Preferences, LinesEndingInCrLfReadLikeLf) {
    const Preferences lf = ParsePreferences("zentrope_exe=/opt/z/tester\npara_file=/p/a.par\n"
                                            "ActivePageIndex=1\nFINl=3\nFINt=4\nFINw=500\n"
                                            "FINh=400\n");
    const Preferences crlf = ParsePreferences(
        "zentrope_exe=/opt/z/tester\r\npara_file=/p/a.par\r\nActivePageIndex=1\r\nFINl=3\r\n"
        "FINt=4\r\nFINw=500\r\nFINh=400\r\n");
    for (const Preferences& prefs : {lf, crlf}) {
        EXPECT_EQ(prefs.zentropeExe, "/opt/z/tester");
        EXPECT_EQ(prefs.paraFile, "/p/a.par");
        EXPECT_EQ(prefs.activePageIndex, 1);
        EXPECT_EQ(prefs.left, 3);
        EXPECT_EQ(prefs.top, 4);
        EXPECT_EQ(prefs.width, 500);
        EXPECT_EQ(prefs.height, 400);
    }
}

TEST(Preferences, ValuesKeepBlanksAndNonAsciiEnds) {
    const Preferences prefs = ParsePreferences(
        "zentrope_exe=C:\\tools\\tester.exe  \npara_file=/home/j\xc3\xbcrgen/lauf\xc3\xa9\n");
    EXPECT_EQ(prefs.zentropeExe, "C:\\tools\\tester.exe  ");
    EXPECT_EQ(prefs.paraFile, "/home/j\xc3\xbcrgen/lauf\xc3\xa9");
}

TEST(Preferences, KeysAreExactPrefixesAndTheLastOneWins) {
    const Preferences prefs = ParsePreferences("para_file=\nFINw=abc\nFINl=10\n finl=1\n"
                                               "finl=2\nFINl=-7x\nnoise\n\n\x01\n"
                                               "ActivePageIndex= +2\n");
    EXPECT_EQ(prefs.paraFile, "");
    EXPECT_EQ(prefs.width, 0);
    EXPECT_EQ(prefs.left, -7);
    EXPECT_EQ(prefs.activePageIndex, 2);
    EXPECT_FALSE(prefs.zentropeExe);
    EXPECT_FALSE(prefs.top);
}

// A line is read in pieces of 999 bytes, each handled as a line of its own.
TEST(Preferences, LongLinesAreReadInPieces) {
    const std::string path(1100, 'x');
    const Preferences prefs =
        ParsePreferences("para_file=" + path + "\n" + std::string(999, '#') + "FINt=12\n");
    ASSERT_TRUE(prefs.paraFile);
    EXPECT_EQ(prefs.paraFile->size(), 999u - 10);
    EXPECT_EQ(prefs.top, 12);
}

TEST(Preferences, SevenLinesWithBareLineFeeds) {
    EXPECT_EQ(FormatPreferences("Zentrope.exe", "/r/\xc3\xa9.par", 1, {-4, 30, 833, 738}),
              "zentrope_exe=Zentrope.exe\npara_file=/r/\xc3\xa9.par\n"
              "ActivePageIndex=1\nFINl=-4\nFINt=30\nFINw=833\nFINh=738\n");
}

// Where runs go follows the seven lines and never disturbs them.
TEST(Preferences, RunPlaceLinesRoundTripAfterTheSeven) {
    RunPlacePreferences place;
    place.onCluster = true;
    place.shards = 12;
    place.partition = "gpu";
    place.timeLimit = "1-00:00:00";
    place.cpusPerTask = 4;
    place.memory = "8G";
    place.account = "lab";
    place.options = "--qos=long --nice";
    place.commandPrefix = "ssh login.example.org";
    const std::string text = FormatPreferences("/z/tester", "/p/para", 2, {1, 2, 3, 4}) +
                             FormatRunPlacePreferences(place);
    const Preferences prefs = ParsePreferences(text);
    EXPECT_EQ(prefs.runPlace, place);
    EXPECT_EQ(prefs.zentropeExe, "/z/tester");
    EXPECT_EQ(prefs.paraFile, "/p/para");
    EXPECT_EQ(prefs.activePageIndex, 2);
    EXPECT_EQ(prefs.height, 4);
}

TEST(Preferences, RunPlaceLeavesAnUntouchedFileAsItWas) {
    EXPECT_EQ(FormatRunPlacePreferences({}), "");
    // Settings kept while the user went back to this computer stay for the next time.
    RunPlacePreferences local;
    local.partition = "main";
    EXPECT_EQ(ParsePreferences(FormatRunPlacePreferences(local)).runPlace, local);
    EXPECT_FALSE(ParsePreferences("run_place=local\n").runPlace.onCluster);
    EXPECT_FALSE(ParsePreferences("run_place=slurmx\n").runPlace.onCluster);
}

TEST(Preferences, ARunPlaceTextWithALineBreakStaysOneLine) {
    RunPlacePreferences place;
    place.options = "--qos=long\nzentrope_exe=/evil";
    place.account = "a\rb";
    const Preferences prefs = ParsePreferences(FormatRunPlacePreferences(place));
    EXPECT_EQ(prefs.runPlace.options, "--qos=long zentrope_exe=/evil");
    EXPECT_EQ(prefs.runPlace.account, "a b");
    EXPECT_FALSE(prefs.zentropeExe);
}
