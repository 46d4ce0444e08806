#include "tlsstream.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <poll.h>
#include <sys/socket.h>

namespace Modbus {

namespace {

// The socket under a session. The library's own socket source writes with
// write(), which raises SIGPIPE once the server has closed; this one sends
// with MSG_NOSIGNAL.
int socketOf(BIO *bio)
{
    return int(reinterpret_cast<intptr_t>(BIO_get_data(bio)));
}

int socketWrite(BIO *bio, const char *data, int length)
{
    BIO_clear_retry_flags(bio);
    for (;;) {
        const ssize_t count = ::send(socketOf(bio), data, size_t(length), MSG_NOSIGNAL);
        if (count >= 0)
            return int(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            BIO_set_retry_write(bio);
        return -1;
    }
}

int socketRead(BIO *bio, char *data, int length)
{
    BIO_clear_retry_flags(bio);
    for (;;) {
        const ssize_t count = ::recv(socketOf(bio), data, size_t(length), 0);
        if (count == 0)
            BIO_set_flags(bio, BIO_FLAGS_IN_EOF);
        if (count >= 0)
            return int(count);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            BIO_set_retry_read(bio);
        return -1;
    }
}

long socketControl(BIO *bio, int command, long, void *)
{
    switch (command) {
    case BIO_CTRL_FLUSH:
        return 1;
    case BIO_CTRL_EOF:
        return BIO_test_flags(bio, BIO_FLAGS_IN_EOF) != 0;
    default:
        return 0;
    }
}

int socketCreate(BIO *bio)
{
    BIO_set_init(bio, 1);
    return 1;
}

const BIO_METHOD *socketMethod()
{
    static BIO_METHOD *const method = [] {
        BIO_METHOD *socket = BIO_meth_new(
            BIO_get_new_index() | BIO_TYPE_SOURCE_SINK | BIO_TYPE_DESCRIPTOR, "qel socket");
        if (socket) {
            BIO_meth_set_write(socket, socketWrite);
            BIO_meth_set_read(socket, socketRead);
            BIO_meth_set_ctrl(socket, socketControl);
            BIO_meth_set_create(socket, socketCreate);
        }
        return socket;
    }();
    return method;
}

} // namespace

TlsStream::TlsStream(TlsFiles files)
    : files(std::move(files))
{ }

TlsStream::~TlsStream()
{
    SSL_free(session);
}

void TlsStream::release()
{
    SSL_free(session);
    session = nullptr;
    sound = false;
    failure = ENOTCONN;
    ended = false;
    bufferStart = 0;
    buffered = 0;
}

int TlsStream::sessionFailure(int rc)
{
    const int system = errno;
    switch (SSL_get_error(session, rc)) {
    case SSL_ERROR_WANT_READ:
    case SSL_ERROR_WANT_WRITE:
        return 0;
    case SSL_ERROR_ZERO_RETURN:
        ended = true;
        return ECONNRESET;
    case SSL_ERROR_SYSCALL:
        return Tls::libraryError(system != 0 ? system : ECONNRESET);
    case SSL_ERROR_SSL: {
        const unsigned long error = ERR_peek_last_error();
        const long verify = SSL_get_verify_result(session);
        const bool verifyFailed = ERR_GET_LIB(error) == ERR_LIB_SSL
            && ERR_GET_REASON(error) == SSL_R_CERTIFICATE_VERIFY_FAILED && verify != X509_V_OK;
        return Tls::libraryError(
            EPROTO, nullptr, verifyFailed ? X509_verify_cert_error_string(verify) : nullptr);
    }
    default:
        return Tls::libraryError(EPROTO);
    }
}

void TlsStream::breakOff(int error)
{
    sound = false;
    failure = error;
}

TlsStream::Step TlsStream::afterCall(ModbusContext *context, int rc, TcpStream::Deadline deadline)
{
    const bool wantsWrite = SSL_get_error(session, rc) == SSL_ERROR_WANT_WRITE;
    const int error = sessionFailure(rc);
    if (error != 0) {
        if (!ended)
            breakOff(error);
        errno = error;
        return Step::Failed;
    }
    const int ready = TcpStream::waitFor(context, wantsWrite ? POLLOUT : POLLIN, deadline);
    if (ready == 1)
        return Step::Again;
    if (ready == 0)
        errno = ETIMEDOUT;
    return Step::Failed;
}

int TlsStream::connect(ModbusContext *context)
{
    close(context);
    int error = 0;
    clientContext = Tls::newClientContext(files, &error);
    if (!clientContext) {
        errno = error;
        return -1;
    }
    if (tcp.connect(context) == -1)
        return -1;

    ERR_clear_error();
    session = SSL_new(clientContext.get());
    BIO *bio = session ? BIO_new(socketMethod()) : nullptr;
    if (!bio) {
        error = Tls::libraryError(ENOMEM);
        close(context);
        errno = error;
        return -1;
    }
    BIO_set_data(bio, reinterpret_cast<void *>(intptr_t(context->socket)));
    SSL_set_bio(session, bio, bio);
    SSL_set_connect_state(session);

    const TcpStream::Deadline deadline = TcpStream::deadlineAfter(context->responseTimeout);
    for (;;) {
        const int rc = SSL_connect(session);
        if (rc == 1)
            break;
        if (afterCall(context, rc, deadline) == Step::Again)
            continue;
        error = errno;
        close(context);
        errno = error;
        return -1;
    }
    sound = true;
    if (context->debug)
        printf("%s %s\n", SSL_get_version(session), SSL_get_cipher_name(session));
    return 0;
}

void TlsStream::close(ModbusContext *context)
{
    if (session && sound) {
        // The close notice goes out when the socket takes it; nothing waits
        // for the server's.
        SSL_shutdown(session);
        ERR_clear_error();
    }
    release();
    tcp.close(context);
}

ssize_t TlsStream::send(ModbusContext *context, const uint8_t *bytes, int length)
{
    if (!sound) {
        errno = failure;
        return -1;
    }
    const TcpStream::Deadline deadline = TcpStream::deadlineAfter(context->responseTimeout);
    ERR_clear_error();
    for (;;) {
        // Partial writes are off: a success takes the whole frame.
        const int rc = SSL_write(session, bytes, length);
        if (rc > 0)
            return rc;
        if (afterCall(context, rc, deadline) == Step::Failed)
            return -1;
    }
}

ssize_t TlsStream::read(ModbusContext *, uint8_t *buffer, int length)
{
    const int count = std::min(length, buffered);
    std::copy_n(this->buffer + bufferStart, count, buffer);
    bufferStart += count;
    buffered -= count;
    return count;
}

int TlsStream::waitForData(ModbusContext *context, const Timeout &limit, int wanted)
{
    if (buffered > 0 || ended)
        return 0;
    if (!sound) {
        errno = failure;
        return -1;
    }
    const TcpStream::Deadline deadline = TcpStream::deadlineAfter(limit);
    ERR_clear_error();
    for (;;) {
        const int rc = SSL_read(session, buffer, std::max(1, std::min(wanted, BufferSize)));
        if (rc > 0) {
            bufferStart = 0;
            buffered = rc;
            return 0;
        }
        if (SSL_get_error(session, rc) == SSL_ERROR_ZERO_RETURN) {
            ended = true;
            return 0;
        }
        if (afterCall(context, rc, deadline) == Step::Failed)
            return -1;
    }
}

int TlsStream::flush(ModbusContext *)
{
    if (!session) {
        errno = EBADF;
        return -1;
    }
    int total = buffered;
    bufferStart = 0;
    buffered = 0;
    ERR_clear_error();
    while (sound && !ended) {
        const int rc = SSL_read(session, buffer, BufferSize);
        if (rc <= 0) {
            // A failure found here, such as the server's alert, is the
            // cause the next request reports.
            const int error = sessionFailure(rc);
            if (error != 0 && !ended)
                breakOff(error);
            break;
        }
        total += rc;
    }
    ERR_clear_error();
    return total;
}

bool TlsStream::stillOpen(ModbusContext *context) const
{
    return session && sound && !ended && tcp.stillOpen(context);
}

int TlsStream::replyAllowanceMs(const ModbusContext *context, int length) const
{
    return tcp.replyAllowanceMs(context, length);
}

} // namespace Modbus
