#include "app/pages/results_page.h"

#include "app/widgets/result_text_view.h"

#include <QVBoxLayout>

namespace {

// Where the tab stops of RE lie, in points.
const QList<qreal> ResultTabStops = {0, 100, 200, 300, 400};

} // namespace

ResultsPage::ResultsPage(QWidget* parent) : QWidget(parent), RE(new ResultTextView(this)) {
    setObjectName("TSresults");
    RE->setObjectName("RE");
    (new QVBoxLayout(this))->addWidget(RE);
}

void ResultsPage::ShowBytes(std::shared_ptr<const std::string> bytes) {
    RE->setSharedBytes(std::move(bytes));
}

void ResultsPage::ShowLines(TextLines lines) {
    RE->setLines(std::move(lines));
}

void ResultsPage::SelectEnd() {
    RE->setTabStopsInPoints(ResultTabStops);
    RE->selectLastCharacter();
}

void ResultsPage::Clear() {
    RE->setBytes({});
}
