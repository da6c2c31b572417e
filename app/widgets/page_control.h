// The window's page control: tabs on the left that keep their whole captions, except one whose
// caption may hold a long path and gives way, shortened in its middle, when the tabs do not fit.
#pragma once

#include <QTabWidget>

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent = nullptr);
    void SetShrinkingTab(int index);
};
