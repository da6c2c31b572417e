#include "paramfile/file_replacement.h"
#include "paramfile/parameter_file_writer.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace zentrope;
using namespace zentrope::testing;
namespace fs = std::filesystem;

namespace {

std::string Format(const ParameterFileRecord& record) {
    FormattedParameterFile file = FormatParameterFile(record);
    EXPECT_TRUE(file.Ok()) << file.error;
    return file.text;
}

// The whole line of the text that starts with prefix, without its line feed.
std::string LineStarting(const std::string& text, const std::string& prefix) {
    size_t start = text.starts_with(prefix) ? 0 : text.find("\n" + prefix);
    if (start == std::string::npos)
        return "(no line starting " + prefix + ")";
    start += text[start] == '\n' ? 1 : 0;
    return text.substr(start, text.find('\n', start) - start);
}

std::string EnableSection(const std::string& text) {
    size_t start = text.find("[Enable]");
    size_t end = text.find("\n# TEST PARAMETERS");
    return text.substr(start, end - start);
}

// A file size limit below the file's length makes the write fail as a full disk would.
[[noreturn]] void SaveUnderFileSizeLimit(const fs::path& path,
                                         const std::string& recoveryFolder = {}) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    SaveResult result = WriteParameterFile(DefaultRecord(), path.string(), recoveryFolder);
    bool notSaved =
        result.outcome == SaveOutcome::NotSaved && result.message == "Parameter file not saved.";
    std::exit(notSaved ? 0 : 1);
}

const std::string Golden = ReadBytes(fs::path(PARAMFILE_TEST_DATA) / "defaults.txt");

} // namespace

TEST(ParameterFileWriter, DefaultRecordGivesTheGoldenFile) {
    EXPECT_EQ(Format(DefaultRecord()), Golden);
}

TEST(ParameterFileWriter, SavedFileHoldsTheExactBytesEveryTime) {
    ScratchFolder folder;
    fs::path path = folder / "para file";
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), path.string()).outcome, SaveOutcome::Saved);
    EXPECT_EQ(ReadBytes(path), Golden);
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), path.string()).outcome, SaveOutcome::Saved);
    EXPECT_EQ(ReadBytes(path), Golden);
    EXPECT_FALSE(fs::exists(TemporaryNameFor(path.string())));
}

TEST(ParameterFileWriter, EnableSectionFollowsTheListOrder) {
    ParameterFileRecord record = DefaultRecord();
    record.LBorder = {7, 20, 1};
    EXPECT_EQ(EnableSection(Format(record)),
              "[Enable] # 1= test enabled, 0= test disabled\n1 runs\n1 amls\n1 dft\n");

    record.LBorder = {10, 5};
    EXPECT_EQ(EnableSection(Format(record)), "[Enable] # 1= test enabled, 0= test disabled\n"
                                             "1 non overlapping template matchings\n"
                                             "1 serial two-bit\n");

    record.LBorder.clear();
    std::string text = Format(record);
    EXPECT_NE(text.find("[Enable] # 1= test enabled, 0= test disabled\n\n# TEST PARAMETERS"),
              std::string::npos);
    for (TestId id = 1; id <= TestCount; ++id) {
        if (HasParameters(id)) {
            EXPECT_NE(text.find("\n" + std::string(SectionHeader(id)) + "\n"), std::string::npos)
                << id;
        }
    }
}

TEST(ParameterFileWriter, SizesCarryTheUnitAbbreviation) {
    ParameterFileRecord record = DefaultRecord();
    record["Editn"] = "1048576";
    record["CBnUM"] = "0";
    record["eDFTmax"] = "1.5";
    record["CBdftMax"] = "8";
    record["eDFToptimize"] = "2";
    record["CBdftOptimize"] = "7";
    std::string text = Format(record);
    EXPECT_EQ(LineStarting(text, "n "),
              "n 1048576 b \t# Sequence length [k, m, g: x1000; K, M, G: x1024; b=bits, B=bytes]");
    EXPECT_EQ(LineStarting(text, "1.5 "),
              "1.5 KB \t# max n used in the DFT test (save the memory and the running time)");
    EXPECT_NE(text.find("\n2 B \t# optimization threshold."), std::string::npos);

    record["Editn"] = "8";
    record["CBnUM"] = "9";
    EXPECT_EQ(LineStarting(Format(record), "n ").substr(0, 10), "n 8 MB \t# ");
    record["Editn"] = "";
    record["CBnUM"] = "2";
    EXPECT_EQ(LineStarting(Format(record), "n ").substr(0, 10), "n  Mb \t# S");
    record["CBnUM"] = "-1"; // nothing selected: no unit letters
    EXPECT_EQ(LineStarting(Format(record), "n ").substr(0, 10), "n   \t# Seq");
}

TEST(ParameterFileWriter, TextsGoOutAsTyped) {
    ParameterFileRecord record = DefaultRecord();
    record["EditKSmin"] = "";
    record["EditSLmax"] = "1e+02";
    record["EditInFile"] = "C:\\My bits\\run 1\\*.bin";
    record["EditOutFile"] = "";
    record["eAUTWmstp"] = "-3";
    record["eAUTWmmin"] = "+4";
    record["eAUTWmmax"] = "007";
    std::string text = Format(record);
    EXPECT_EQ(LineStarting(text, "KSmin"),
              "KSmin  \t# KS threshold for bad p-values (0= disabled)");
    EXPECT_EQ(LineStarting(text, "SLmax").substr(0, 12), "SLmax 1e+02 ");
    EXPECT_EQ(LineStarting(text, "InFile").substr(0, 32), "InFile \"C:\\My bits\\run 1\\*.bin\" ");
    EXPECT_EQ(LineStarting(text, "OutFile"), "OutFile \"\" \t# Full path of the output file");
    EXPECT_NE(text.find("\n4\t7\t-3 \t# BLOCK SIZE [bits]: min, max, step\n"), std::string::npos);
}

