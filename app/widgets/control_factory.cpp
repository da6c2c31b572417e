#include "app/widgets/control_factory.h"

#include "app/widgets/edit_bindings.h"
#include "model/sizes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int LayoutWidth(const QWidget* widget, int layoutPixels) {
    return layoutPixels * widget->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 7;
}

void SetHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setToolTipDuration(10000);
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, int maxChars,
                    int layoutWidth) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    // Numeric edits keep their size; path edits may grow with the window.
    if (maxChars > 0) {
        edit->setFixedWidth(LayoutWidth(edit, layoutWidth));
        LimitTyping(edit, maxChars);
    } else
        edit->setMinimumWidth(LayoutWidth(edit, layoutWidth));
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, const char* name) {
    auto* label = new QLabel(caption, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* MakeNumberLabel(QWidget* parent, const char* name, const QString& text, int layoutWidth) {
    QLabel* label = MakeLabel(parent, text, name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(LayoutWidth(label, layoutWidth));
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setLayoutDirection(Qt::RightToLeft);
    box->setChecked(checked);
    return box;
}

QComboBox* MakeComboBox(QWidget* parent, const char* name, const QStringList& items, int selected,
                        int layoutWidth) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(false);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    combo->setMaxVisibleItems(20);
    combo->setMinimumWidth(LayoutWidth(combo, layoutWidth));
    return combo;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    row->addStretch(1);
    return row;
}

QComboBox* MakeSizeUnitBox(QWidget* parent, const char* name, int selected, int layoutWidth) {
    QStringList items;
    for (std::string_view unit : zentrope::SizeUnitList)
        items << QString::fromLatin1(unit.data(), static_cast<qsizetype>(unit.size()));
    QComboBox* combo = MakeComboBox(parent, name, items, selected, layoutWidth);
    SetHint(combo, QString::fromLatin1(zentrope::SizeUnitHint.data(),
                                       static_cast<qsizetype>(zentrope::SizeUnitHint.size())));
    return combo;
}
