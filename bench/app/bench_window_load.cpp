// Loads a tall run of 2,000 tests by 1,000 sequences and a wide one of 20 tests by 100,000
// sequences (about 45 MB of text each) into a real main window offscreen, with the text view
// and the table both drawn, and prints the time of each step, the peak memory of each load and
// how the two load times compare (the wide load should take at most twice the tall one), and
// how long the detail pane takes to show another row.
//
//   bench_window_load [--tests N] [--sequences N] [--file PATH] [--grab FOLDER]
//                     [--line-feeds MB]
//
// --tests or --sequences load that one shape only; --file loads an existing result file
// instead; --grab saves pictures of both pages of the last load there (landed.png: the Table
// page as the load left it); --line-feeds loads a file of that many MB of line feeds only (0:
// none; 256 by default after the two shapes) and prints its peak memory against its size.
#include "app/dialog_seam.h"
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/pages/table_page.h"
#include "app/table/result_table_model.h"
#include "bench/results/result_file_generator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

namespace {

// Boxes are printed; dialogs are cancelled.
class PrintedDialogs : public DialogSeam {
public:
    void ShowMessage(const QString& text, MessageIcon) override {
        std::printf("message box: %s\n", qPrintable(text));
    }
    std::optional<QString> RunFileDialog(QFileDialog&) override { return std::nullopt; }
};

struct Options {
    std::vector<zentrope::ResultFileShape> shapes;
    QString file;
    QString grabFolder;
    int lineFeedMegabytes = 256;
};

Options ParseOptions(const QStringList& args) {
    Options options;
    zentrope::ResultFileShape shape;
    bool shaped = false;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args[i];
        const QString& value = args[i + 1];
        if (name == "--tests")
            shape.tests = value.toInt();
        else if (name == "--sequences")
            shape.sequences = value.toInt();
        else if (name == "--file")
            options.file = value;
        else if (name == "--grab")
            options.grabFolder = value;
        else if (name == "--line-feeds")
            options.lineFeedMegabytes = value.toInt();
        shaped = shaped || name == "--tests" || name == "--sequences";
    }
    if (shaped)
        options.shapes = {shape};
    else
        options.shapes = {zentrope::ResultFileShape{}, zentrope::ResultFileShape{20, 100000}};
    return options;
}

// A figure of /proc/self/status, such as VmHWM (peak resident memory), in MB.
double StatusMegabytes(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}

void Report(const char* step, const QElapsedTimer& timer) {
    std::printf("%-40s %8.3f s\n", step, double(timer.nsecsElapsed()) / 1e9);
}

template <typename T> T* Named(const TFIN& window, const char* name) {
    return window.findChild<T*>(QLatin1String(name));
}

void ShowPage(const TFIN& window, const char* page) {
    Named<QTabWidget>(window, "PC")->setCurrentWidget(Named<QWidget>(window, page));
}

// Draws a page's widget now, as the screen would after the event loop's next turn.
void DrawPage(const TFIN& window, const char* page, const char* view) {
    ShowPage(window, page);
    QApplication::processEvents();
    Named<QAbstractScrollArea>(window, view)->viewport()->repaint();
}

