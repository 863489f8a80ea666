// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>

namespace rostrix::test {

// A whole ZIP archive of exactly size bytes (100 at least): one stored entry "a" holding
// bytes drawn from seed, so a served archive can be checked byte for byte.
inline std::string storedZip(std::size_t size, unsigned seed = 7) {
    const std::size_t n = size - 100;
    std::string data(n, '\0');
    std::mt19937 random(seed);
    for (char& c : data) c = static_cast<char>(random());
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(n)));
    std::string zip;
    const auto put = [&zip](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) zip.push_back(static_cast<char>(value >> (8 * i)));
    };
    const auto sizesAndName = [&] {
        put(crc, 4), put(static_cast<std::uint32_t>(n), 4), put(static_cast<std::uint32_t>(n), 4);
        put(1, 2), put(0, 2);
    };
    put(0x04034b50, 4), put(20, 2), put(0, 2), put(0, 2), put(0, 2), put(0x21, 2);
    sizesAndName();
    zip += 'a';
    zip += data;
    put(0x02014b50, 4), put(20, 2), put(20, 2), put(0, 2), put(0, 2), put(0, 2), put(0x21, 2);
    sizesAndName();
    put(0, 2), put(0, 2), put(0, 2), put(0, 4), put(0, 4);
    zip += 'a';
    put(0x06054b50, 4), put(0, 2), put(0, 2), put(1, 2), put(1, 2), put(47, 4);
    put(static_cast<std::uint32_t>(31 + n), 4), put(0, 2);
    return zip;
}

}  // namespace rostrix::test
