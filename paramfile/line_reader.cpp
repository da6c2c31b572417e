#include "line_reader.h"

namespace zentrope {

LineRead LineReader::Next(std::string& line) {
    line.clear();
    char c = 0;
    while (line.size() < MaxLineChars && in_.get(c)) {
        line += c;
        if (c == '\n')
            return LineRead::Line;
    }
    if (!line.empty())
        return LineRead::Line;
    return in_.bad() ? LineRead::Failed : LineRead::End;
}

} // namespace zentrope
