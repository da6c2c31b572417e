#include "app/runs/runs_page.h"

#include "app/detail/chart_file.h"
#include "app/dialog_seam.h"
#include "app/run_watch/hashing_progress.h"
#include "app/run_watch/run_folder_place.h"
#include "app/runs/compare_view.h"
#include "app/runs/late_results.h"
#include "app/runs/record_text.h"
#include "app/runs/record_verdicts.h"
#include "app/runs/start_tidy.h"
#include "records/record_summary.h"
#include "records/run_folder.h"
#include "records/store_notices.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPromise>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using namespace zentrope;

namespace {

// The list sorts by this role: a text's own order for most columns, worst first for verdicts.
constexpr int SortRole = Qt::UserRole + 1;
enum Column { StartedColumn, KindColumn, ExitColumn, InputColumn, VerdictColumn };

QStandardItem* Item(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setData(sortKey, SortRole);
    return item;
}

QStandardItem* Item(const QString& text) {
    return Item(text, text);
}

QStandardItem* VerdictItem(const RunRecord& run) {
    QStandardItem* item = Item(VerdictText(run), VerdictRank(run));
    item->setToolTip(VerdictBasis(run));
    return item;
}

QList<QStandardItem*> RowOf(const RunRecord& run) {
    QStandardItem* started = Item(run.startedAt.toString(Qt::ISODate), run.startedAt);
    started->setData(run.id, Qt::UserRole);
    QStringList inputs;
    for (const InputFileFacts& input : run.inputs)
        inputs << input.path;
    QStandardItem* input = Item(InputText(run));
    input->setToolTip(run.kind == RunKind::Imported ? run.source : inputs.join('\n'));
    return {started,
            Item(run.kind == RunKind::Run ? QStringLiteral("run") : QStringLiteral("imported")),
            Item(EndText(run)),
            input,
            VerdictItem(run),
            Item(run.enabledTests.join(", ")),
            Item(run.folderPresent ? run.folder : run.folder + " (gone)")};
}

// A run as the comparison names it: by what it tested and when.
ComparedFile ComparedFileOf(const RunRecord& run) {
    const QString parameters = run.folder + '/' + ParameterCopyName;
    const QString label = InputText(run) + ' ' + run.startedAt.toString(Qt::ISODate);
    return {label.toStdString(), QFile::encodeName(run.folder + '/' + ResultCopyName).toStdString(),
            QFileInfo::exists(parameters) ? QFile::encodeName(parameters).toStdString()
                                          : std::string()};
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

} // namespace

RunsPage::RunsPage(DialogSeam& dialogs, const GeneralPage& general)
    : dialogs_(dialogs), filter_(new QLineEdit(this)), model_(new QStandardItemModel(this)),
      list_(new QTableView(this)), record_(new QPlainTextEdit(this)),
      log_(new QPlainTextEdit(this)), compare_(new CompareView(dialogs, general, this)),
      detail_(new QTabWidget(this)), status_(new QLabel(this)) {
    setObjectName("TSruns");
    filter_->setObjectName("RunsFilter");
    filter_->setPlaceholderText(QStringLiteral("Filter by text"));
    list_->setObjectName("RunsList");
    record_->setObjectName("RunRecord");
    record_->setReadOnly(true);
    model_->setHorizontalHeaderLabels(
        {"Started", "Kind", "Exit", "Input", "Verdict", "Tests", "Folder"});
    model_->setSortRole(SortRole);
    list_->setModel(model_);
    list_->setSortingEnabled(true);
    list_->sortByColumn(0, Qt::DescendingOrder);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QHBoxLayout;
    const std::pair<QPushButton*, void (RunsPage::*)()> actions[] = {
        {Button(this, "RunsOpenResult", "Open result"), &RunsPage::OpenResult},
        {Button(this, "RunsLoadParameters", "Load parameter file"), &RunsPage::LoadParameters},
        {Button(this, "RunsRunAgain", "Run again"), &RunsPage::RunAgain},
        {Button(this, "RunsOpenLog", "Open log"), &RunsPage::OpenLog},
        {Button(this, "RunsDelete", "Delete"), &RunsPage::DeleteRun},
        {Button(this, "RunsCompare", "Compare"), &RunsPage::CompareRuns}};
    for (const auto& [button, action] : actions) {
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, action);
    }
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filter_);
    layout->addWidget(list_, 2);
    detail_->setObjectName("RunsDetail");
    detail_->addTab(record_, QStringLiteral("Record"));
    detail_->addTab(compare_, QStringLiteral("Comparison"));
    log_->setObjectName("RunLog");
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    detail_->addTab(log_, QStringLiteral("Log"));
    layout->addWidget(detail_, 2);
    status_->setObjectName("RunsStatus");
    layout->addWidget(status_);
    layout->addLayout(buttons);
    connect(filter_, &QLineEdit::textChanged, this, &RunsPage::Refresh);
    connect(compare_, &CompareView::FileAdded, this, &RunsPage::CompareAdded);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RunsPage::ShowChosen);
    connect(&inputCheck_, &QFutureWatcher<InputChanges>::progressValueChanged, this,
            [this](int percent) {
                status_->setText(QStringLiteral("Checking the input files... %1%").arg(percent));
            });
    connect(&inputCheck_, &QFutureWatcher<InputChanges>::finished, this,
            &RunsPage::RunCheckedAgain);
    connect(&RecordVerdicts::Instance(), &RecordVerdicts::Judged, this, &RunsPage::ShowVerdict);
    connect(&HashingProgress::Instance(), &HashingProgress::Changed, this, [this](qint64 run) {
        if (const std::optional<RunRecord> chosen = ChosenRun(); chosen && chosen->id == run)
            ShowChosen();
    });
    connect(&StoreNotices::Instance(), &StoreNotices::Told, this,
            [this](const QString& text) { dialogs_.ShowMessage(text, MessageIcon::Warning); });
    connect(&tidy_, &QFutureWatcher<QString>::finished, this, [this] {
        if (const QString done = tidy_.result(); !done.isEmpty())
            status_->setText(done);
        if (isVisible())
            Refresh();
    });
    tidy_.setFuture(QtConcurrent::run(&TidyRecordsAtStart, RunsRoot()));
}

