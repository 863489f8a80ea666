// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/TlsSession.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "net/WinsockErrors.h"
#include "platform/Error.h"

namespace rostrix {

struct TlsSession::Impl {
    int fd = -1;
    int lastErrno = 0;   // what the last failed socket call said
    bool ended = false;  // the peer has closed its side
    std::string host;
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
};

namespace {

// The socket under the session. OpenSSL's own socket layer writes with write(), which
// raises SIGPIPE when the peer has gone; ours sends with MSG_NOSIGNAL like the plain path.
int socketWrite(BIO* bio, const char* data, int size) {
    auto* impl = static_cast<TlsSession::Impl*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    const ssize_t n = ::send(impl->fd, data, static_cast<std::size_t>(size), MSG_NOSIGNAL);
    if (n >= 0) return static_cast<int>(n);
    impl->lastErrno = errno;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) BIO_set_retry_write(bio);
    return -1;
}

int socketRead(BIO* bio, char* data, int size) {
    auto* impl = static_cast<TlsSession::Impl*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    const ssize_t n = ::recv(impl->fd, data, static_cast<std::size_t>(size), 0);
    if (n == 0) impl->ended = true;
    if (n >= 0) return static_cast<int>(n);
    impl->lastErrno = errno;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) BIO_set_retry_read(bio);
    return -1;
}

long socketControl(BIO* bio, int command, long, void*) {
    if (command == BIO_CTRL_FLUSH) return 1;
    // Lets OpenSSL tell a stream that ended without the closing alert from one still open.
    if (command == BIO_CTRL_EOF) return static_cast<TlsSession::Impl*>(BIO_get_data(bio))->ended;
    return 0;
}

int socketCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

BIO_METHOD* socketMethod() {
    static BIO_METHOD* const method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "socket");
        BIO_meth_set_write(m, socketWrite);
        BIO_meth_set_read(m, socketRead);
        BIO_meth_set_ctrl(m, socketControl);
        BIO_meth_set_create(m, socketCreate);
        return m;
    }();
    return method;
}

bool isIpLiteral(const std::string& host) {
    unsigned char address[16];
    return inet_pton(AF_INET, host.c_str(), address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// A name taken from a certificate, fit to show: printable ASCII, not too long.
std::string shownName(const unsigned char* data, int length) {
    std::string name;
    for (int i = 0; i < length && name.size() < 80; ++i)
        name.push_back(data[i] >= 0x20 && data[i] < 0x7F ? static_cast<char>(data[i]) : '?');
    return name;
}

// The names a certificate is for: its DNS and IP entries, or its common name when it has none.
std::vector<std::string> certificateNames(X509* cert) {
    std::vector<std::string> names;
    auto* entries =
        static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(cert, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; entries && i < sk_GENERAL_NAME_num(entries); ++i) {
        const GENERAL_NAME* entry = sk_GENERAL_NAME_value(entries, i);
        if (entry->type == GEN_DNS) {
            names.push_back(shownName(ASN1_STRING_get0_data(entry->d.dNSName),
                                      ASN1_STRING_length(entry->d.dNSName)));
        } else if (entry->type == GEN_IPADD) {
            const int length = ASN1_STRING_length(entry->d.iPAddress);
            char text[INET6_ADDRSTRLEN] = {};
            if ((length == 4 || length == 16) &&
                inet_ntop(length == 4 ? AF_INET : AF_INET6,
                          ASN1_STRING_get0_data(entry->d.iPAddress), text, sizeof text))
                names.emplace_back(text);
        }
    }
    GENERAL_NAMES_free(entries);
    if (!names.empty()) return names;
    const X509_NAME* subject = X509_get_subject_name(cert);
    const int at = X509_NAME_get_index_by_NID(subject, NID_commonName, -1);
    if (at >= 0) {
        const ASN1_STRING* cn = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(subject, at));
        names.push_back(shownName(ASN1_STRING_get0_data(cn), ASN1_STRING_length(cn)));
    }
    return names;
}

std::string joinedNames(const std::vector<std::string>& names) {
    if (names.empty()) return "another host";
    std::string text;
    const std::size_t shown = std::min<std::size_t>(names.size(), 3);
    for (std::size_t i = 0; i < shown; ++i) text += (i ? ", " : "") + names[i];
    if (names.size() > shown) text += " and others";
    return text;
}

std::string certificateFailure(SSL* ssl, const std::string& host, long result) {
    const std::string prefix = "The certificate of " + host;
    switch (result) {
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return prefix + " has expired";
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return prefix + " is not valid yet";
        case X509_V_ERR_CERT_REVOKED:
            return prefix + " has been revoked";
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH: {
            STACK_OF(X509)* chain = SSL_get_peer_cert_chain(ssl);
            X509* leaf = chain && sk_X509_num(chain) > 0 ? sk_X509_value(chain, 0) : nullptr;
            return prefix + " is for " +
                   joinedNames(leaf ? certificateNames(leaf) : std::vector<std::string>{});
        }
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
            return prefix + " is not signed by an authority this computer trusts";
        default:
            return prefix + " could not be verified: " + X509_verify_cert_error_string(result);
    }
}

std::string protocolFailure(const std::string& host, unsigned long code) {
    const std::string prefix = "The secure connection to " + host + " failed: ";
    switch (ERR_GET_REASON(code)) {
        case SSL_R_UNSUPPORTED_PROTOCOL:
        case SSL_R_TLSV1_ALERT_PROTOCOL_VERSION:
        case SSL_R_NO_PROTOCOLS_AVAILABLE:
            return prefix + "the server offers only TLS versions older than 1.2";
        case SSL_R_WRONG_VERSION_NUMBER:
        case SSL_R_PACKET_LENGTH_TOO_LONG:
            return prefix + "the server does not answer in TLS";
        default:
            break;
    }
    const char* reason = ERR_reason_error_string(code);
    return prefix + (reason ? reason : "unknown reason");
}

}  // namespace