// Peak memory counts from here on.
void ResetPeakMemory() {
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Selects a cell in ten other rows, one after the other, each time drawing the detail pane with
// its charts as the screen would, and prints the mean and the longest time.
void TimePaneRedraw(const TFIN& window) {
    ShowPage(window, "TStable");
    QApplication::processEvents();
    auto* grid = Named<QTableView>(window, "SG");
    const int rows = grid->model()->rowCount();
    const int col = window.Table().Model().SequenceColumnEnd() - 1;
    double total = 0;
    double longest = 0;
    const int selections = std::min(10, rows - 1);
    for (int i = 1; i <= selections; ++i) {
        QElapsedTimer step;
        step.start();
        grid->setCurrentIndex(grid->model()->index(i * (rows - 1) / selections, col));
        Named<QWidget>(window, "RowDetailPane")->repaint();
        const double seconds = double(step.nsecsElapsed()) / 1e9;
        total += seconds;
        longest = std::max(longest, seconds);
    }
    std::printf("%-40s %8.3f s (longest %.3f s, %d values a row)\n",
                "detail pane, another row selected", total / selections, longest,
                col - zentrope::ResultGrid::FixedColumns + 1);
}

// Loads one file into a new window and prints its figures; returns the load's time in seconds.
double LoadInWindow(const QString& path, const QString& folder, const QString& grabFolder) {
    PrintedDialogs dialogs;
    TFIN window(WindowSetup{folder, folder, &dialogs});
    window.resize(1024, 768);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    ResetPeakMemory();
    const double startMegabytes = StatusMegabytes("VmRSS");

    QElapsedTimer total;
    total.start();
    QElapsedTimer step;
    step.start();
    window.LoadResultFile(path);
    Report("LoadResultFile", step);
    step.restart();
    DrawPage(window, "TStable", "SG");
    Report("table drawn", step);
    step.restart();
    DrawPage(window, "TSresults", "RE");
    Report("text drawn", step);
    Report("whole load, both pages shown", total);
    const double seconds = double(total.nsecsElapsed()) / 1e9;
    if (!grabFolder.isEmpty()) { // the Table page as the load leaves it
        ShowPage(window, "TStable");
        window.grab().save(grabFolder + "/landed.png");
    }

    step.restart();
    window.Table().SGMouseUp(Qt::LeftButton, -9999, 1);
    Named<QTableView>(window, "SG")->viewport()->repaint();
    Report("sort by test name", step);
    step.restart();
    // Also part of LoadResultFile above.
    window.Table().JudgeLoadedRun(window.General().Thresholds());
    Report("run verdict (part of the load)", step);

    TimePaneRedraw(window);

    const QAbstractItemModel* table = Named<QTableView>(window, "SG")->model();
    std::printf("rows %d, columns %d\n", table->rowCount(), table->columnCount());
    std::printf("memory before the load %.1f MB, peak %.1f MB (VmHWM)\n", startMegabytes,
                StatusMegabytes("VmHWM"));

    if (!grabFolder.isEmpty()) {
        ShowPage(window, "TStable");
        window.grab().save(grabFolder + "/table.png");
        ShowPage(window, "TSresults");
        window.grab().save(grabFolder + "/text.png");
    }
    return seconds;
}

// A file of line feeds only is one line per byte: the text view's memory per line decides.
bool LoadLineFeeds(int megabytes, const QString& folder) {
    const QString path = folder + "/line_feeds.txt";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        const QByteArray block(1 << 20, '\n');
        for (int i = 0; i < megabytes; ++i)
            file.write(block);
    }
    std::printf("\n%d MB of line feeds only\n", megabytes);
    const double before = StatusMegabytes("VmRSS");
    if (LoadInWindow(path, folder, {}) < 0)
        return false;
    std::printf("peak above the memory before the window: %.1f MB, %.2f times the file's size\n",
                StatusMegabytes("VmHWM") - before, (StatusMegabytes("VmHWM") - before) / megabytes);
    QFile::remove(path);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const Options options = ParseOptions(app.arguments());

    QTemporaryDir dir;
    if (!options.file.isEmpty())
        return LoadInWindow(options.file, dir.path(), options.grabFolder) < 0 ? 1 : 0;

    std::vector<double> seconds;
    for (const zentrope::ResultFileShape& shape : options.shapes) {
        const QString path = dir.filePath("results.txt");
        QElapsedTimer generation;
        generation.start();
        zentrope::WriteResultFile(path.toStdString(), shape);
        std::printf("\ngenerated %d tests x %d sequences, %.1f MB in %.3f s\n", shape.tests,
                    shape.sequences, double(QFileInfo(path).size()) / 1e6,
                    double(generation.nsecsElapsed()) / 1e9);
        seconds.push_back(LoadInWindow(path, dir.path(), options.grabFolder));
        if (seconds.back() < 0)
            return 1;
    }
    if (seconds.size() == 2)
        std::printf("\nwide load / tall load: %.2f (at most 2 wanted)\n", seconds[1] / seconds[0]);
    return options.lineFeedMegabytes > 0 && !LoadLineFeeds(options.lineFeedMegabytes, dir.path())
               ? 1
               : 0;
}
