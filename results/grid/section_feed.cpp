#include "results/grid/section_feed.h"

#include "model/c_text.h"

namespace zentrope {
namespace {

// As the loader reads lines: pieces of at most this many characters.
constexpr size_t LinePieceLength = 999;
constexpr size_t ShortestDataLine = 3;

} // namespace

SectionFeed::Completed SectionFeed::Add(std::string_view bytes) {
    pending_.append(bytes);
    const std::string_view text(pending_);
    int32_t completed = 0;
    for (size_t pos = scanned_; pos < text.size();) {
        const size_t start = pos;
        const std::string_view line = NextLinePiece(text, pos, LinePieceLength);
        // A piece still being written may end later, or be a longer line's first piece.
        if (line.back() != '\n' && line.size() < LinePieceLength) {
            pos = start;
            break;
        }
        scanned_ = pos;
        if (!inSection_) {
            inSection_ = line.starts_with("Sequen");
        } else if (line.size() < ShortestDataLine) {
            inSection_ = false;
            completeEnd_ = pos;
            ++completed;
        }
    }
    Completed out{pending_.substr(0, completeEnd_), completed};
    if (completed == 0)
        return {};
    pending_.erase(0, completeEnd_);
    scanned_ -= completeEnd_;
    completeEnd_ = 0;
    sections_ += completed;
    return out;
}

} // namespace zentrope
