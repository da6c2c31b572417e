// The partial result: visible beside the result file while the run goes, holding exactly what
// was written so far, replaced by the result file at the end and gone after a failed run.
#include "tester/result_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zentrope {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Folder {
    Folder() : path(fs::temp_directory_path() / ("result_stream_" + std::to_string(::getpid()))) {
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    fs::path path;
};

TEST(ResultStream, EachWriteIsInThePartialResultAtOnce) {
    Folder folder;
    const fs::path result = folder.path / "out.txt";
    const fs::path partial = folder.path / "out.txt.partial";
    std::ofstream(result) << "older result\n";
    {
        ResultStream stream(result.string());
        ASSERT_TRUE(stream.Open());
        stream.Write("Header\n\n");
        EXPECT_EQ(Contents(partial), "Header\n\n");
        stream.Write("Sequence #1\n0.5\tDFT\n\n");
        // Read while the stream is open: nothing waits in a buffer.
        EXPECT_EQ(Contents(partial), "Header\n\nSequence #1\n0.5\tDFT\n\n");
        EXPECT_EQ(Contents(result), "older result\n");
        ASSERT_TRUE(stream.Commit());
    }
    EXPECT_EQ(Contents(result), "Header\n\nSequence #1\n0.5\tDFT\n\n");
    EXPECT_FALSE(fs::exists(partial));
}

TEST(ResultStream, AFailedRunLeavesNoPartialResult) {
    Folder folder;
    const fs::path result = folder.path / "out.txt";
    {
        ResultStream stream(result.string());
        ASSERT_TRUE(stream.Open());
        stream.Write("Sequence #1\n0.5\tDFT\n\n");
    }
    EXPECT_FALSE(fs::exists(folder.path / "out.txt.partial"));
    EXPECT_FALSE(fs::exists(result));
}

} // namespace
} // namespace zentrope
