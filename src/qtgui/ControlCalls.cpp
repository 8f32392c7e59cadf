#include "ControlCalls.h"

#include <QMetaObject>
#include <QObject>

namespace merv::qt {

void ControlCalls::noticed() {
    if (m_depth > 0 || m_catchUpPosted)
        return;
    m_catchUpPosted = true;
    QMetaObject::invokeMethod(
        &m_view,
        [this] {
            m_catchUpPosted = false;
            m_catchUp();
        },
        Qt::QueuedConnection);
}

} // namespace merv::qt