// The tidy works in the records folder, which must not go, nor be made again, under it.
RunsPage::~RunsPage() {
    tidy_.waitForFinished();
}

RunStore* RunsPage::Store() {
    if (!store_)
        store_ = RunStore::Open(RunsRoot()).store;
    return store_.get();
}

// Once per showing, not per keystroke in the filter: completing runs lists them all.
void RunsPage::showEvent(QShowEvent* event) {
    if (Store()) {
        CollectLateResults(*store_);
        RecordVerdicts::Instance().JudgeAllDueLater(store_->Root());
    }
    Refresh();
    QWidget::showEvent(event);
}

void RunsPage::Refresh() {
    model_->removeRows(0, model_->rowCount());
    if (!Store())
        return;
    for (const RunRecord& run : store_->Filter(filter_->text()))
        model_->appendRow(RowOf(run));
    // The start time whole, not cut to its date.
    list_->resizeColumnToContents(StartedColumn);
    record_->clear();
}

// In place, so that the selection and the shown record stay.
void RunsPage::ShowVerdict(qint64 id) {
    const std::optional<RunRecord> run = Store() ? store_->Get(id) : std::nullopt;
    for (int row = 0; run && row < model_->rowCount(); ++row)
        if (model_->item(row, StartedColumn)->data(Qt::UserRole).toLongLong() == id)
            model_->setItem(row, VerdictColumn, VerdictItem(*run));
}

std::optional<RunRecord> RunsPage::ChosenRun() const {
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid() || !store_)
        return std::nullopt;
    return store_->Get(model_->index(current.row(), 0).data(Qt::UserRole).toLongLong());
}

QList<RunRecord> RunsPage::SelectedRuns() const {
    QList<RunRecord> runs;
    if (!store_)
        return runs;
    QModelIndexList rows = list_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    for (const QModelIndex& row : rows)
        if (std::optional<RunRecord> run = store_->Get(row.data(Qt::UserRole).toLongLong()))
            runs << *run;
    return runs;
}

