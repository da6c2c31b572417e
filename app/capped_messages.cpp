#include "app/capped_messages.h"

CappedMessages::CappedMessages(std::function<void(const QString&)> show, QString source)
    : show_(std::move(show)), source_(std::move(source)) {}

void CappedMessages::operator()(const std::string& text) {
    if (++seen_ <= ShownInFull)
        show_(QString::fromStdString(text));
}

void CappedMessages::Finish() {
    const int heldBack = seen_ - ShownInFull;
    if (heldBack > 0)
        show_(QStringLiteral("%1 more %2 about %3 not shown.")
                  .arg(heldBack)
                  .arg(heldBack == 1 ? QStringLiteral("message was")
                                     : QStringLiteral("messages were"))
                  .arg(source_));
    seen_ = 0;
}
