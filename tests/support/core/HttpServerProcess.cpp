// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/HttpServerProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <chrono>
#include <thread>

#include "support/core/LoopbackServer.h"

namespace rostrix::test {

namespace {

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

// python3 -c SCRIPT folder port [certificate key]
const char* const kServerScript = R"(
import functools, http.server, os, ssl, sys

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        path = self.translate_path(self.path)
        if os.path.isfile(path + '.location'):
            with open(path + '.location') as f:
                target = f.read().strip()
            self.send_response(302)
            self.send_header('Location', target)
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        cut, chunked = os.path.isfile(path + '.cut'), os.path.isfile(path + '.chunked')
        if not (cut or chunked) or not os.path.isfile(path):
            return super().do_GET()
        with open(path, 'rb') as f:
            data = f.read()
        self.send_response(200)
        if cut:
            self.send_header('Content-Length', str(len(data)))
            self.end_headers()
            self.wfile.write(data[:len(data) // 2])
            return
        self.send_header('Transfer-Encoding', 'chunked')
        self.end_headers()
        for at in range(0, len(data), 50000):
            part = data[at:at + 50000]
            self.wfile.write(b'%x\r\n' % len(part) + part + b'\r\n')
        self.wfile.write(b'0\r\n\r\n')

    def log_message(self, *args):
        pass

folder, port = sys.argv[1], int(sys.argv[2])
server = http.server.ThreadingHTTPServer(('127.0.0.1', port),
                                         functools.partial(Handler, directory=folder))
if len(sys.argv) > 4:
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(sys.argv[3], sys.argv[4])
    server.socket = context.wrap_socket(server.socket, server_side=True)
server.serve_forever()
)";

}  // namespace

HttpServerProcess::HttpServerProcess(const std::string& folder,
                                     const ThrowawayCa::Certificate& certificate)
    : secure_(!certificate.certFile.empty()) {
    port_ = LoopbackServer::closedPort();
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.setStandardOutputFile(QProcess::nullDevice());
    QStringList arguments = {"-c", kServerScript, QFile::decodeName(folder.c_str()),
                             QString::number(port_)};
    if (secure_)
        arguments << QString::fromStdString(certificate.certFile)
                  << QString::fromStdString(certificate.keyFile);
    process_.start("python3", arguments);
    if (!process_.waitForStarted(10000)) return;
    for (int i = 0; i < 500 && !accepting_; ++i) {
        accepting_ = accepts(port_);
        if (!accepting_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

HttpServerProcess::~HttpServerProcess() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

std::string HttpServerProcess::url(const std::string& path) const {
    return (secure_ ? "https://localhost:" : "http://127.0.0.1:") + std::to_string(port_) + path;
}

}  // namespace rostrix::test
