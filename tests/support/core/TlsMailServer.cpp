// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/TlsMailServer.h"

#include <QFile>

#include "support/core/LoopbackServer.h"

namespace rostrix::test {

namespace {

const QString kPython = "/usr/bin/python3";
const QString kPeers = ROSTRIX_TEST_DATA "/../peers/";

QString name(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

}  // namespace

TlsMailServer::TlsMailServer(const std::string& mode, const ThrowawayCa::Certificate& certificate,
                             const std::string& mechanisms, const std::string& login,
                             const std::string& password) {
    port_ = LoopbackServer::closedPort();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(kPython, {kPeers + "smtp_tls_sink.py", name(folder_.path()),
                             QString::number(port_), QString::fromStdString(mode),
                             name(certificate.certFile), name(certificate.keyFile),
                             QString::fromStdString(mechanisms), QString::fromStdString(login),
                             QString::fromStdString(password)});
}

TlsMailServer::~TlsMailServer() {
    process_.kill();
    process_.waitForFinished(5000);
}

bool TlsMailServer::ready() {
    if (!process_.waitForStarted(10000)) return false;
    QByteArray said;
    for (int i = 0; i < 100 && !said.contains("ready"); ++i) {
        process_.waitForReadyRead(200);
        said += process_.readAllStandardOutput();
        if (process_.state() != QProcess::Running) return false;
    }
    return said.contains("ready");
}

}  // namespace rostrix::test
