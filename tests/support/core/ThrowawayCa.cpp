// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/core/ThrowawayCa.h"

#include <arpa/inet.h>

#include <QDateTime>
#include <QProcess>
#include <cstdlib>
#include <fstream>

namespace rostrix::test {

namespace {

const char* const kCaConfig =
    "[ca]\n"
    "default_ca = throwaway\n"
    "[throwaway]\n"
    "database = index.txt\n"
    "new_certs_dir = .\n"
    "serial = serial\n"
    "default_md = sha256\n"
    "policy = anything\n"
    "unique_subject = no\n"
    "[anything]\n"
    "commonName = supplied\n";

bool isIpLiteral(const std::string& name) {
    unsigned char address[16];
    return inet_pton(AF_INET, name.c_str(), address) == 1 ||
           inet_pton(AF_INET6, name.c_str(), address) == 1;
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

const QStringList kNewKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};

}  // namespace

ThrowawayCa::ThrowawayCa(bool trusted) : trusted_(trusted) {
    writeText(file("ca.cnf"), kCaConfig);
    writeText(file("index.txt"), "");
    writeText(file("serial"), "01\n");
    ok_ = openssl(QStringList{"req", "-x509"} + kNewKey +
                  QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "3", "-subj",
                              "/CN=Rostrix Throwaway Test CA"});
    if (!ok_ || !trusted_) return;
    if (const char* old = std::getenv("SSL_CERT_FILE")) savedCertFile_ = old;
    ::setenv("SSL_CERT_FILE", caFile().c_str(), 1);
}

ThrowawayCa::~ThrowawayCa() {
    if (!ok_ || !trusted_) return;
    if (savedCertFile_)
        ::setenv("SSL_CERT_FILE", savedCertFile_->c_str(), 1);
    else
        ::unsetenv("SSL_CERT_FILE");
}

std::string ThrowawayCa::caFile() const {
    return file("ca.pem");
}

std::string ThrowawayCa::file(const std::string& name) const {
    return dir_.path().toStdString() + "/" + name;
}

bool ThrowawayCa::openssl(const QStringList& arguments) const {
    QProcess process;
    process.setWorkingDirectory(dir_.path());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start("openssl", arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

ThrowawayCa::Certificate ThrowawayCa::issue(const std::vector<std::string>& names, bool expired) {
    const std::string stem = "server" + std::to_string(++issued_);
    std::string alternatives;
    for (const std::string& name : names) {
        if (!alternatives.empty()) alternatives += ',';
        alternatives += isIpLiteral(name) ? "IP:" : "DNS:";
        alternatives += name;
    }
    writeText(file(stem + ".ext"), "subjectAltName = " + alternatives +
                                       "\nbasicConstraints = CA:FALSE\n"
                                       "extendedKeyUsage = serverAuth\n");
    const QString s = QString::fromStdString(stem);
    const QString commonName = QString::fromStdString(names.empty() ? "nobody" : names.front());
    QStringList dates = {"-startdate", "20200101000000Z", "-enddate", "20200201000000Z"};
    if (!expired) {
        // From yesterday, so a clock a little behind the CA's still accepts it.
        const QString yesterday =
            QDateTime::currentDateTimeUtc().addDays(-1).toString("yyyyMMddHHmmss") + "Z";
        dates = {"-startdate", yesterday, "-days", "3"};
    }
    const bool made = openssl(QStringList{"req"} + kNewKey +
                              QStringList{"-keyout", s + ".key", "-out", s + ".csr", "-subj",
                                          "/CN=" + commonName}) &&
                      openssl(QStringList{"ca", "-batch", "-config", "ca.cnf", "-cert", "ca.pem",
                                          "-keyfile", "ca.key", "-in", s + ".csr", "-out",
                                          s + ".pem", "-extfile", s + ".ext", "-notext"} +
                              dates);
    if (!made) return {};
    return {file(stem + ".pem"), file(stem + ".key")};
}

}  // namespace rostrix::test