TEST(ParameterFileWriter, InvalidIntegerNamesTheFirstBadText) {
    for (const char* bad :
         {"", "-", "+", "1.5", " 5", "5 ", "0x10", "2147483648", "-2147483649", "abc", "1e3"}) {
        ParameterFileRecord record = DefaultRecord();
        record["eRNKstp"] = bad;
        FormattedParameterFile file = FormatParameterFile(record);
        EXPECT_FALSE(file.Ok()) << bad;
        EXPECT_EQ(file.error, "'" + std::string(bad) + "' is not a valid integer value");
        EXPECT_TRUE(file.text.empty());
    }
    ParameterFileRecord record = DefaultRecord();
    record["eRNKstp"] = "2147483647";
    record["eNOTMtemp"] = "-2147483648";
    EXPECT_TRUE(FormatParameterFile(record).Ok());

    // File order decides: NT comes before every section, AMLS before Collision.
    record["EditNT"] = "NT?";
    record["eAUTWmstp"] = "last";
    record["LabAMLSmin"] = "999999x";
    EXPECT_EQ(FormatParameterFile(record).error, "'NT?' is not a valid integer value");
    record["EditNT"] = "5";
    EXPECT_EQ(FormatParameterFile(record).error, "'999999x' is not a valid integer value");
}

TEST(ParameterFileSave, InvalidIntegerLeavesAnExistingFileAlone) {
    ScratchFolder folder;
    fs::path path = folder / "Zentrope_GUI_para";
    WriteBytes(path, "previous content\n");
    ParameterFileRecord record = DefaultRecord();
    record["eSERstp"] = "-";
    SaveResult result = WriteParameterFile(record, path.string());
    EXPECT_EQ(result.outcome, SaveOutcome::InvalidInteger);
    EXPECT_EQ(result.message, "'-' is not a valid integer value");
    EXPECT_EQ(ReadBytes(path), "previous content\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(ParameterFileSave, UnwritablePlacesAreNotSaved) {
    ScratchFolder folder;
    fs::create_directory(folder / "a folder");
    for (const fs::path& path : {folder / "missing" / "para", folder / "a folder"}) {
        SaveResult result = WriteParameterFile(DefaultRecord(), path.string());
        EXPECT_EQ(result.outcome, SaveOutcome::NotSaved) << path;
        EXPECT_EQ(result.message, "Parameter file not saved.");
    }
    EXPECT_TRUE(fs::is_directory(folder / "a folder"));
    EXPECT_FALSE(fs::exists(TemporaryNameFor((folder / "a folder").string())));
}

TEST(ParameterFileSave, ReadOnlyTargetIsRefusedAndKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser";
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, "locked\n");
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(WriteParameterFile(DefaultRecord(), path.string()).outcome, SaveOutcome::NotSaved);
    EXPECT_EQ(ReadBytes(path), "locked\n");
}

TEST(ParameterFileSave, ReplacedFileKeepsItsPermissions) {
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, "old\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), path.string()).outcome, SaveOutcome::Saved);
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ParameterFileSaveDeathTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, "old\n");
    EXPECT_EXIT(SaveUnderFileSizeLimit(path), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(path), "old\n");
    EXPECT_FALSE(fs::exists(TemporaryNameFor(path.string())));
}

TEST(ParameterFileSave, WhereNoTemporaryCanBeMadeTheFileIsRewrittenInPlace) {
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, "old\n");
    fs::create_directory(TemporaryNameFor(path.string())); // the temporary's name is taken
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), path.string(), folder.File("recovery")).outcome,
              SaveOutcome::Saved);
    EXPECT_EQ(ReadBytes(path), Format(DefaultRecord()));
    EXPECT_TRUE(fs::is_empty(TemporaryNameFor(path.string())));
    EXPECT_TRUE(fs::is_empty(folder / "recovery")); // its recovery copy has gone
}

TEST(ParameterFileSaveDeathTest, FailedWriteInPlaceLeavesTheOldFileWhole) {
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, "old\n");
    fs::create_directory(TemporaryNameFor(path.string()));
    EXPECT_EXIT(SaveUnderFileSizeLimit(path, folder.File("recovery")), ::testing::ExitedWithCode(0),
                "");
    EXPECT_EQ(ReadBytes(path), "old\n");
}

TEST(ParameterFileSave, InPlaceRewriteOfALongerFileCutsItsTail) {
    ScratchFolder folder;
    fs::path path = folder / "para";
    WriteBytes(path, std::string(Golden.size() + 5000, 'x'));
    fs::create_directory(TemporaryNameFor(path.string()));
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), path.string(), folder.File("recovery")).outcome,
              SaveOutcome::Saved);
    EXPECT_EQ(ReadBytes(path), Golden);
}

TEST(ParameterFileSave, ALinkIsSavedThroughAndStays) {
    ScratchFolder folder;
    fs::create_directory(folder / "real");
    fs::path file = folder / "real" / "para";
    fs::path link = folder / "link";
    WriteBytes(file, "old\n");
    fs::create_symlink(file, link);
    ASSERT_EQ(WriteParameterFile(DefaultRecord(), link.string()).outcome, SaveOutcome::Saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(file), Format(DefaultRecord()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}