TlsSession::TlsSession(int fd, const std::string& hostName) : impl_(std::make_unique<Impl>()) {
    impl_->fd = fd;
    impl_->host = hostName;
    ERR_clear_error();
    impl_->context = SSL_CTX_new(TLS_client_method());
    if (!impl_->context) throw Error("The secure connection could not be set up");
    SSL_CTX_set_min_proto_version(impl_->context, TLS1_2_VERSION);
    SSL_CTX_set_verify(impl_->context, SSL_VERIFY_PEER, nullptr);
    // The system's trust store; SSL_CERT_FILE and SSL_CERT_DIR are read here.
    SSL_CTX_set_default_verify_paths(impl_->context);
    SSL_CTX_set_mode(impl_->context,
                     SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);

    impl_->ssl = SSL_new(impl_->context);
    BIO* bio = impl_->ssl ? BIO_new(socketMethod()) : nullptr;
    if (!bio) {
        SSL_free(impl_->ssl);
        SSL_CTX_free(impl_->context);
        throw Error("The secure connection could not be set up");
    }
    BIO_set_data(bio, impl_.get());
    SSL_set_bio(impl_->ssl, bio, bio);
    // Without the name to check the certificate against, no connection is made at all.
    bool named = false;
    if (isIpLiteral(hostName)) {
        named = X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(impl_->ssl), hostName.c_str()) == 1;
    } else {
        SSL_set_hostflags(impl_->ssl, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        named = SSL_set_tlsext_host_name(impl_->ssl, hostName.c_str()) == 1 &&
                SSL_set1_host(impl_->ssl, hostName.c_str()) == 1;
    }
    ERR_clear_error();
    if (!named) {
        SSL_free(impl_->ssl);
        SSL_CTX_free(impl_->context);
        throw Error("The secure connection to " + hostName +
                    " could not be set up: the name cannot be checked against a certificate");
    }
    SSL_set_connect_state(impl_->ssl);
}

TlsSession::~TlsSession() {
    SSL_free(impl_->ssl);
    SSL_CTX_free(impl_->context);
}

namespace {

// What a failed OpenSSL call means; throws for real failures.
TlsSession::Step failedStep(SSL* ssl, int result, const TlsSession::Impl& impl, bool handshake) {
    using Step = TlsSession::Step;
    const int kind = SSL_get_error(ssl, result);
    if (kind == SSL_ERROR_WANT_READ) return Step::WantRead;
    if (kind == SSL_ERROR_WANT_WRITE) return Step::WantWrite;
    const unsigned long code = ERR_peek_last_error();
    ERR_clear_error();
    Step end = Step::CutEnd;
    if (kind == SSL_ERROR_ZERO_RETURN) {
        end = Step::CleanEnd;
    } else if (kind == SSL_ERROR_SYSCALL) {
        // A reset or a lost connection is the same socket error a plain read reports.
        if (impl.lastErrno != 0 && winsockFromErrno(impl.lastErrno) != kNotConnected)
            throw Error(socketErrorMessage(winsockFromErrno(impl.lastErrno)));
    } else if (kind != SSL_ERROR_SSL ||
               ERR_GET_REASON(code) != SSL_R_UNEXPECTED_EOF_WHILE_READING) {
        if (handshake && SSL_get_verify_result(ssl) != X509_V_OK)
            throw Error(certificateFailure(ssl, impl.host, SSL_get_verify_result(ssl)));
        throw Error(protocolFailure(impl.host, code));
    }
    if (handshake)
        throw Error("The secure connection to " + impl.host +
                    " failed: the server closed the connection");
    return end;
}

int clamp(std::size_t size) {
    return static_cast<int>(std::min<std::size_t>(size, INT_MAX));
}

}  // namespace

TlsSession::Step TlsSession::handshake() {
    impl_->lastErrno = 0;
    ERR_clear_error();  // an entry left by anyone else would read as this call's failure
    const int r = SSL_do_handshake(impl_->ssl);
    return r == 1 ? Step::Done : failedStep(impl_->ssl, r, *impl_, true);
}

TlsSession::Step TlsSession::read(char* data, std::size_t size, std::size_t& got) {
    impl_->lastErrno = 0;
    got = 0;
    ERR_clear_error();
    const int r = SSL_read(impl_->ssl, data, clamp(size));
    if (r > 0) {
        got = static_cast<std::size_t>(r);
        return Step::Done;
    }
    return failedStep(impl_->ssl, r, *impl_, false);
}

TlsSession::Step TlsSession::write(const char* data, std::size_t size, std::size_t& put) {
    impl_->lastErrno = 0;
    put = 0;
    ERR_clear_error();
    const int r = SSL_write(impl_->ssl, data, clamp(size));
    if (r > 0) {
        put = static_cast<std::size_t>(r);
        return Step::Done;
    }
    return failedStep(impl_->ssl, r, *impl_, false);
}

void TlsSession::sayGoodbye() {
    ERR_clear_error();
    if (SSL_is_init_finished(impl_->ssl)) SSL_shutdown(impl_->ssl);
    ERR_clear_error();
}

}  // namespace rostrix
