// Where the window keeps the folders of its runs: the user's data folder.
#pragma once

#include <QString>

QString RunsRoot();
