// A run of 1,000 sequences x 123 result lines shown as it goes: a writer thread appends one
// section at a time to the partial result, as the stand-in tester does, while a real main window
// offscreen follows it through a run object, the table sorted by KS with a cell selected, and
// draws the table after each update. Prints the window's share of one core over the run (the
// process's CPU time less the writer's) and how long each section took to reach the screen.
//
//   bench_run_interim [--sequences N] [--lines N] [--rate SECTIONS_PER_SECOND] [--grab FOLDER]
//
// --grab saves a picture of the window, run panel and interim table, half way through.
#include "app/dialog_seam.h"
#include "app/main_window.h"
#include "app/pages/table_page.h"
#include "app/run_watch/run.h"
#include "app/table/result_table_model.h"
#include "results/grid/table_sort.h"

#include <QApplication>
#include <QDateTime>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace zentrope;
using Clock = std::chrono::steady_clock;

namespace {

class PrintedDialogs : public DialogSeam {
public:
    void ShowMessage(const QString& text, MessageIcon) override {
        std::printf("message box: %s\n", qPrintable(text));
    }
    std::optional<QString> RunFileDialog(QFileDialog&) override { return std::nullopt; }
};

// A run whose tester is the writer thread: it ends when told.
class WriterBackend : public RunBackend {
public:
    explicit WriterBackend(std::string path) : path_(std::move(path)) {}
    BackendIdentity Identity() const override { return {"bench", "writer"}; }
    QDateTime StartedAt() const override { return started_; }
    void Cancel() override { Finish(); }
    bool HasEnded() const override { return ended_; }
    TesterEnd End() const override { return {}; }
    std::vector<std::string> ResultPaths() const override { return {path_}; }
    QString LogPath() const override { return {}; }
    void Finish() {
        ended_ = true;
        emit Ended();
    }

private:
    std::string path_;
    QDateTime started_ = QDateTime::currentDateTimeUtc().addSecs(-1);
    bool ended_ = false;
};

double CpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string Section(int k, int lines, std::mt19937& random) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::string text = "Sequence #" + std::to_string(k) + "\n";
    char value[32];
    for (int line = 1; line <= lines; ++line) {
        std::snprintf(value, sizeof value, "%.7f", uniform(random));
        text += std::string(value) + "\tTest " + std::to_string(line) + "\n";
    }
    return text + "\n";
}

int Option(const QStringList& args, const QString& name, int fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int sequences = Option(args, "--sequences", 1000);
    const int lines = Option(args, "--lines", 123);
    const int rate = Option(args, "--rate", 20);
    const qsizetype grabAt = args.indexOf("--grab");
    const QString grabFolder = grabAt >= 0 && grabAt + 1 < args.size() ? args[grabAt + 1] : "";
    QTemporaryDir folder;
    PrintedDialogs dialogs;
    TFIN window(WindowSetup{folder.path(), folder.path(), &dialogs});
    window.resize(1280, 900);
    window.show();
    auto* grid = window.findChild<QTableView*>("SG");
    window.findChild<QTabWidget*>("PC")->setCurrentIndex(3); // the Table page

    const std::string result = (folder.path() + "/result.txt").toStdString();
    auto* backend = new WriterBackend(result);
    const BackendKind kind{"bench",
                           [&](const RunRequest&) {
                               return BackendStart{std::unique_ptr<RunBackend>(backend), {}};
                           },
                           {},
                           {}};
    QString error;
    window.WatchRun(
        Run::Start(kind, RunRequest{{}, {}, {}, {}, result}, nullptr, sequences, error));

    std::vector<Clock::time_point> written(static_cast<size_t>(sequences));
    std::atomic<double> writerCpu{0};
    std::vector<double> latencyMs;
    int updates = 0;
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    std::thread writer([&] {
        std::mt19937 random(1);
        std::ofstream(result + ".partial") << "Bench run\n\n";
        for (int k = 1; k <= sequences; ++k) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(1000LL * k / rate));
            const std::string text = Section(k, lines, random);
            written[size_t(k - 1)] = Clock::now();
            std::ofstream(result + ".partial", std::ios::app) << text << std::flush;
        }
        // The tester's end: the partial result becomes the result, then its process ends.
        std::this_thread::sleep_for(std::chrono::seconds(2));
        std::filesystem::rename(result + ".partial", result);
        writerCpu = CpuSeconds(RUSAGE_THREAD);
        QMetaObject::invokeMethod(
            &app, [backend] { backend->Finish(); }, Qt::QueuedConnection);
    });

    int shown = 0;
    bool sorted = false;
    QObject::connect(
        window.WatchedRun(), &Run::InterimResult, &window,
        [&](std::shared_ptr<const std::string>, bool, int32_t sections) {
            if (!sorted) { // the user sorts by KS and selects a cell
                const int ks = window.Table().Model().columnCount() - 3;
                if (window.Table().Model().Grid().SpacerColumn() > 0) {
                    window.Table().SGMouseUp(Qt::LeftButton, SortMarker, ks);
                    grid->setCurrentIndex(window.Table().Model().index(5, 1));
                    sorted = true;
                }
            }
            grid->viewport()->repaint();
            if (!grabFolder.isEmpty() && shown < sequences / 2 && sections >= sequences / 2) {
                window.grab().save(grabFolder + "/interim.png");
            }
            const Clock::time_point now = Clock::now();
            for (; shown < sections; ++shown)
                latencyMs.push_back(
                    std::chrono::duration<double, std::milli>(now - written[size_t(shown)])
                        .count());
            ++updates;
        });
    // Once the window has loaded the result file.
    QObject::connect(window.WatchedRun(), &Run::Ended, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    app.exec();
    writer.join();
    // Over the run as written, from the first section to the last.
    const double wall = std::chrono::duration<double>(written.back() - start).count();
    const double windowCpu = CpuSeconds(RUSAGE_SELF) - cpuStart - writerCpu;
    std::sort(latencyMs.begin(), latencyMs.end());
    const auto at = [&](double q) { return latencyMs[size_t(q * double(latencyMs.size() - 1))]; };
    std::printf("run: %d sequences x %d lines written at %d sections/s over %.1f s; %d updates\n",
                sequences, lines, rate, wall, updates);
    std::printf("window CPU: %.2f s = %.2f %% of one core over the run (target < 5 %%)\n",
                windowCpu, 100.0 * windowCpu / wall);
    std::printf("section written -> on screen: median %.0f ms, 99th %.0f ms, max %.0f ms "
                "(target < 2000 ms)\n",
                at(0.5), at(0.99), latencyMs.back());
    std::printf("sequence columns after the final load: %d\n",
                window.Table().Model().SequenceColumnEnd() - 3);
    return 0;
}
