#include "app/detail/row_detail_pane.h"

#include "app/detail/chart_file.h"
#include "app/detail/edf_chart.h"
#include "app/detail/histogram_chart.h"
#include "app/dialog_seam.h"
#include "app/name_text.h"
#include "app/table/result_table_model.h"
#include "results/verdict/run_verdict.h"

#include <QChartView>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

using zentrope::DefaultAlpha;

namespace {

const QString PngFilter = QStringLiteral("PNG image (*.png)");
const QString SvgFilter = QStringLiteral("SVG image (*.svg)");

QDoubleSpinBox* AlphaBox(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName("eAlpha");
    box->setDecimals(4);
    box->setRange(0.0001, 0.5);
    box->setStepType(QAbstractSpinBox::AdaptiveDecimalStepType);
    box->setValue(DefaultAlpha);
    box->setToolTip(QStringLiteral("Level \u03b1 of the band, the pass proportion and the run's "
                                   "verdict"));
    return box;
}

QFileDialog* ChartDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName("SDchart");
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters({PngFilter, SvgFilter});
    dialog->setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
        dialog->setDefaultSuffix(filter == SvgFilter ? QStringLiteral("svg")
                                                     : QStringLiteral("png"));
    });
    return dialog;
}

QChartView* ChartView(QChart* chart, const char* name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(240, 200);
    return view;
}

double QValueAt(const std::vector<double>& values, int32_t row) {
    return row >= 0 && size_t(row) < values.size() ? values[size_t(row)] : std::nan("");
}

} // namespace

RowDetailPane::RowDetailPane(ResultTableModel& model, DialogSeam& dialogs, QWidget* parent)
    : QWidget(parent), model_(model), dialogs_(dialogs), rowLabel_(new QLabel(this)),
      alpha_(AlphaBox(this)), edf_(new EdfChart), histogram_(new HistogramChart),
      figures_(new QLabel(this)), saveDialog_(ChartDialog(this)) {
    setObjectName("RowDetailPane");
    rowLabel_->setObjectName("LabDetailRow");
    rowLabel_->setTextFormat(Qt::RichText);
    rowLabel_->setWordWrap(true);
    figures_->setObjectName("LabDetailFigures");
    figures_->setTextFormat(Qt::RichText);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    figures_->setWordWrap(true);

    auto* alphaCaption = new QLabel(QStringLiteral("\u03b1"), this);
    alphaCaption->setBuddy(alpha_);
    auto* header = new QHBoxLayout;
    header->addWidget(rowLabel_, 1);
    header->addWidget(alphaCaption);
    header->addWidget(alpha_);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(figures_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(200);
    auto* body = new QHBoxLayout;
    body->addWidget(ChartColumn(ChartView(edf_, "EdfChart", this), "ButtSaveEdfChart",
                                QStringLiteral("distribution")),
                    3);
    body->addWidget(ChartColumn(ChartView(histogram_, "HistogramChart", this), "ButtSaveHistogram",
                                QStringLiteral("histogram")),
                    3);
    body->addWidget(scroll, 4);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(header);
    layout->addLayout(body, 1);

    connect(alpha_, &QDoubleSpinBox::valueChanged, this, [this](double alpha) {
        Refresh();
        emit AlphaChanged(alpha);
    });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
        qValues_ = zentrope::QValuesOf(model_.Grid().Results());
        Refresh();
    });
    // A sort or a moved row puts another row under the current cell.
    connect(&model_, &QAbstractItemModel::dataChanged, this, &RowDetailPane::Refresh);
    ShowNothing();
}

double RowDetailPane::Alpha() const {
    return alpha_->value();
}

QWidget* RowDetailPane::ChartColumn(QChartView* view, const char* buttonName,
                                    const QString& chart) {
    auto* column = new QWidget(this);
    auto* save = new QPushButton(QStringLiteral("Save chart..."), column);
    save->setObjectName(buttonName);
    connect(save, &QPushButton::clicked, this, [this, view, chart] { SaveChart(view, chart); });
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view, 1);
    layout->addWidget(save, 0, Qt::AlignRight);
    return column;
}

void RowDetailPane::SaveChart(QChartView* view, const QString& chart) {
    const QVariant row = shown_.isValid() ? shown_.data(ResultTableModel::RowRole) : QVariant();
    const QString test = row.isValid() ? DisplayText(row.value<zentrope::ResultRow>().name) : "";
    saveDialog_->selectNameFilter(PngFilter);
    saveDialog_->setDefaultSuffix(QStringLiteral("png"));
    saveDialog_->selectFile(ChartFileName(test, runName_, chart) + QStringLiteral(".png"));
    const std::optional<QString> path = dialogs_.RunFileDialog(*saveDialog_);
    if (path && !SaveChartPicture(*view, *path))
        dialogs_.ShowMessage(QStringLiteral("Cannot write file %1").arg(*path), MessageIcon::Error);
}

void RowDetailPane::ShowIndex(const QModelIndex& index) {
    // The row shown already follows its cells' changes.
    if (index == shown_ || !index.isValid() || !index.data(ResultTableModel::RowRole).isValid())
        return;
    shown_ = index;
    Refresh();
}

void RowDetailPane::SetNote(const QString& note) {
    note_ = note;
    Refresh();
}

void RowDetailPane::ShowNothing() {
    rowLabel_->setText(QStringLiteral("Select a cell to see its row's p-values here."));
    edf_->Clear();
    histogram_->Clear();
    figures_->clear();
}

void RowDetailPane::Refresh() {
    const QVariant data = shown_.isValid() ? shown_.data(ResultTableModel::RowRole) : QVariant();
    if (!data.isValid()) {
        ShowNothing();
        return;
    }
    const auto row = data.value<zentrope::ResultRow>();
    const int32_t resultRow = model_.Grid().ResultRowAt(shown_.row());
    const double alpha = Alpha();
    const zentrope::RowDetail detail = zentrope::DescribeRow(row, alpha);

    QString title =
        note_.isEmpty() ? QString() : QStringLiteral("<i>%1</i>: ").arg(note_.toHtmlEscaped());
    title += QStringLiteral("<b>%1</b>").arg(DisplayText(row.name).toHtmlEscaped());
    const QStringList crossed = model_.CrossedThresholds(resultRow);
    if (!crossed.isEmpty())
        title += QStringLiteral(" <span style=\"color:#c00000\"><b>Flagged:</b> %1</span>")
                     .arg(crossed.join(QStringLiteral("; ")).toHtmlEscaped());
    rowLabel_->setText(title);
    edf_->Show(detail, alpha);
    histogram_->Show(detail);
    const RowQValues q{QValueAt(qValues_.ks, resultRow), QValueAt(qValues_.ad, resultRow)};
    figures_->setText(DetailFiguresHtml(row, detail, q, alpha, model_.MarkOf(resultRow).reasons));
}
