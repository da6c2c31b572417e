#include "app/widgets/up_down.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

namespace {

QToolButton* MakeArrow(Qt::ArrowType type, const char* name, QWidget* parent) {
    auto* arrow = new QToolButton(parent);
    arrow->setObjectName(QLatin1String(name));
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    // Together the two arrows are as high as a line edit.
    const int half = std::max(11, (parent->fontMetrics().height() + 8) / 2);
    arrow->setFixedSize(16, half);
    return arrow;
}

} // namespace

UpDown::UpDown(int min, int max, int position, bool wrap, QWidget* parent)
    : QWidget(parent), min_(min), max_(max), position_(position), wrap_(wrap),
      up_(MakeArrow(Qt::UpArrow, "up", this)), down_(MakeArrow(Qt::DownArrow, "down", this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(up_);
    column->addWidget(down_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up_, &QToolButton::clicked, this, &UpDown::ClickUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::ClickDown);
}

void UpDown::SetPosition(int value) {
    const int position = static_cast<int16_t>(static_cast<uint16_t>(value));
    position_ = position < min_ ? min_ : (position > max_ ? max_ : position);
    ShowPosition();
}

void UpDown::Associate(QLabel* label) {
    label_ = label;
    ShowPosition();
}

void UpDown::Associate(QLineEdit* edit) {
    edit_ = edit;
    ShowPosition();
}

void UpDown::ClickUp() {
    Step(1);
}

void UpDown::ClickDown() {
    Step(-1);
}

void UpDown::Step(int delta) {
    const int next = Position() + delta;
    if (next > max_)
        position_ = wrap_ ? min_ : max_;
    else if (next < min_)
        position_ = wrap_ ? max_ : min_;
    else
        position_ = next;
    ShowPosition();
    emit Clicked();
}

void UpDown::ShowPosition() {
    const QString text = QString::number(position_);
    if (label_)
        label_->setText(text);
    if (edit_ && edit_->text() != text)
        edit_->setText(text);
}

int UpDown::Position() const {
    if (edit_) {
        bool ok = false;
        const int typed = edit_->text().trimmed().toInt(&ok);
        if (ok && typed >= min_ && typed <= max_)
            position_ = typed;
    }
    return position_;
}