void RunsPage::ShowChosen() {
    const std::optional<RunRecord> run = ChosenRun();
    record_->setPlainText(run ? RecordText(*run, HashingProgress::Instance().TextOf(run->id))
                              : QString());
}

void RunsPage::OpenResult() {
    if (const std::optional<RunRecord> run = ChosenRun())
        emit ResultChosen(run->folder + '/' + ResultCopyName,
                          ChartRunName(InputText(*run), run->startedAt));
}

void RunsPage::LoadParameters() {
    if (const std::optional<RunRecord> run = ChosenRun())
        emit ParametersChosen(run->folder + '/' + ParameterCopyName);
}

// Without a desktop handler for text files the log is shown here, its newest part if long.
void RunsPage::OpenLog() {
    const std::optional<RunRecord> run = ChosenRun();
    if (!run)
        return;
    const QString path = run->folder + '/' + LogName;
    if (QFileInfo(path).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs_.ShowMessage(QStringLiteral("Cannot open file %1").arg(path), MessageIcon::Error);
        return;
    }
    constexpr qint64 ShownBytes = 4 << 20;
    file.seek(qMax<qint64>(0, file.size() - ShownBytes));
    log_->setPlainText(QString::fromLocal8Bit(file.read(ShownBytes)));
    detail_->setCurrentWidget(log_);
    log_->moveCursor(QTextCursor::End);
}

void RunsPage::DeleteRun() {
    const std::optional<RunRecord> run = ChosenRun();
    if (!run || !dialogs_.AskToGoOn(QStringLiteral("Delete the run started %1 and its files?")
                                        .arg(run->startedAt.toString(Qt::ISODate))))
        return;
    if (const QString failure = store_->Remove(run->id); !failure.isEmpty())
        dialogs_.ShowMessage(failure, MessageIcon::Warning);
    Refresh();
}

std::vector<ComparedFile> RunsPage::ComparedFiles() const {
    std::vector<ComparedFile> files;
    for (const RunRecord& run : SelectedRuns())
        files.push_back(ComparedFileOf(run));
    for (ComparedFile& file : compare_->AddedFiles())
        files.push_back(std::move(file));
    return files;
}

void RunsPage::CompareRuns() {
    std::vector<ComparedFile> files = ComparedFiles();
    if (files.size() < 2) {
        dialogs_.ShowMessage(
            QStringLiteral("Select two or more runs, or add result files, to compare them."),
            MessageIcon::Information);
        return;
    }
    detail_->setCurrentWidget(compare_);
    compare_->Compare(std::move(files));
}

// An added file joins the comparison at once, when there is something to compare it with.
void RunsPage::CompareAdded() {
    std::vector<ComparedFile> files = ComparedFiles();
    if (files.size() < 2)
        return;
    detail_->setCurrentWidget(compare_);
    compare_->Compare(std::move(files));
}

void RunsPage::RunAgain() {
    const std::optional<RunRecord> run = ChosenRun();
    if (!run || inputCheck_.isRunning())
        return;
    againParameters_ = run->folder + '/' + ParameterCopyName;
    status_->setText(QStringLiteral("Checking the input files..."));
    inputCheck_.setFuture(
        QtConcurrent::run([inputs = run->inputs](QPromise<InputChanges>& promise) {
            promise.setProgressRange(0, 100);
            promise.addResult(FindChangedInputs(inputs, [&](qint64 done, qint64 total) {
                promise.setProgressValue(total > 0 ? int(done * 100 / total) : 0);
                return true;
            }));
        }));
}

void RunsPage::RunCheckedAgain() {
    status_->clear();
    if (inputCheck_.future().resultCount() == 0)
        return;
    const QStringList changed = inputCheck_.result().changed;
    if (!changed.isEmpty() &&
        !dialogs_.AskToGoOn(QStringLiteral("These input files are not the ones the run read: "
                                           "their content has changed, or they are gone.\n\n%1"
                                           "\n\nRun it again with the files as they are now?")
                                .arg(changed.join('\n'))))
        return;
    emit RunAgainChosen(againParameters_);
    Refresh();
}
