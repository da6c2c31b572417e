#include "app/widgets/page_control.h"

#include <QTabBar>

namespace {

class PageTabs : public QTabBar {
public:
    explicit PageTabs(QWidget* parent) : QTabBar(parent) {}
    int shrinking = -1;

protected:
    // Only the shrinking tab may be shorter than its whole caption.
    QSize minimumTabSizeHint(int index) const override {
        return index == shrinking ? QTabBar::minimumTabSizeHint(index) : tabSizeHint(index);
    }
};

} // namespace

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new PageTabs(this));
    setTabPosition(QTabWidget::West);
    setElideMode(Qt::ElideMiddle);
    // Scroll buttons would hide tabs; the shrinking tab makes room instead.
    setUsesScrollButtons(false);
}

void PageControl::SetShrinkingTab(int index) {
    static_cast<PageTabs*>(tabBar())->shrinking = index;
    tabBar()->updateGeometry();
}
