#include "playback/orlin_messages.h"

#include <QCoreApplication>

void PostOrlinMessage(QObject* pReceiver, QEvent::Type eType) {
    if (pReceiver == nullptr) return;
    QCoreApplication::postEvent(pReceiver, new QEvent(eType));
}
