// A save rewritten in place and killed at any of its system calls leaves, once the next start
// has settled it, the old text or the new one: never parts of both.
#include "paramfile/file_replacement.h"
#include "paramfile/save_recovery.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

using namespace zentrope;
using namespace zentrope::testing;
namespace fs = std::filesystem;

namespace {

// Every call the save makes on files and folders, and a few that come with them.
const char* const FileCalls[] = {"openat",    "read",      "write",    "pwrite64", "lseek",
                                 "close",     "ftruncate", "truncate", "rename",   "renameat",
                                 "renameat2", "unlink",    "unlinkat", "mkdir",    "newfstatat",
                                 "statx",     "fstat",     "fsync"};

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// Runs the probe under strace, killed at the `nth` call of `call`; true when it was killed.
// Leak checking, which cannot work under a tracer, is left off for a sanitized build.
bool SaveKilledAt(const std::string& call, int nth, const ScratchFolder& folder) {
    const std::string command =
        "ASAN_OPTIONS=detect_leaks=0 strace -f -o /dev/null -e trace=" + call +
        " -e inject=" + call + ":signal=SIGKILL:when=" + std::to_string(nth) +
        " " IN_PLACE_SAVE_PROBE_PATH " " + Quoted(folder.File("recovery")) + " " +
        Quoted(folder.File("para")) + " " + Quoted(folder.File("new")) + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGKILL);
}

struct KillCounts {
    int kills = 0;
    int restored = 0; // kills that had left parts of both texts
};

// Kills the save at each call of each kind in turn, settling after each kill as the next
// start does; the file must hold the old or the new text every time.
KillCounts KillAtEveryCall(const std::string& oldText, const std::string& newText) {
    ScratchFolder folder;
    WriteBytes(folder / "new", newText);
    fs::create_directory(TemporaryNameFor(folder.File("para"))); // no temporary can be made
    KillCounts counts;
    for (const char* call : FileCalls) {
        for (int nth = 1;; ++nth) {
            WriteBytes(folder / "para", oldText);
            const bool killed = SaveKilledAt(call, nth, folder);
            for (const RecoveredSave& save : RecoverInterruptedSaves(folder.File("recovery"))) {
                EXPECT_NE(save.outcome, RecoveryOutcome::NotRestored) << save.target;
                counts.restored += save.outcome == RecoveryOutcome::Restored;
            }
            const std::string now = ReadBytes(folder / "para");
            EXPECT_TRUE(now == oldText || now == newText)
                << "killed at " << call << " #" << nth << ": " << now.size() << " bytes";
            if (!killed)
                break;
            ++counts.kills;
        }
        EXPECT_EQ(ReadBytes(folder / "para"), newText) << "a save left alone completes";
    }
    return counts;
}

bool StraceFound() {
    return std::system("strace -V >/dev/null 2>&1") == 0;
}

} // namespace

TEST(InPlaceSaveKill, GrowingOrShrinkingTheFileLeavesOldOrNewText) {
    if (!StraceFound())
        GTEST_SKIP() << "strace is not installed (scripts/setup installs it)";
    const std::string shortText = "[General]\nshort text\n";
    const std::string longText = "[General]\n" + std::string(6000, 'n') + "\nlong text\n";
    for (const auto& [oldText, newText] : {std::pair{shortText, longText}, {longText, shortText}}) {
        const KillCounts counts = KillAtEveryCall(oldText, newText);
        // Some kills must have fallen between the in-place writes, or nothing was shown.
        EXPECT_GT(counts.restored, 0);
        EXPECT_GT(counts.kills, counts.restored);
    }
}

TEST(InPlaceSaveRecovery, ACopyWhoseFileIsWholeIsDroppedAndAnIncompleteOneIgnored) {
    ScratchFolder folder;
    const std::string target = folder.File("para");
    WriteBytes(target, "new text\n");
    ASSERT_FALSE(KeepRecoveryCopy(folder.File("recovery"), target, "old\n", "new text\n").empty());
    WriteBytes(folder / "recovery" / "stray.saving.part", "zentrope save");
    const std::vector<RecoveredSave> saves = RecoverInterruptedSaves(folder.File("recovery"));
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].outcome, RecoveryOutcome::Whole);
    EXPECT_EQ(ReadBytes(target), "new text\n");
    EXPECT_TRUE(fs::is_empty(folder / "recovery"));
}

TEST(InPlaceSaveRecovery, AFileHoldingPartsOfBothIsPutBack) {
    ScratchFolder folder;
    const std::string target = folder.File("para");
    WriteBytes(target, "new tOLD TEXT HERE\n");
    ASSERT_FALSE(
        KeepRecoveryCopy(folder.File("recovery"), target, "OLD TEXT HERE\n", "new t").empty());
    const std::vector<RecoveredSave> saves = RecoverInterruptedSaves(folder.File("recovery"));
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].target, target);
    EXPECT_EQ(saves[0].outcome, RecoveryOutcome::Restored);
    EXPECT_EQ(ReadBytes(target), "OLD TEXT HERE\n");
    EXPECT_TRUE(fs::is_empty(folder / "recovery"));
}
