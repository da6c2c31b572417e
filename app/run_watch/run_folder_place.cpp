#include "app/run_watch/run_folder_place.h"

#include <QStandardPaths>

QString RunsRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
