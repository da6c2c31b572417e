#include "app/verdict_command.h"

#include "results/grid/no_result_reasons.h"
#include "results/grid/result_loader.h"
#include "results/verdict/run_verdict.h"
#include "results/verdict/verdict_text.h"

#include <algorithm>
#include <charconv>
#include <ostream>

using namespace zentrope;

namespace {

constexpr double DefaultAlpha = 0.01;

struct VerdictOptions {
    std::string path;
    FlagThresholds thresholds;
    double alpha = DefaultAlpha;
    bool json = false;
};

std::optional<double> ParseNumber(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The options, or a message naming the one that is wrong.
std::optional<VerdictOptions> ParseOptions(const std::vector<std::string>& args,
                                           std::ostream& err) {
    VerdictOptions options;
    struct Limit {
        const char* name;
        double* value;
        double low;
        double high;
    };
    const Limit limits[] = {{"--alpha", &options.alpha, 0, 1},
                            {"--ksmin", &options.thresholds.ks_min, 0, 1},
                            {"--admin", &options.thresholds.ad_min, 0, 1},
                            {"--slmax", &options.thresholds.sl_max, 0, 100}};
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        const bool valued =
            arg == "--verdict" || std::any_of(std::begin(limits), std::end(limits),
                                              [&](const Limit& l) { return arg == l.name; });
        if (!valued) {
            err << "zentrope-gui: unknown option " << arg << "\n";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            err << "zentrope-gui: " << arg << " needs a value\n";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--verdict") {
            options.path = value;
            continue;
        }
        const Limit& limit = *std::find_if(std::begin(limits), std::end(limits),
                                           [&](const Limit& l) { return arg == l.name; });
        const std::optional<double> number = ParseNumber(value);
        const bool alpha = limit.value == &options.alpha;
        // alpha 0 would reject nothing and alpha 1 everything.
        const bool open = limit.value == &options.alpha;
        const bool inside = number && *number >= limit.low && *number <= limit.high &&
                            !(open && (*number == limit.low || *number == limit.high));
        if (!inside) {
            err << "zentrope-gui: " << arg << " " << value << " must be a number "
                << (open ? "above " : "from ") << limit.low << (open ? " and below " : " to ")
                << limit.high << "\n";
            return std::nullopt;
        }
        *limit.value = *number;
    }
    return options;
}

} // namespace

bool AsksForVerdict(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--verdict") != args.end();
}

int RunVerdictCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<VerdictOptions> options = ParseOptions(args, err);
    if (!options)
        return VerdictUnreadable;
    ResultGrid grid;
    const ResultLoadOutcome outcome =
        LoadResultFile(options->path, {}, grid, [&](const std::string& message) {
            err << options->path << ": " << message << "\n";
        });
    if (!outcome.loaded)
        return VerdictUnreadable;
    if (!outcome.warning.empty())
        err << options->path << ": " << outcome.warning << "\n";
    const ResultSet& results = grid.Results();
    const RunVerdict verdict = JudgeRun(results, options->thresholds, options->alpha);
    const VerdictRows rows = VerdictRowsOf(results, options->thresholds, options->alpha,
                                           ReadNoResultReasons(grid.FileText()));
    out << (options->json ? VerdictJson(verdict, rows, options->thresholds, options->alpha)
                          : VerdictReport(verdict, rows, options->thresholds, options->alpha));
    if (verdict.fails || verdict.incomplete)
        return VerdictFails;
    return verdict.family == 0 ? VerdictUnreadable : VerdictPasses;
}
