// What a save reads from the window: every control the parameter file names.
#pragma once

#include "paramfile/parameter_file_record.h"

class TFIN;

zentrope::ParameterFileRecord ParameterFileRecordOf(const TFIN& window);
