#include "app/NetworkStart.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace app {

bool StartNetwork() {
    // Binding to any address on a free port makes the system create an IPv4 TCP socket, which
    // is exactly what every device connection needs.
    QTcpSocket probe;
    const bool started = probe.bind(QHostAddress::AnyIPv4, 0);
    probe.close();
    return started;
}

} // namespace app
