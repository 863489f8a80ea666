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

}  // namespace

HttpServerProcess::HttpServerProcess(const std::string& folder) {
    port_ = LoopbackServer::closedPort();
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.start("python3", {"-m", "http.server", "--bind", "127.0.0.1", "--directory",
                               QFile::decodeName(folder.c_str()), QString::number(port_)});
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
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

}  // namespace rostrix::test
