// Builders for the window's controls: each gets its name, initial content and hint in one call.
#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Widths in the layout's pixels (designed for 120 dpi, a 7-pixel digit), scaled to the font.
int LayoutWidth(const QWidget* widget, int layoutPixels);

// Hints stay up 10 seconds.
void SetHint(QWidget* widget, const QString& hint);

// maxChars 0: no limit.
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, int maxChars,
                    int layoutWidth);
QLabel* MakeLabel(QWidget* parent, const QString& caption, const char* name = nullptr);
// A label that shows a number right-aligned, as the spinners' static texts do.
QLabel* MakeNumberLabel(QWidget* parent, const char* name, const QString& text, int layoutWidth);
// The caption stands to the left of the box.
QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption,
                        bool checked = false);
// Pick from the list only.
QComboBox* MakeComboBox(QWidget* parent, const char* name, const QStringList& items, int selected,
                        int layoutWidth);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);

// The widgets side by side, packed to the left.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets);

// A combo box of the 14 size units, as the length and DFT sizes use, with the units' hint.
QComboBox* MakeSizeUnitBox(QWidget* parent, const char* name, int selected, int layoutWidth);
