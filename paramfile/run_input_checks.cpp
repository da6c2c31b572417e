#include "paramfile/run_input_checks.h"

#include "model/c_text.h"
#include "model/sizes.h"
#include "paramfile/record_checks.h"

namespace zentrope {

namespace {

constexpr std::string_view OnGeneral = " on page \"General\"";

std::optional<RunInputProblem> NoSequences(const ParameterFileRecord& record) {
    const int32_t sequences = AtolC(record.Value("EditNT"));
    if (sequences >= 1)
        return std::nullopt;
    return RunInputProblem{"EditNT", "\"Number of seqs\" is " + std::to_string(sequences) +
                                         ": Zentrope needs at least 1 sequence to test. Type a "
                                         "number from 1 up in \"Number of seqs\"" +
                                         std::string(OnGeneral) + "."};
}

std::optional<RunInputProblem> NoInputFile(std::string_view pattern, const MatchedFiles& input) {
    if (pattern.empty() || input.count > 0)
        return std::nullopt;
    return RunInputProblem{"EditInFile",
                           "No file matches the \"Input file name\" \"" + std::string(pattern) +
                               "\". Choose the file with the \"Change\" button beside it" +
                               std::string(OnGeneral) +
                               ", or empty the field to test Zentrope's built-in generator."};
}

std::string InputTotal(std::string_view pattern, const MatchedFiles& input) {
    return pattern.empty() ? std::string("no input file (\"Input file name\" is empty)")
                           : "input files holding " + GroupedDigits(input.totalBytes * 8) + " bits";
}

std::optional<RunInputProblem> TooFewBits(const ParameterFileRecord& record,
                                          std::string_view pattern, const MatchedFiles& input) {
    const ParsedSize length =
        ParseSizeWithUnit(SizeText(record.Value("Editn"), record.Value("CBnUM")));
    const auto sequences = uint64_t(AtolC(record.Value("EditNT")));
    if (!length.fits)
        return std::nullopt;
    const uint64_t available = pattern.empty() ? 0 : input.totalBytes * 8;
    if (length.bits == 0) {
        // All the input split over the sequences: each needs at least one bit.
        if (available >= sequences)
            return std::nullopt;
        return RunInputProblem{
            "Editn", "\"Sequence length\" is 0 (all the input bits, split over " +
                         GroupedDigits(sequences) + " sequences), but there is " +
                         InputTotal(pattern, input) + ". Give a length in \"Sequence length\"" +
                         std::string(OnGeneral) + ", or choose an input file with more bits."};
    }
    if (pattern.empty())
        return std::nullopt; // the built-in generator makes as many bits as asked for
    const uint64_t needed = uint64_t(length.bits) * sequences;
    if (available >= needed)
        return std::nullopt;
    return RunInputProblem{
        "Editn", "The run needs " + GroupedDigits(length.bits) + " bits (\"Sequence length\") x " +
                     GroupedDigits(sequences) + " (\"Number of seqs\") = " + GroupedDigits(needed) +
                     " bits, but there are " + InputTotal(pattern, input) +
                     ". Lower \"Sequence length\" or \"Number of "
                     "seqs\"" +
                     std::string(OnGeneral) +
                     ", set the length to 0 to use all the "
                     "bits, or choose more input."};
}

} // namespace

std::string GroupedDigits(uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = std::ptrdiff_t(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(size_t(at), ",");
    return digits;
}

std::optional<RunInputProblem> FirstRunInputProblem(const ParameterFileRecord& record,
                                                    const MatchedFiles& input) {
    const std::string_view pattern = record.Value("EditInFile");
    if (auto problem = NoSequences(record))
        return problem;
    if (auto problem = NoInputFile(pattern, input))
        return problem;
    return TooFewBits(record, pattern, input);
}

} // namespace zentrope
