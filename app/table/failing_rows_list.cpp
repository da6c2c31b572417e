#include "app/table/failing_rows_list.h"

#include "app/name_text.h"
#include "results/grid/figure_text.h"
#include "results/verdict/verdict_text.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

using namespace zentrope;

namespace {

// Each row keeps to one line, so that rows read across; the list scrolls sideways instead.
QString Cell(const QString& html) {
    return QStringLiteral("<td style=\"padding:2px 12px 2px 0; white-space:nowrap\">%1</td>")
        .arg(html);
}

QString Escaped(std::string_view text) {
    return DisplayText(text).toHtmlEscaped();
}

QString RowLink(int32_t row, std::string_view name) {
    return QStringLiteral("<a href=\"row:%1\">%2</a>").arg(row).arg(Escaped(name));
}

QString Header(const QStringList& captions) {
    QString html = QStringLiteral("<tr>");
    for (const QString& caption : captions)
        html += QStringLiteral(
                    "<th align=\"left\" style=\"padding-right:12px; white-space:nowrap\">%1</th>")
                    .arg(caption);
    return html + QStringLiteral("</tr>");
}

QString FailingTable(const VerdictRows& rows, const FlagThresholds& thresholds, double alpha) {
    QString html = QStringLiteral("<h4>Failing rows: %1</h4><table>").arg(rows.failing.size());
    html += Header(
        {"N", "Test name", "KS", "AD", "SL", "Exact KS p", "Holm KS p", "Crosses", "No result"});
    for (const FailingRow& row : rows.failing) {
        QStringList crossed;
        for (const std::string& text : CrossedNames(row, thresholds, alpha))
            crossed << Escaped(text);
        html += QStringLiteral("<tr>") + Cell(QString::number(row.row + 1)) +
                Cell(RowLink(row.row, row.name));
        for (const double figure :
             {row.figures.ks, row.figures.ad, row.figures.sl, row.exactKs, row.adjusted})
            html += Cell(Escaped(FigureText(figure)));
        html += Cell(crossed.join(QStringLiteral("; "))) + Cell(Escaped(row.reasons)) +
                QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString WithoutTable(const VerdictRows& rows) {
    QString html =
        QStringLiteral("<h4>Rows without a result: %1</h4><table>").arg(rows.without.size());
    html += Header({"N", "Test name", "Values", "Reason"});
    for (const RowWithoutResult& row : rows.without)
        html += QStringLiteral("<tr>") + Cell(QString::number(row.row + 1)) +
                Cell(RowLink(row.row, row.name)) + Cell(QString::number(row.values)) +
                Cell(Escaped(row.reason)) + QStringLiteral("</tr>");
    return html + QStringLiteral("</table>");
}

} // namespace

FailingRowsList::FailingRowsList(QWidget* parent) : QDialog(parent), text_(new QTextBrowser(this)) {
    setObjectName("FailingRowsList");
    setWindowTitle(QStringLiteral("Failing rows and rows without a result"));
    text_->setObjectName("FailingRowsText");
    text_->setOpenLinks(false);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        bool named = false;
        const int32_t row = link.toString().section(':', 1).toInt(&named);
        if (named)
            emit RowChosen(row);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy =
        buttons->addButton(QStringLiteral("Copy as text"), QDialogButtonBox::ActionRole);
    copy->setObjectName("ButtCopyFailingRows");
    connect(copy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(plain_); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addWidget(buttons);
}

void FailingRowsList::Show(const RunVerdict& verdict, const VerdictRows& rows,
                           const FlagThresholds& thresholds, double alpha) {
    plain_ = QString::fromStdString(VerdictReport(verdict, rows, thresholds, alpha));
    const QString line =
        QString::fromStdString(VerdictLine(verdict, {}, thresholds, alpha, PlainMarkup()))
            .toHtmlEscaped();
    text_->setHtml(QStringLiteral("<p>%1</p>").arg(line) + FailingTable(rows, thresholds, alpha) +
                   WithoutTable(rows));
}

void FailingRowsList::showEvent(QShowEvent* event) {
    FitToRows();
    QDialog::showEvent(event);
}

// Opens as large as its rows need, within the screen, so that a run's failing rows read at one
// glance, as a grep of the report would list them.
void FailingRowsList::FitToRows() {
    // Around the text: the dialog's margins and buttons, the browser's frame and scroll bars
    // (from size hints: a dialog not yet shown has not laid its children out).
    const int frame = 2 * text_->frameWidth();
    const QSize chrome = layout()->sizeHint() - text_->sizeHint() +
                         QSize(frame + text_->verticalScrollBar()->sizeHint().width(),
                               frame + text_->horizontalScrollBar()->sizeHint().height());
    const QSize room = screen()->availableGeometry().size() * 9 / 10 - chrome;
    const std::unique_ptr<QTextDocument> laidOut(text_->document()->clone());
    laidOut->setTextWidth(-1); // unwrapped: as wide as its widest line
    laidOut->setTextWidth(std::min(laidOut->idealWidth(), qreal(room.width())));
    const QSize wanted = laidOut->size().toSize().boundedTo(room) + chrome;
    const QFontMetrics font = fontMetrics();
    resize(wanted.expandedTo(QSize(font.averageCharWidth() * 60, font.height() * 12)));
}

void FailingRowsList::Clear() {
    plain_.clear();
    text_->clear();
}
