#include "tester/tester_arguments.h"
#include "model/c_text.h"

namespace zentrope {
namespace {

std::optional<SequenceRange> ParseRange(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const auto first = ParseStrictInteger(std::string_view(text).substr(0, colon));
    const auto count = ParseStrictInteger(std::string_view(text).substr(colon + 1));
    if (!first || !count || *first < 0 || *count < 1)
        return std::nullopt;
    return SequenceRange{*first, *count};
}

} // namespace

std::optional<TesterArguments> ParseTesterArguments(const std::vector<std::string>& args,
                                                    std::string& problem) {
    TesterArguments parsed;
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = arg == "--sequences" || arg == "--result";
        if (option && i + 1 == args.size()) {
            problem = arg + " needs a value";
            return std::nullopt;
        }
        if (arg == "--sequences") {
            parsed.sequences = ParseRange(args[++i]);
            if (!parsed.sequences) {
                problem = "--sequences takes FIRST:COUNT, FIRST from 0 and COUNT from 1, not \"" +
                          args[i] + "\"";
                return std::nullopt;
            }
        } else if (arg == "--result") {
            parsed.resultPath = args[++i];
            if (parsed.resultPath->empty()) {
                problem = "--result needs a file name";
                return std::nullopt;
            }
        } else if (!haveFile && !arg.starts_with("--")) {
            parsed.parameterFile = arg;
            haveFile = true;
        } else {
            problem = "Unexpected argument \"" + arg + "\"";
            return std::nullopt;
        }
    }
    if (!haveFile) {
        problem = "No parameter file given";
        return std::nullopt;
    }
    return parsed;
}

} // namespace zentrope
