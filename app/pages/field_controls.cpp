#include "app/pages/field_controls.h"

#include "app/name_text.h"
#include "app/widgets/up_down.h"
#include "model/c_text.h"
#include "model/sizes.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

using namespace zentrope;

namespace {

template <typename Control> Control* Find(const QWidget& root, std::string_view name) {
    return root.findChild<Control*>(
        QLatin1String(name.data(), static_cast<qsizetype>(name.size())));
}

// The field's controls of one class, by their place in the table's row.
struct Controls {
    const QWidget& root;
    const ParameterField& field;
    template <typename Control> Control* At(size_t i) const {
        return Find<Control>(root, field.controls[i]);
    }
};

QString Decimal(int64_t value) {
    return QString::number(value);
}

void ShowSize(uint32_t bits, const Controls& c) {
    ReducedSize reduced = ReduceBitCount(bits);
    c.At<QLineEdit>(0)->setText(Decimal(static_cast<int64_t>(reduced.number)));
    c.At<QComboBox>(1)->setCurrentIndex(reduced.unitIndex);
}

// Off checks the second control where there is one (a radio button pair).
void ShowFlag(int32_t value, const Controls& c) {
    if (value != 0)
        c.At<QAbstractButton>(0)->setChecked(true);
    else if (!c.field.controls[1].empty())
        c.At<QAbstractButton>(1)->setChecked(true);
    else
        c.At<QAbstractButton>(0)->setChecked(false);
}

// The AMLS size spinners count powers of two: log2 rounded, halves upwards. A length of 0
// or below has no logarithm and takes the spinner's lowest position.
void ShowPowerOfTwo(int32_t value, UpDown* spinner, QLabel* label) {
    spinner->SetPosition(value > 0 ? static_cast<int>(std::log2(value) + 0.5) : spinner->Min());
    label->setText(Decimal(value));
}

void ShowRange(const RangeParam& range, const Controls& c) {
    switch (c.field.kind) {
    case FieldKind::Range:
        c.At<QLineEdit>(0)->setText(Decimal(range.min));
        c.At<QLineEdit>(1)->setText(Decimal(range.max));
        c.At<QLineEdit>(2)->setText(Decimal(range.step));
        break;
    case FieldKind::SpinnerRange:
        c.At<UpDown>(0)->SetPosition(range.min);
        c.At<UpDown>(1)->SetPosition(range.max);
        c.At<QLineEdit>(2)->setText(Decimal(range.step));
        break;
    default: // PowerRange
        ShowPowerOfTwo(range.min, c.At<UpDown>(3), c.At<QLabel>(0));
        ShowPowerOfTwo(range.max, c.At<UpDown>(4), c.At<QLabel>(1));
        c.At<UpDown>(5)->SetPosition(range.step);
        c.At<QLabel>(2)->setText(Decimal(range.step));
        break;
    }
}

void ShowInteger(int32_t value, const Controls& c) {
    switch (c.field.kind) {
    case FieldKind::Position:
        c.At<UpDown>(0)->SetPosition(value);
        break;
    case FieldKind::Choice:
        c.At<QComboBox>(0)->setCurrentIndex(value != 0 ? 1 : 0);
        break;
    case FieldKind::Flag:
        ShowFlag(value, c);
        break;
    default: // Integer
        c.At<QLineEdit>(0)->setText(Decimal(value));
        break;
    }
}

void ShowName(const std::optional<std::string>& name, const Controls& c) {
    if (name || c.field.kind == FieldKind::Text)
        ShowNameBytes(c.At<QLineEdit>(0), name.value_or(std::string()));
}

std::string SavedValue(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return NameBytes(edit);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().toStdString();
    if (const auto* spinner = qobject_cast<const UpDown*>(control))
        return std::to_string(spinner->Position());
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->isChecked() ? "1" : "0";
    return std::to_string(qobject_cast<const QComboBox*>(control)->currentIndex());
}

} // namespace

void ShowField(const QWidget& root, const ParameterField& field, const ParameterSet& set) {
    const Controls c{root, field};
    std::visit(
        [&](auto member) {
            const auto& value = set.*member;
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, uint32_t>)
                ShowSize(value, c);
            else if constexpr (std::is_same_v<Value, int32_t>)
                ShowInteger(value, c);
            else if constexpr (std::is_same_v<Value, double>)
                c.At<QLineEdit>(0)->setText(QString::fromStdString(FormatG(value)));
            else if constexpr (std::is_same_v<Value, RangeParam>)
                ShowRange(value, c);
            else
                ShowName(value, c);
        },
        field.member);
}

void GatherField(const QWidget& root, const ParameterField& field, ParameterFileRecord& record) {
    for (int i = 0; i < SavedControlCount(field.kind); ++i) {
        const std::string_view name = field.controls[static_cast<size_t>(i)];
        record[name] = SavedValue(Find<QWidget>(root, name));
    }
}

void BindFieldKeys(const QWidget& root, const ParameterField& field,
                   const KeyPressHandler& integerFilter, const KeyPressHandler& numberFilter) {
    if (field.kind == FieldKind::Text || field.kind == FieldKind::KeptText)
        return;
    for (std::string_view name : field.controls)
        if (!name.empty())
            if (QLineEdit* edit = Find<QLineEdit>(root, name))
                BindKeyPress(edit, field.kind == FieldKind::Number ? numberFilter : integerFilter);
}
