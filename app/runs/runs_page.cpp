#include "app/runs/runs_page.h"

#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/run_watch/run_folder_place.h"
#include "records/run_folder.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

using namespace zentrope;

namespace {

QString EndText(const RunEnd& end) {
    if (end.cancelled)
        return QStringLiteral("cancelled");
    if (end.endSignal)
        return QStringLiteral("signal %1").arg(*end.endSignal);
    if (end.exitCode)
        return QString::number(*end.exitCode);
    return QStringLiteral("not known");
}

QString RecordText(const RunRecord& run) {
    QStringList lines{
        QStringLiteral("Folder: %1%2").arg(run.folder, run.folderPresent ? "" : " (gone)"),
        QStringLiteral("Tester: %1 (%2 bytes, SHA-256 %3)")
            .arg(run.testerPath)
            .arg(run.testerSize)
            .arg(run.testerSha256),
        QStringLiteral("Front end: %1").arg(run.frontEndVersion),
        QStringLiteral("Started: %1").arg(run.startedAt.toString(Qt::ISODate)),
        QStringLiteral("Ended: %1, exit %2")
            .arg(run.end.endedAt.toString(Qt::ISODate), EndText(run.end)),
        QStringLiteral("n: %1  NT: %2")
            .arg(run.n ? QString::number(*run.n) : QString())
            .arg(run.NT ? QString::number(*run.NT) : QString()),
        QStringLiteral("Tests: %1").arg(run.enabledTests.join(", "))};
    for (const InputFileFacts& input : run.inputs)
        lines << QStringLiteral("Input: %1 (%2 bytes, %3, SHA-256 %4)")
                     .arg(input.path)
                     .arg(input.size)
                     .arg(input.modified.toString(Qt::ISODate), input.sha256);
    return lines.join('\n');
}

QList<QStandardItem*> RowOf(const RunRecord& run) {
    auto* started = new QStandardItem(run.startedAt.toString(Qt::ISODate));
    started->setData(run.id, Qt::UserRole);
    return {started,
            new QStandardItem(run.kind == RunKind::Run ? QStringLiteral("run")
                                                       : QStringLiteral("imported")),
            new QStandardItem(EndText(run.end)), new QStandardItem(run.enabledTests.join(", ")),
            new QStandardItem(run.folderPresent ? run.folder : run.folder + " (gone)")};
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

RunsPage::RunsPage(TFIN& window)
    : window_(window), filter_(new QLineEdit(this)), model_(new QStandardItemModel(this)),
      list_(new QTableView(this)), record_(new QPlainTextEdit(this)) {
    setObjectName("TSruns");
    filter_->setObjectName("RunsFilter");
    filter_->setPlaceholderText(QStringLiteral("Filter by text"));
    list_->setObjectName("RunsList");
    record_->setObjectName("RunRecord");
    record_->setReadOnly(true);
    model_->setHorizontalHeaderLabels({"Started", "Kind", "Exit", "Tests", "Folder"});
    list_->setModel(model_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::DescendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QHBoxLayout;
    const std::pair<QPushButton*, void (RunsPage::*)()> actions[] = {
        {Button(this, "RunsOpenResult", "Open result"), &RunsPage::openResult},
        {Button(this, "RunsLoadParameters", "Load parameter file"), &RunsPage::loadParameters},
        {Button(this, "RunsOpenLog", "Open log"), &RunsPage::openLog},
        {Button(this, "RunsDelete", "Delete"), &RunsPage::deleteRun}};
    for (const auto& [button, action] : actions) {
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, action);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(list_, 2);
    layout->addWidget(record_, 1);
    layout->addLayout(buttons);
    connect(filter_, &QLineEdit::textChanged, this, &RunsPage::refresh);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RunsPage::showChosen);
}

RunStore* RunsPage::store() {
    if (!store_)
        store_ = RunStore::open(RunsRoot()).store;
    return store_.get();
}

void RunsPage::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void RunsPage::refresh() {
    model_->removeRows(0, model_->rowCount());
    if (!store())
        return;
    for (const RunRecord& run : store_->filter(filter_->text()))
        model_->appendRow(RowOf(run));
    // The start time whole, not cut to its date.
    list_->resizeColumnToContents(0);
    record_->clear();
}

std::optional<RunRecord> RunsPage::chosenRun() const {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid() || !store_)
        return std::nullopt;
    return store_->get(model_->index(current.row(), 0).data(Qt::UserRole).toLongLong());
}

void RunsPage::showChosen() {
    const std::optional<RunRecord> run = chosenRun();
    record_->setPlainText(run ? RecordText(*run) : QString());
}

void RunsPage::openResult() {
    if (const std::optional<RunRecord> run = chosenRun())
        window_.LoadResultFile(run->folder + '/' + ResultCopyName);
}

// The window keeps its own parameter file name, so that a later save never writes into the
// run's copy.
void RunsPage::loadParameters() {
    const std::optional<RunRecord> run = chosenRun();
    if (!run)
        return;
    GeneralPage& general = window_.General();
    const QString own = general.ParameterFileName();
    general.SetParameterFileName(run->folder + '/' + ParameterCopyName);
    window_.LoadNamedParameterFile();
    general.SetParameterFileName(own);
}

void RunsPage::openLog() {
    if (const std::optional<RunRecord> run = chosenRun())
        QDesktopServices::openUrl(QUrl::fromLocalFile(run->folder + '/' + LogName));
}

void RunsPage::deleteRun() {
    const std::optional<RunRecord> run = chosenRun();
    if (!run || !window_.AskToGoOn(QStringLiteral("Delete the run started %1 and its files?")
                                       .arg(run->startedAt.toString(Qt::ISODate))))
        return;
    if (const QString failure = store_->remove(run->id); !failure.isEmpty())
        window_.ShowMessage(failure, MessageIcon::Warning);
    refresh();
}
