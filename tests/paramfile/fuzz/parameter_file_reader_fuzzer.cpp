// libFuzzer entry: any bytes as a parameter file. Besides the sanitizers' checks, the reader
// must keep the set within the values the window can apply.
#include "paramfile/parameter_file_reader.h"

#include <cstdint>
#include <sstream>
#include <string>

namespace {

bool SetIsApplicable(const zentrope::ParameterSet& set) {
    for (int8_t slot : set.ExecutionOrder)
        if (slot < -1 || slot >= zentrope::TestCount)
            return false;
    for (int32_t flag : set.Enable)
        if (flag != 0 && flag != 1)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    zentrope::ParameterSet set;
    zentrope::ApplyDefaults(set);
    bool introduced = true;
    int result = zentrope::ReadParameterStream(in, set, [&](const std::string& message) {
        introduced = introduced && message.starts_with(zentrope::ParseErrorIntro);
    });
    if ((result != 0 && result != 1) || !introduced || !SetIsApplicable(set))
        __builtin_trap();
    return 0;
}
