#pragma once

// The byte stream of the TLS line: a TLS client session (OpenSSL) on a TCP
// stream. Received bytes go through a buffer that the wait for data fills,
// since a readable socket may hold no application data (a session ticket,
// half a record).

#include "modbus.h"
#include "tcpstream.h"
#include "tlscontext.h"

#include <cerrno>

struct ssl_st;

namespace Modbus {

class TlsStream
{
public:
    explicit TlsStream(TlsFiles files);
    ~TlsStream();
    TlsStream(const TlsStream &) = delete;
    TlsStream &operator=(const TlsStream &) = delete;

    bool setEndpoint(const char *ipAddress, int port) { return tcp.setEndpoint(ipAddress, port); }

    // Loads the files before anything goes out, connects, and completes the
    // handshake within the response time-out. Returns 0, or -1 with errno:
    // a system error, ETIMEDOUT, ECANCELED or the library's complaint.
    int connect(ModbusContext *context);
    // Ends the session (a close notice when it is sound) and the socket.
    void close(ModbusContext *context);
    ssize_t send(ModbusContext *context, const uint8_t *bytes, int length);
    // Hands over buffered bytes; 0 once the server ended the session.
    ssize_t read(ModbusContext *context, uint8_t *buffer, int length);
    int waitForData(ModbusContext *context, const Timeout &limit, int wanted);
    int flush(ModbusContext *context);
    // Whether the session is sound and its socket still open at both ends.
    bool stillOpen(ModbusContext *context) const;
    int replyAllowanceMs(const ModbusContext *context, int length) const;

private:
    enum class Step { Again, Failed };
    // The error that a call of the library returning rc ended with; 0 when
    // it only waits for the socket. Marks a session the server ended.
    int sessionFailure(int rc);
    // The session is no longer sound; error says why.
    void breakOff(int error);
    // What to do after a call of the library returned rc: wait for the
    // socket until deadline and try again, or fail with errno set.
    Step afterCall(ModbusContext *context, int rc, TcpStream::Deadline deadline);
    void release();

    static constexpr int BufferSize = 512;

    TcpStream tcp;
    TlsFiles files;
    Tls::ContextPtr clientContext;
    ssl_st *session = nullptr;
    bool sound = false; // handshake completed, no fatal error since
    int failure = ENOTCONN; // why the session is not sound
    bool ended = false; // the server ended the session
    uint8_t buffer[BufferSize];
    int bufferStart = 0;
    int buffered = 0;
};

} // namespace Modbus
