#include "bench/results/result_file_generator.h"

#include "model/c_text.h"
#include "model/test_catalogue.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace zentrope {
namespace {

std::vector<std::string> RowNames(int32_t tests) {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(tests));
    for (int32_t row = 0; row < tests; ++row) {
        const TestId id = row % TestCount + 1;
        names.push_back(std::string(DisplayName(id)) + " " + std::to_string(row / TestCount + 1));
    }
    return names;
}

} // namespace

std::string MakeResultFileText(const ResultFileShape& shape) {
    const std::vector<std::string> names = RowNames(shape.tests);
    std::mt19937 random(shape.seed);
    std::uniform_real_distribution<double> pvalue(0.0, 1.0);
    std::uniform_int_distribution<int32_t> errorDraw(1, std::max(shape.errorEvery, 1));

    std::string text = "Zentrope tester report\nGenerated for a benchmark.\n\n";
    text.reserve(static_cast<size_t>(shape.tests) * static_cast<size_t>(shape.sequences) * 24);
    for (int32_t s = 1; s <= shape.sequences; ++s) {
        text += "Sequence #" + std::to_string(s) + "\n";
        for (const std::string& name : names) {
            const bool error = shape.errorEvery > 0 && errorDraw(random) == 1;
            text += error ? std::string("-1") : FormatFixed(pvalue(random), 7);
            text += '\t';
            text += name;
            text += '\n';
        }
        text += '\n';
    }
    return text;
}

void WriteResultFile(const std::filesystem::path& path, const ResultFileShape& shape) {
    const std::string text = MakeResultFileText(shape);
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace zentrope
