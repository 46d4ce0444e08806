#pragma once

#include <QByteArray>
#include <QString>
#include <QTcpSocket>

// A bare Modbus master for the simulator's tests: writes the bytes a test
// gives and reads what comes back, over TCP or on a pseudo-terminal. It
// knows nothing of Modbus, so the tests spell every byte out.
class RawMaster
{
public:
    RawMaster() = default;
    ~RawMaster();
    RawMaster(const RawMaster &) = delete;
    RawMaster &operator=(const RawMaster &) = delete;

    bool openTcp(quint16 port);
    // The master's own TCP port, as the simulator sees it.
    quint16 localPort() const { return socket.localPort(); }
    bool openSerial(const QString &path);
    void close();

    bool send(const QByteArray &bytes);
    // Reads until count bytes arrived or timeoutMs passed without them.
    QByteArray receive(int count, int timeoutMs = 10000);
    // Everything that arrives until the line has been quiet for quietMs.
    QByteArray receiveUntilQuiet(int quietMs);
    // True when the peer closed the connection within timeoutMs.
    bool waitForClose(int timeoutMs);

private:
    QTcpSocket socket;
    int fd = -1;
};

// Hex text ("01 03 00 00") to bytes, for readable test tables.
QByteArray hexBytes(const char *text);
