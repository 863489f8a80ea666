// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/UpdateSite.h"

#include <cctype>

#include "platform/ProfileFile.h"
#include "settings/SettingsKeys.h"

namespace rostrix {

namespace {

bool hostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
}

bool pathCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F && c != '?' && c != '#' && c != '\\';
}

// The scheme the value starts with, "http://" or "https://" in lower case, or "".
std::string_view schemeOf(std::string_view value) {
    for (const std::string_view scheme : {"http://", "https://"}) {
        if (value.size() < scheme.size()) continue;
        std::size_t i = 0;
        while (i < scheme.size() && std::tolower(static_cast<unsigned char>(value[i])) == scheme[i])
            ++i;
        if (i == scheme.size()) return scheme;
    }
    return {};
}

}  // namespace

std::optional<std::string> siteFromSetting(std::string_view value) {
    const std::string_view scheme = schemeOf(value);
    if (scheme.empty()) return std::nullopt;
    std::string_view rest = value.substr(scheme.size());
    const std::size_t slash = rest.find('/');
    const std::string_view authority = rest.substr(0, slash);
    std::string_view folder = slash == std::string_view::npos ? "" : rest.substr(slash);

    const std::size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty()) return std::nullopt;
    for (const char c : host)
        if (!hostCharacter(c)) return std::nullopt;
    if (colon != std::string_view::npos) {
        const std::string_view port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        long number = 0;
        for (const char c : port) {
            if (c < '0' || c > '9') return std::nullopt;
            number = number * 10 + (c - '0');
        }
        if (number < 1 || number > 65535) return std::nullopt;
    }
    if (folder.ends_with('/')) folder.remove_suffix(1);
    if (folder.find("//") != std::string_view::npos || folder.ends_with('/')) return std::nullopt;
    for (const char c : folder)
        if (!pathCharacter(c)) return std::nullopt;
    return std::string(scheme) + std::string(authority) + std::string(folder);
}

std::string configuredSite(const std::string& settingsPath, std::string* complaint) {
    const ProfileFile ini(settingsPath);
    const std::string value = ini.read(settings::kUpdate, settings::kSite, "");
    if (value.empty()) return kSiteBase;
    if (auto site = siteFromSetting(value)) return *site;
    if (complaint)
        *complaint = "The update site \"" + value + "\" in " + settingsPath +
                     " is not an address like http://host[:port]/folder or "
                     "https://host[:port]/folder.\nThe built-in site " +
                     kSiteBase + " is used instead.";
    return kSiteBase;
}

}  // namespace rostrix
