// A recorded run started again: the tester of the window on the run's kept parameter file,
// watched and its result loaded as the wait button does.
#pragma once

#include <QString>

class TFIN;

void RunParameterFileAgain(TFIN& window, const QString& parameterFile);
