#pragma once

#include <QProcess>
#include <string>

namespace rostrix::test {

// `python3 -m http.server` serving folder on 127.0.0.1 and a free port, for the test's
// lifetime; started in the constructor (it waits until the server accepts connections)
// and stopped in the destructor.
class HttpServerProcess {
public:
    explicit HttpServerProcess(const std::string& folder);
    ~HttpServerProcess();
    HttpServerProcess(const HttpServerProcess&) = delete;
    HttpServerProcess& operator=(const HttpServerProcess&) = delete;

    bool running() const { return accepting_; }
    int port() const { return port_; }
    // http://127.0.0.1:<port> followed by path.
    std::string url(const std::string& path = {}) const;

private:
    QProcess process_;
    int port_ = 0;
    bool accepting_ = false;
};

}  // namespace rostrix::test
