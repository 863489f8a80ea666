// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <filesystem>
#include <string>

#include "support/core/TempFolder.h"

namespace rostrix::test {

// A stand-in "perl" (a shell script) first on PATH for its lifetime.
class StubPerl {
public:
    explicit StubPerl(const std::string& script) {
        bin_.write("perl", "#!/bin/sh\n" + script);
        std::filesystem::permissions(bin_.file("perl"), std::filesystem::perms::owner_all);
        savedPath_ = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin_.path()) + ":" + savedPath_);
    }
    ~StubPerl() { qputenv("PATH", savedPath_); }
    StubPerl(const StubPerl&) = delete;
    StubPerl& operator=(const StubPerl&) = delete;

private:
    TempFolder bin_;
    QByteArray savedPath_;
};

}  // namespace rostrix::test
