// Every value a save reads from the window, by the name of the control that holds it, so
// that the file can be written (and tested) without a window.
#pragma once

#include "model/test_catalogue.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

// Each control's value as text: an edit's or a label's text as typed, a spinner's position,
// 1 or 0 for a check box or radio button, a combo box's selected index (-1 when nothing is
// selected). The writer converts the integer ones and refuses the save when one is not a
// whole decimal integer.
struct ParameterFileRecord {
    std::map<std::string, std::string, std::less<>> controls;
    // The TestIds carried by the items of LBorder, first item first.
    std::vector<TestId> LBorder;

    std::string& operator[](std::string_view control) { return controls[std::string(control)]; }
    // Empty for a control the record does not hold.
    std::string_view Value(std::string_view control) const {
        auto found = controls.find(control);
        return found == controls.end() ? std::string_view() : std::string_view(found->second);
    }
};

} // namespace zentrope
