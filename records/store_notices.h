// What went wrong with the records, told to whoever shows it to the user: each text once for
// the life of the program, from whichever thread met it.
#pragma once

#include <QObject>
#include <QString>

namespace zentrope {

class StoreNotices : public QObject {
    Q_OBJECT
public:
    static StoreNotices& Instance();
    // Emits `told` unless the same text was told before.
    void TellOnce(const QString& text);

signals:
    void Told(const QString& text);
};

} // namespace zentrope
