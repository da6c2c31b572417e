#include "window_parameter_record.h"

#include "field_controls.h"
#include "main_window.h"

#include "app/pages/parameters_page.h"

using namespace zentrope;

ParameterFileRecord ParameterFileRecordOf(const TFIN& window) {
    ParameterFileRecord record;
    for (const ParameterField& field : ParameterFields())
        if (field.section == GeneralSection)
            GatherField(window, field, record);
    window.TSparam->Gather(record);
    return record;
}
