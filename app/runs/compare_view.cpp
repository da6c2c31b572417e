#include "app/runs/compare_view.h"

#include "app/dialog_seam.h"
#include "app/pages/general_page.h"
#include "app/runs/comparison_model.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

using namespace zentrope;

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QFileDialog* FileDialog(QWidget* parent, const char* name, bool save) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QLatin1String(name));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        dialog->setNameFilter(QStringLiteral("CSV files (*.csv)"));
        dialog->setDefaultSuffix(QStringLiteral("csv"));
    }
    return dialog;
}

QString UnreadText(const std::vector<std::string>& unread) {
    QStringList labels;
    for (const std::string& label : unread)
        labels << QString::fromStdString(label);
    return QStringLiteral("No result could be read for: %1.").arg(labels.join(", "));
}

} // namespace

CompareView::CompareView(DialogSeam& dialogs, const GeneralPage& general, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), general_(general), addedList_(new QLabel(this)),
      status_(new QLabel(this)), progress_(new QProgressBar(this)),
      model_(new ComparisonModel(this)), table_(new QTableView(this)),
      parameters_(new QPlainTextEdit(this)),
      export_(Button(this, "CompareExportCsv", QStringLiteral("Export as CSV..."))),
      openDialog_(FileDialog(this, "ODcompare", false)),
      csvDialog_(FileDialog(this, "SDcompareCsv", true)) {
    setObjectName("RunsCompareView");
    addedList_->setObjectName("CompareAddedFiles");
    status_->setObjectName("CompareStatus");
    progress_->setObjectName("CompareProgress");
    progress_->hide();
    table_->setObjectName("CompareTable");
    table_->setModel(model_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    parameters_->setObjectName("CompareParameters");
    parameters_->setReadOnly(true);
    parameters_->setLineWrapMode(QPlainTextEdit::NoWrap);
    export_->setEnabled(false);

    auto* add = Button(this, "CompareAddFile", QStringLiteral("Add result file..."));
    auto* clear = Button(this, "CompareClearFiles", QStringLiteral("Clear added files"));
    connect(add, &QPushButton::clicked, this, &CompareView::AddFile);
    connect(clear, &QPushButton::clicked, this, &CompareView::ClearFiles);
    connect(export_, &QPushButton::clicked, this, &CompareView::ExportCsv);
    connect(&watcher_, &QFutureWatcher<FilesComparison>::progressValueChanged, this,
            &CompareView::ShowProgress);
    connect(&watcher_, &QFutureWatcher<FilesComparison>::finished, this, &CompareView::ShowOutcome);

    auto* files = new QHBoxLayout;
    files->addWidget(add);
    files->addWidget(clear);
    files->addWidget(addedList_, 1);
    files->addWidget(export_);
    auto* sides = new QSplitter(Qt::Horizontal, this);
    sides->addWidget(table_);
    sides->addWidget(parameters_);
    sides->setStretchFactor(0, 3);
    sides->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(files);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(sides, 1);
}

std::vector<ComparedFile> CompareView::AddedFiles() const {
    std::vector<ComparedFile> files;
    for (const QString& path : added_)
        files.push_back({QFileInfo(path).fileName().toStdString(),
                         QFile::encodeName(path).toStdString(), std::string()});
    return files;
}

void CompareView::AddFile() {
    if (const std::optional<QString> path = dialogs_.RunFileDialog(*openDialog_)) {
        added_ << *path;
        addedList_->setText(added_.join(QStringLiteral("; ")));
        emit FileAdded();
    }
}

void CompareView::ClearFiles() {
    added_.clear();
    addedList_->clear();
}

void CompareView::Compare(std::vector<ComparedFile> files) {
    const int count = int(files.size());
    progress_->setRange(0, count);
    progress_->setValue(0);
    progress_->show();
    ShowProgress(0);
    export_->setEnabled(false);
    watcher_.setFuture(
        QtConcurrent::run([files = std::move(files), options = general_.LoadOptions(),
                           thresholds = general_.Thresholds()](QPromise<FilesComparison>& promise) {
            promise.setProgressRange(0, int(files.size()));
            promise.addResult(CompareResultFiles(files, options, thresholds, [&](size_t read) {
                promise.setProgressValue(int(read));
            }));
        }));
}

void CompareView::ShowProgress(int read) {
    progress_->setValue(read);
    status_->setText(
        QStringLiteral("Reading result files... %1 of %2").arg(read).arg(progress_->maximum()));
}

void CompareView::ShowOutcome() {
    progress_->hide();
    if (watcher_.future().resultCount() == 0)
        return;
    FilesComparison outcome = watcher_.result();
    QString status =
        outcome.table.rows.empty()
            ? QStringLiteral("Fewer than two result files could be read.")
            : QStringLiteral("%1 rows compared, worst first.").arg(outcome.table.rows.size());
    if (!outcome.unread.empty())
        status += ' ' + UnreadText(outcome.unread);
    status_->setText(status);
    parameters_->setPlainText(QString::fromStdString(outcome.parameters));
    export_->setEnabled(!outcome.table.rows.empty());
    model_->Show(std::move(outcome.table));
}

void CompareView::ExportCsv() {
    const std::optional<QString> path = dialogs_.RunFileDialog(*csvDialog_);
    if (!path)
        return;
    const std::string csv = ComparisonCsv(model_->Table());
    QSaveFile file(*path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(csv.data(), qint64(csv.size())) == qint64(csv.size()) &&
                         file.commit();
    if (!written)
        dialogs_.ShowMessage(QStringLiteral("Cannot write file %1").arg(*path), MessageIcon::Error);
}
