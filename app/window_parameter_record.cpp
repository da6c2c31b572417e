#include "window_parameter_record.h"

#include "field_controls.h"
#include "main_window.h"

#include <QListWidget>

using namespace zentrope;

namespace {

std::vector<TestId> ExecutionOrderOf(const QListWidget* list) {
    std::vector<TestId> ids;
    for (int row = 0; row < list->count(); ++row)
        ids.push_back(list->item(row)->data(Qt::UserRole).toInt());
    return ids;
}

} // namespace

ParameterFileRecord ParameterFileRecordOf(const TFIN& window) {
    ParameterFileRecord record;
    for (const ParameterField& field : ParameterFields())
        GatherField(window, field, record);
    record.LBorder = ExecutionOrderOf(window.LBorder);
    return record;
}
