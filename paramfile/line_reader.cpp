#include "paramfile/line_reader.h"

#include "model/c_text.h"

namespace zentrope {

// One character at a time: the stream keeps every character it delivered before it broke.
LineReader::LineReader(std::istream& in) {
    for (char c = 0; in.get(c);)
        text_ += c;
    broken_ = in.bad();
}

LineRead LineReader::Next(std::string& line) {
    line = NextLinePiece(text_, pos_, MaxLineChars);
    if (!line.empty())
        return LineRead::Line;
    return broken_ ? LineRead::Failed : LineRead::End;
}

} // namespace zentrope
