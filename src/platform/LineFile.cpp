#include "platform/LineFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace rostrix {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string joinLinesCrlf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> readFileBytes(const std::string& path) {
    QFile f(QFile::decodeName(path.c_str()));
    if (QFileInfo(f).isDir() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    // Straight into the string: a large archive is not copied twice.
    std::string bytes;
    if (!f.isSequential() && f.size() > 0) {
        bytes.resize(static_cast<std::size_t>(f.size()));
        const qint64 got = f.read(bytes.data(), f.size());
        if (got < 0) return std::nullopt;
        bytes.resize(static_cast<std::size_t>(got));
    }
    // What a pipe, or a file that grew meanwhile, still holds.
    const QByteArray rest = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    bytes.append(rest.constData(), static_cast<std::size_t>(rest.size()));
    return bytes;
}

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    auto bytes = readFileBytes(path);
    if (!bytes) return std::nullopt;
    return splitLines(*bytes);
}

bool writeFileAtomic(const std::string& path, std::string_view bytes) {
    const QString name = QFile::decodeName(path.c_str());
    const QFileInfo info(name);
    if (info.exists()) {
        if (info.isDir()) return false;
        // A read-only file is not ours to replace, even though a rename over it would
        // work (and root passes every permission check, so look at the bits too).
        const auto writeBits =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isWritable() || !(info.permissions() & writeBits)) return false;
        // A device or pipe cannot be replaced by a rename: write to it directly.
        if (!info.isFile()) {
            QFile direct(name);
            if (!direct.open(QIODevice::WriteOnly)) return false;
            const bool ok = direct.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                            static_cast<qint64>(bytes.size());
            return direct.flush() && ok && direct.error() == QFileDevice::NoError;
        }
    }
    QSaveFile f(name);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    return writeFileAtomic(path, joinLinesCrlf(lines));
}

}  // namespace rostrix
