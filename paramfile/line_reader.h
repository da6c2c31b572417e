// Lines of a parameter file as the reader takes them: at most 998 characters at a time, so a
// longer line arrives in pieces; each line keeps its line end.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace zentrope {

enum class LineRead { Line, End, Failed };

class LineReader {
public:
    static constexpr size_t MaxLineChars = 998;

    // Takes in whole; a stream that breaks on the way gives Failed after its last line.
    explicit LineReader(std::istream& in);
    // Line with the text in line; End when nothing is left; Failed when the stream broke.
    LineRead Next(std::string& line);

private:
    std::string text_;
    size_t pos_ = 0;
    bool broken_ = false;
};

} // namespace zentrope
