// A result file read and turned into a table off the window's thread, while the window waits
// in its event loop: it stays responsive and closable, shows the progress of a load that
// takes more than a second, and can cancel it.
#pragma once

#include "app/widgets/text_lines.h"
#include "results/grid/load_watch.h"
#include "results/grid/no_result_reasons.h"
#include "results/grid/result_loader.h"

#include <QFont>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

struct BuiltResultLoad {
    zentrope::ResultBytes read;     // null bytes: refused, failed or cancelled
    std::optional<TextLines> lines; // the text, indexed by line
    zentrope::ResultGrid grid;      // the table, built from the grid it started from
    std::vector<int> columnWidths;  // its columns fitted, as ResultColumnWidths gives them
    std::vector<zentrope::NoResultReason> reasons; // why lines have no result, as the file says
    zentrope::ResultLoadOutcome outcome;
    bool tooLarge = false; // memory ran out
};

// Runs `build` on a thread of its own and waits for it in a local event loop; after a second
// a progress dialog (objectName "PDload") shows `watch`'s progress with a Cancel button.
BuiltResultLoad WaitForResultLoad(QWidget* parent, const QString& path, zentrope::LoadWatch& watch,
                                  std::function<BuiltResultLoad()> build);

// Reads the file and builds its text and table (from `start`, which keeps the earlier load's
// counts and headers) with its columns fitted in `font`; for the thread of WaitForResultLoad.
BuiltResultLoad BuildResultLoad(const std::string& path, const zentrope::ResultLoadOptions& options,
                                zentrope::ResultGrid start, const QFont& font,
                                zentrope::LoadWatch& watch);
