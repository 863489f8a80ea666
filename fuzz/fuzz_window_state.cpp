// SPDX-License-Identifier: GPL-3.0-or-later
// The window state file read back over arbitrary bytes, as the file and as a value alone.
// Checks that
// - a place is given back only when it lies wholly on one of the desktop's screens,
// - a place given back, written and read again on its screen, is the same place,
// - nothing leaves the reader but a place or nothing.
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/ProfileFile.h"
#include "platform/WindowState.h"

using namespace rostrix;
using namespace rostrix::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<QRect> screens{{0, 0, 1400, 870}, {1400, 0, 1280, 1024}};
    try {
        const std::string path = scratchFolder() + "/windows.ini";
        writeBytes(path, bytes);
        for (const std::string& text : {bytes, ProfileFile(path).read("Editor", "Place", "")}) {
            const auto place = savedPlace(text, screens);
            if (!place) continue;
            const QRect* on = nullptr;
            for (const QRect& screen : screens)
                if (screen.contains(place->client)) on = &screen;
            FUZZ_CHECK(on && !place->client.isEmpty(), "a place off the screens: " + shown(text));
            FUZZ_CHECK(savedPlace(placeText(*place, *on), screens) == place,
                       "written and read again: " + shown(text));
        }
    } catch (const std::exception& e) {
        fail(__FILE__, __LINE__, "an exception", e.what());
    }
    return 0;
}
