#include "app/pages/key_filters.h"

#include <QChar>
#include <QObject>

namespace {

bool IsDigit(QChar key) {
    return key >= QLatin1Char('0') && key <= QLatin1Char('9');
}

constexpr QChar Backspace(8);

} // namespace

void eTestParamKeyPress(QObject* sender, QChar& key) {
    if (IsDigit(key) || key == Backspace)
        return;
    if (key == QLatin1Char('-') && sender->objectName().contains(QLatin1String("stp")))
        return;
    key = QChar();
}

void Edit_KS_AD_SL_KeyPress(QObject*, QChar& key) {
    if (!IsDigit(key) && key != Backspace && key != QLatin1Char('.'))
        key = QChar();
}
