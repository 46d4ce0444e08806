#pragma once

// The TLS client context of a line (OpenSSL): TLS 1.2 or 1.3, the client's
// certificate and key, and the authorities a server's certificate must chain
// to; the library's complaints as error codes.

#include "modbus.h"

#include <memory>

struct ssl_ctx_st;

namespace Modbus {
namespace Tls {

struct ContextDeleter
{
    void operator()(ssl_ctx_st *context) const;
};
using ContextPtr = std::unique_ptr<ssl_ctx_st, ContextDeleter>;

// A client context with the files loaded and checked (the key must belong
// to the certificate). Null with *error set: a file's system error, or the
// library's complaint named by the file it is about ("private key: key
// values mismatch").
ContextPtr newClientContext(const TlsFiles &files, int *error);

// The error code of the library's latest complaint in this thread, with
// "prefix: " before its text and ": detail" after it when given; fallback
// when there is none. Clears the thread's queue of complaints.
int libraryError(int fallback, const char *prefix = nullptr, const char *detail = nullptr);

} // namespace Tls
} // namespace Modbus
