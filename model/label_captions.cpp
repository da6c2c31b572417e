#include "model/label_captions.h"

#include "model/sizes.h"

namespace zentrope {
namespace {

// The exact size in its unit word, then the approximate text: "24 mbits, 22.9 Mb".
std::string SizeText(uint64_t bits) {
    ReducedSize reduced = ReduceBitCount(bits);
    return std::to_string(reduced.number) + " " + std::string(SizeUnitList[reduced.unitIndex]) +
           FormatApproxSize(bits);
}

} // namespace

uint64_t InputBitsOf(const MatchedFiles& files) {
    return files.totalBytes * 8;
}

std::string TotalLengthCaption(const MatchedFiles& files) {
    if (files.count == 0)
        return std::string(NoFileCaption);
    return std::to_string(files.count) + (files.count == 1 ? " file, " : " files, ") +
           SizeText(InputBitsOf(files));
}

std::optional<uint64_t> ComputedSequenceLength(uint64_t inputBits, uint32_t n, int32_t sequences) {
    if (inputBits == 0 || n != 0 || sequences == 0)
        return std::nullopt;
    // A negative count, which only a loaded file can hold, divides as its 32-bit pattern.
    return inputBits / static_cast<uint32_t>(sequences);
}

std::string SequenceLengthCaption(uint64_t lengthBits) {
    return "The sequence length will be " + SizeText(lengthBits);
}

} // namespace zentrope
