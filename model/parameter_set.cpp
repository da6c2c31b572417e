#include "model/parameter_set.h"

#include "model/parameter_fields.h"

#include <type_traits>

namespace zentrope {

void ApplyDefaults(ParameterSet& s) {
    for (const ParameterField& field : ParameterFields()) {
        std::visit(
            [&s](auto member, const auto& value) {
                using Value = std::decay_t<decltype(value)>;
                using Field = std::decay_t<decltype(s.*member)>;
                if constexpr (std::is_convertible_v<Value, Field>)
                    s.*member = static_cast<Field>(value);
            },
            field.member, field.byDefault);
    }
    s.Enable.fill(1);
    for (int i = 0; i < TestCount; ++i)
        s.ExecutionOrder[i] = static_cast<int8_t>(i);
}

} // namespace zentrope
