// Find in the Results page's text view on the 2,000 x 1,000 benchmark result file (about
// 47 MB): a string that occurs once, placed near the end and found from the start, forward and
// backward, case folded and exact. Prints each time, the best of three, against the 0.2 s
// target.
//
//   bench_text_find [--tests N] [--sequences N]
#include "app/widgets/result_text_view.h"
#include "bench/results/best_time.h"
#include "bench/results/result_file_generator.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr double TargetSeconds = 0.2;
const QString Needle = QStringLiteral("Once-Only Marker");

void Report(const char* what, const zentrope::Timing& timing, bool found) {
    std::printf("%-34s %7.3f s wall, %7.3f s cpu  %s%s\n", what, timing.wall, timing.cpu,
                found ? "" : "NOT FOUND ",
                timing.wall < TargetSeconds ? "(under 0.2 s)" : "(OVER 0.2 s)");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zentrope::ResultFileShape shape;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--tests")
            shape.tests = args[i + 1].toInt();
        else if (args[i] == "--sequences")
            shape.sequences = args[i + 1].toInt();
    }
    std::string text = zentrope::MakeResultFileText(shape);
    // Once, in the last few lines: the search walks nearly the whole file to reach it.
    text.insert(text.size() - 200, Needle.toStdString() + "\n");
    std::printf("result file: %d tests x %d sequences, %.1f MB\n", shape.tests, shape.sequences,
                double(text.size()) / 1e6);
    ResultTextView view;
    view.resize(900, 700);
    view.SetSharedBytes(std::make_shared<const std::string>(std::move(text)));
    const TextPos end = view.EndPosition();
    for (const bool matchCase : {false, true}) {
        for (const bool backward : {false, true}) {
            ResultTextView::FindResult result{};
            const auto timing = zentrope::BestTime(
                [&] { view.SetSelection(backward ? end : TextPos{}, backward ? end : TextPos{}); },
                [&] { result = view.find(Needle, backward, matchCase); });
            const std::string what = std::string(backward ? "backward" : "forward") +
                                     (matchCase ? ", exact case" : ", either case");
            Report(what.c_str(), timing,
                   result != ResultTextView::FindResult::NotFound && view.SelectedText() == Needle);
        }
    }
    return 0;
}
