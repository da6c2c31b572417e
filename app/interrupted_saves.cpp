#include "app/interrupted_saves.h"

#include "app/dialog_seam.h"
#include "app/run_watch/run_folder_place.h"
#include "paramfile/save_recovery.h"

#include <QDir>
#include <QFile>

using namespace zentrope;

QString SaveRecoveryFolder() {
    return QDir(RunsRoot()).filePath(QStringLiteral("saving"));
}

void SettleInterruptedSaves(DialogSeam& dialogs) {
    const QString folder = SaveRecoveryFolder();
    for (const RecoveredSave& save :
         RecoverInterruptedSaves(QFile::encodeName(folder).toStdString())) {
        const QString target = QDir::toNativeSeparators(QFile::decodeName(save.target.c_str()));
        if (save.outcome == RecoveryOutcome::Restored)
            dialogs.ShowMessage(
                QStringLiteral("Saving the parameter file \"%1\" was stopped halfway, which left "
                               "it holding parts of two versions. It has been put back as it "
                               "was before that save.")
                    .arg(target),
                MessageIcon::Warning);
        else if (save.outcome == RecoveryOutcome::NotRestored)
            dialogs.ShowMessage(
                QStringLiteral("Saving the parameter file \"%1\" was stopped halfway, which left "
                               "it holding parts of two versions, and it could not be put back. "
                               "Its earlier content is kept in \"%2\"; Zentrope GUI tries again "
                               "at its next start.")
                    .arg(target, QDir::toNativeSeparators(folder)),
                MessageIcon::Warning);
    }
}
