// What is checked before a run, from what the window already knows, so that a run that would
// certainly fail is neither written nor started. Each box names the field, its value and the
// way out.
#pragma once

class QString;
class TFIN;

// The tester's path ("Zentrope executable"), then the run's sequences and input. False when
// the user has been told why; nothing has been written then.
bool LaunchChecksPass(TFIN& window);

// The tester's path alone, as a kept parameter file run again needs it.
bool ExecutableFound(TFIN& window, const QString& executable);
