#include "app/widgets/text_width_meter.h"

#include "app/name_text.h"

#include <QString>

TextWidthMeter::TextWidthMeter(const QFont& font) : metrics_(font) {
    for (size_t c = 0; c < ascii_.size(); ++c)
        ascii_[c] = metrics_.horizontalAdvance(QChar(char16_t(c)));
}

int TextWidthMeter::Width(std::string_view utf8) const {
    int width = 0;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= ascii_.size())
            return metrics_.horizontalAdvance(DisplayText(utf8));
        width += ascii_[byte];
    }
    return width;
}
