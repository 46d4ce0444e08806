#include "tlscontext.h"

#include "lineerrors.h"
#include "smallfile.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cerrno>
#include <string>

namespace Modbus {
namespace Tls {

namespace {

struct BioDeleter
{
    void operator()(BIO *bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioDeleter>;

// A key protected by a pass phrase is refused instead of asking for it on
// the terminal: a driver runs unattended.
int noPassPhrase(char *, int, int, void *)
{
    return 0;
}

// A file that holds nothing the library could read: the library's complaint
// ("unsupported", "no start line") would not say what is missing.
int noneRead(const char *text)
{
    ERR_clear_error();
    return lineErrorCode(text);
}

// Reads a file whole into a memory source; null with *error set.
BioPtr openFile(const std::string &path, std::string *content, int *error)
{
    *error = readSmallFile(path.c_str(), content);
    if (*error != 0)
        return nullptr;
    BioPtr bio(BIO_new_mem_buf(content->data(), int(content->size())));
    if (!bio)
        *error = ENOMEM;
    return bio;
}

bool loadCertificate(SSL_CTX *context, const std::string &path, int *error)
{
    std::string content;
    const BioPtr bio = openFile(path, &content, error);
    if (!bio)
        return false;
    X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, noPassPhrase, nullptr);
    if (!certificate) {
        *error = noneRead("certificate: no PEM certificate in the file");
        return false;
    }
    if (SSL_CTX_use_certificate(context, certificate) != 1) {
        X509_free(certificate);
        *error = libraryError(EINVAL, "certificate");
        return false;
    }
    X509_free(certificate);
    // Intermediate certificates may follow the client's own.
    while (X509 *next = PEM_read_bio_X509(bio.get(), nullptr, noPassPhrase, nullptr)) {
        if (SSL_CTX_add0_chain_cert(context, next) != 1) {
            X509_free(next);
            *error = libraryError(EINVAL, "certificate");
            return false;
        }
    }
    ERR_clear_error(); // the end of the file
    return true;
}

bool loadPrivateKey(SSL_CTX *context, const std::string &path, int *error)
{
    std::string content;
    const BioPtr bio = openFile(path, &content, error);
    if (!bio)
        return false;
    EVP_PKEY *key = PEM_read_bio_PrivateKey(bio.get(), nullptr, noPassPhrase, nullptr);
    if (!key) {
        *error = noneRead("private key: no PEM private key without pass phrase in the file");
        return false;
    }
    const bool used
        = SSL_CTX_use_PrivateKey(context, key) == 1 && SSL_CTX_check_private_key(context) == 1;
    EVP_PKEY_free(key);
    if (!used)
        *error = libraryError(EINVAL, "private key");
    return used;
}

bool loadAuthorities(SSL_CTX *context, const std::string &path, int *error)
{
    std::string content;
    const BioPtr bio = openFile(path, &content, error);
    if (!bio)
        return false;
    X509_STORE *store = SSL_CTX_get_cert_store(context);
    int count = 0;
    while (X509 *certificate = PEM_read_bio_X509(bio.get(), nullptr, noPassPhrase, nullptr)) {
        const bool added = X509_STORE_add_cert(store, certificate) == 1;
        X509_free(certificate);
        if (!added) {
            *error = libraryError(EINVAL, "CA");
            return false;
        }
        ++count;
    }
    if (count == 0) {
        *error = noneRead("CA: no PEM certificate in the file");
        return false;
    }
    ERR_clear_error(); // the end of the file
    return true;
}

} // namespace

void ContextDeleter::operator()(ssl_ctx_st *context) const
{
    SSL_CTX_free(context);
}

int libraryError(int fallback, const char *prefix, const char *detail)
{
    const unsigned long error = ERR_peek_last_error();
    ERR_clear_error();
    if (error == 0)
        return fallback;
    const char *reason = ERR_reason_error_string(error);
    std::string text;
    if (prefix)
        text = std::string(prefix) + ": ";
    if (reason) {
        text += reason;
    } else {
        char buffer[256];
        ERR_error_string_n(error, buffer, sizeof buffer);
        text += buffer;
    }
    if (detail)
        text += std::string(": ") + detail;
    return lineErrorCode(text);
}

ContextPtr newClientContext(const TlsFiles &files, int *error)
{
    ERR_clear_error();
    ContextPtr context(SSL_CTX_new(TLS_client_method()));
    if (!context) {
        *error = libraryError(ENOMEM);
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    // Only the authorities of the file: the system's store is not consulted.
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
    if (!loadCertificate(context.get(), files.certificate, error)
        || !loadPrivateKey(context.get(), files.privateKey, error)
        || !loadAuthorities(context.get(), files.authorities, error))
        return nullptr;
    return context;
}

} // namespace Tls
} // namespace Modbus
