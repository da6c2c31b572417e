#include "app/window_parameter_record.h"

#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/pages/parameters_page.h"

using namespace zentrope;

ParameterFileRecord ParameterFileRecordOf(const TFIN& window) {
    ParameterFileRecord record;
    window.General().Gather(record);
    window.Parameters().Gather(record);
    return record;
}
