#include "records/store_notices.h"

#include <QMutex>
#include <QSet>

namespace zentrope {

StoreNotices& StoreNotices::Instance() {
    static StoreNotices notices;
    return notices;
}

void StoreNotices::TellOnce(const QString& text) {
    static QMutex mutex;
    static QSet<QString> toldTexts;
    {
        QMutexLocker lock(&mutex);
        if (text.isEmpty() || toldTexts.contains(text))
            return;
        toldTexts.insert(text);
    }
    emit Told(text);
}

} // namespace zentrope
