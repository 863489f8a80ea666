// SPDX-License-Identifier: GPL-3.0-or-later
// Zip File into a package whose old bytes are anything at all. Checks that
// - either the team file goes in, and the package then reads back with it under its bare
//   name and its exact bytes,
// - or nothing goes in, the component says why, and the old bytes stay exactly as they were;
// - in both cases nothing but the package and the team file is left in the folder.
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "package/ZipArchive.h"
#include "platform/LineFile.h"

using namespace rostrix;
using namespace rostrix::fuzz;

namespace {

const std::string kTeam = "*A       N2001 Thistleville\r\n";

void writePlain(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The bytes of the entry name in the package, or nothing when it cannot be read.
std::optional<std::string> entryBytes(const std::string& package, const char* name) {
    zip_t* za = zip_open(package.c_str(), ZIP_RDONLY, nullptr);
    if (!za) return std::nullopt;
    std::optional<std::string> out;
    if (zip_file_t* f = zip_fopen(za, name, 0)) {
        std::string bytes;
        char buffer[4096];
        zip_int64_t n;
        while ((n = zip_fread(f, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        if (n == 0) out = bytes;
        zip_fclose(f);
    }
    zip_discard(za);
    return out;
}

std::vector<std::string> names(const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = scratchFolder() + "/package";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string package = folder + "/pack.zip";
    const std::string team = folder + "/team.dat";
    const std::string old(reinterpret_cast<const char*>(data), size);
    writePlain(package, old);
    writePlain(team, kTeam);

    ZipArchive zip;
    std::string report;
    zip.OnFailure = [&](const std::string& text) { report = text; };
    zip.LoadZipLib();
    zip.setZipFileName(package);
    zip.FSpecArgs = {team};
    const int added = zip.Add();

    if (added == 0) {
        FUZZ_CHECK(!report.empty(), shown(old));
        FUZZ_CHECK(readFileBytes(package) == old, shown(old));
    } else {
        FUZZ_CHECK(added == 1, shown(old));
        FUZZ_CHECK(entryBytes(package, "team.dat") == kTeam, shown(old));
    }
    FUZZ_CHECK(names(folder) == (std::vector<std::string>{"pack.zip", "team.dat"}), shown(old));
    return 0;
}
