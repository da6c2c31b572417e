#include "paramfile/in_place_write.h"

#include <algorithm>
#include <fstream>

namespace zentrope {

bool OverwriteInPlace(const std::filesystem::path& target, std::uintmax_t oldSize,
                      std::string_view bytes) {
    std::error_code ec;
    std::fstream file(target, std::ios::in | std::ios::out | std::ios::binary);
    if (!file)
        return false;
    const size_t head = static_cast<size_t>(std::min<std::uintmax_t>(oldSize, bytes.size()));
    if (bytes.size() > head) {
        file.seekp(0, std::ios::end);
        file.write(bytes.data() + head, static_cast<std::streamsize>(bytes.size() - head));
        file.flush();
        if (!file) {
            file.close();
            std::filesystem::resize_file(target, oldSize, ec);
            return false;
        }
    }
    file.seekp(0);
    file.write(bytes.data(), static_cast<std::streamsize>(head));
    file.close();
    if (file.fail())
        return false;
    if (bytes.size() < oldSize)
        std::filesystem::resize_file(target, bytes.size(), ec);
    return !ec;
}

} // namespace zentrope
