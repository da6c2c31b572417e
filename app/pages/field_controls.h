// Parameter fields between a set or a save's record and the controls the field table names.
#pragma once

#include "app/widgets/edit_bindings.h"
#include "model/parameter_fields.h"
#include "paramfile/parameter_file_record.h"

class QWidget;

// Copies the field into its controls under root; their change handlers run as for the user.
void ShowField(const QWidget& root, const zentrope::ParameterField& field,
               const zentrope::ParameterSet& set);

// Puts into the record the values a save reads from the field's controls under root.
void GatherField(const QWidget& root, const zentrope::ParameterField& field,
                 zentrope::ParameterFileRecord& record);

// Binds every edit of the field under root: thresholds to numberFilter, file names to none,
// all other edits to integerFilter.
void BindFieldKeys(const QWidget& root, const zentrope::ParameterField& field,
                   const KeyPressHandler& integerFilter, const KeyPressHandler& numberFilter);
