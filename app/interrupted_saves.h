// Parameter files rewritten in place keep a recovery copy in the user's data folder until the
// save is done; one left by a save that was stopped is settled at the next start.
#pragma once

#include <QString>

class DialogSeam;

// Where the recovery copies are kept.
QString SaveRecoveryFolder();

// Puts back any file that a stopped save left holding parts of two texts, telling the user
// which files were put back or could not be.
void SettleInterruptedSaves(DialogSeam& dialogs);
