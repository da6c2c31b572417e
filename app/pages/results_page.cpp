#include "app/pages/results_page.h"

#include "app/widgets/result_text_view.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// Where the tab stops of RE lie, in points.
const QList<qreal> ResultTabStops = {0, 100, 200, 300, 400};

QShortcut* PageShortcut(const QKeySequence& keys, QWidget* page) {
    auto* shortcut = new QShortcut(keys, page);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    return shortcut;
}

} // namespace

ResultsPage::ResultsPage(QWidget* parent) : QWidget(parent), RE(new ResultTextView(this)) {
    setObjectName("TSresults");
    RE->setObjectName("RE");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RE, 1);
    layout->addWidget(BuildFindBar());
    connect(PageShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            &ResultsPage::OpenFind);
    connect(PageShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            [this] { FindNext(false); });
    connect(PageShortcut(QKeySequence::FindPrevious, this), &QShortcut::activated, this,
            [this] { FindNext(true); });
}

QWidget* ResultsPage::BuildFindBar() {
    findBar_ = new QWidget(this);
    findBar_->setObjectName("FindBar");
    findText_ = new QLineEdit(findBar_);
    findText_->setObjectName("EditFind");
    findText_->setPlaceholderText(QStringLiteral("Find in the result file"));
    findText_->installEventFilter(this);
    auto* caption = new QLabel(QStringLiteral("Find:"), findBar_);
    caption->setBuddy(findText_);
    auto* previous = new QPushButton(QStringLiteral("Previous"), findBar_);
    previous->setObjectName("ButtFindPrevious");
    previous->setToolTip(QStringLiteral("Shift+F3"));
    auto* next = new QPushButton(QStringLiteral("Next"), findBar_);
    next->setObjectName("ButtFindNext");
    next->setToolTip(QStringLiteral("F3, Enter"));
    findCase_ = new QCheckBox(QStringLiteral("Match case"), findBar_);
    findCase_->setObjectName("cbFindCase");
    findState_ = new QLabel(findBar_);
    findState_->setObjectName("LabFind");
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part :
         std::initializer_list<QWidget*>{caption, findText_, previous, next, findCase_, findState_})
        row->addWidget(part, part == findText_ || part == findState_ ? 1 : 0);
    connect(findText_, &QLineEdit::returnPressed, this, [this] { FindNext(false); });
    connect(next, &QPushButton::clicked, this, [this] { FindNext(false); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    const auto highlight = [this] {
        findState_->clear();
        RE->SetHighlight(findText_->text(), findCase_->isChecked());
    };
    connect(findText_, &QLineEdit::textChanged, this, highlight);
    connect(findCase_, &QCheckBox::toggled, this, highlight);
    findBar_->hide();
    return findBar_;
}

void ResultsPage::OpenFind() {
    findBar_->show();
    findText_->setFocus();
    findText_->selectAll();
    RE->SetHighlight(findText_->text(), findCase_->isChecked());
}

void ResultsPage::CloseFind() {
    findBar_->hide();
    RE->SetHighlight({}, false);
    RE->setFocus();
}

void ResultsPage::FindNext(bool backward) {
    if (findText_->text().isEmpty()) {
        OpenFind();
        return;
    }
    switch (RE->find(findText_->text(), backward, findCase_->isChecked())) {
    case ResultTextView::FindResult::Found:
        findState_->clear();
        break;
    case ResultTextView::FindResult::Wrapped:
        findState_->setText(backward ? QStringLiteral("Went round to the end")
                                     : QStringLiteral("Went round to the start"));
        break;
    case ResultTextView::FindResult::NotFound:
        findState_->setText(QStringLiteral("Not found"));
        break;
    }
}

// Escape in the find bar closes the bar, not the window.
bool ResultsPage::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched != findText_ || !key || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
        return QWidget::eventFilter(watched, event);
    event->accept();
    if (event->type() == QEvent::KeyPress)
        CloseFind();
    return true;
}

void ResultsPage::ShowBytes(std::shared_ptr<const std::string> bytes) {
    RE->SetSharedBytes(std::move(bytes));
}

void ResultsPage::ShowLines(TextLines lines) {
    RE->SetLines(std::move(lines));
}

void ResultsPage::SelectEnd() {
    RE->SetTabStopsInPoints(ResultTabStops);
    RE->SelectLastCharacter();
}

void ResultsPage::Clear() {
    RE->SetBytes({});
}
