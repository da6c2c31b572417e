#include "app/name_text.h"

#include "model/byte_text.h"

#include <QByteArrayView>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr char KeptBytes[] = "zentropeNameBytes";
constexpr char KeptShown[] = "zentropeNameShown";

} // namespace

QString DisplayText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.isValidUtf8())
        return QString::fromUtf8(view);
    return QString::fromStdString(zentrope::DisplayUtf8(bytes));
}

void ShowNameBytes(QLineEdit* edit, std::string_view bytes) {
    const QString shown = DisplayText(bytes);
    // Kept before the text changes: the change handlers look the name up.
    edit->setProperty(KeptBytes, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    edit->setProperty(KeptShown, shown);
    edit->setText(shown);
}

std::string NameBytes(const QLineEdit* edit) {
    const QVariant shown = edit->property(KeptShown);
    if (shown.isValid() && shown.toString() == edit->text())
        return edit->property(KeptBytes).toByteArray().toStdString();
    return edit->text().toStdString();
}
