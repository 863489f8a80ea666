// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "update/HttpAddress.h"
#include "update/HttpHeader.h"

namespace rostrix {
namespace {

TEST(HttpAddress, SplitsHostPortAndPath) {
    struct Case {
        const char* address;
        int portSetting;
        const char* host;
        int port;
        const char* path;
        bool secure = false;
        const char* hostLine = nullptr;  // checked when given
    };
    const std::string longPath = "/" + std::string(400, 'p');
    const Case cases[] = {
        // A user name is never looked up nor sent; an IPv6 literal keeps its port; a long
        // path stays whole; the Host line names a port that is not the scheme's own.
        {"http://user:pw@h.example/x", 0, "h.example", 80, "/x", false, "h.example"},
        {"http://[::1]:8080/x?y=1", 0, "::1", 8080, "/x?y=1", false, "[::1]:8080"},
        {"https://[::1]/", 0, "::1", 443, "/", true, "[::1]"},
        {"https://h.example:8443", 8080, "h.example", 8443, "/", true, "h.example:8443"},
        {"http://h.example:80/a b", 0, "h.example", 80, "/a%20b", false, "h.example"},
        {"https://h.example/rostrix/kwyx.html", 0, "h.example", 443, "/rostrix/kwyx.html", true},
        {"HTTPS://h.example:8443", 8080, "h.example", 8443, "/", true},
        {"http://www.runqrd.example/rostrix/kwyx.html", 0, "www.runqrd.example", 80,
         "/rostrix/kwyx.html"},
        {"HTTP://h.example", 0, "h.example", 80, "/"},
        {"http://127.0.0.1:8123/files/kwyx.zip", 0, "127.0.0.1", 8123, "/files/kwyx.zip"},
        {"gopher://g.example/x", 0, "g.example", 70, "/x"},
        {"ftp://f.example/pub", 8080, "f.example", 21, "/pub"},
        {"news://n.example/", 0, "n.example", 80, "/"},
        {"h.example/a/b", 0, "h.example", 80, "/a/b"},
        {"h.example/a", 8080, "h.example", 8080, "/a"},
        {"h.example", 0, "h.example", 80, "/"},
        {"localhost:81/x", 0, "localhost", 81, "/x"},
        {"http://h.example:/x", 0, "h.example", 80, "/x"},
        {"/other/page.html", 0, "previous.example", 80, "/other/page.html"},
        {"/p", 8080, "previous.example", 8080, "/p"},
    };
    for (const Case& c : cases) {
        const HttpTarget t = splitAddress(c.address, c.portSetting, "previous.example");
        EXPECT_EQ(t.host, c.host) << c.address;
        EXPECT_EQ(t.port, c.port) << c.address;
        EXPECT_EQ(t.path, c.path) << c.address;
        EXPECT_EQ(t.secure, c.secure) << c.address;
        if (c.hostLine) {
            EXPECT_EQ(hostField(t), c.hostLine) << c.address;
        }
    }
    EXPECT_EQ(splitAddress("http://h.example" + longPath, 0, "").path, longPath);
}

TEST(HttpAddress, RefusesEmptyAndMultiLineAddresses) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "Empty URL"},
        {"https://h.example/a\nb", "Line break in URL"},
        {"http://h.example/a\r\nX-Injected: 1", "Line break in URL"},
        {"http://h.example/a\nb", "Line break in URL"},
        {"http://h.example:70000/", "Invalid port in URL"},
        {"http://h.example:0/", "Invalid port in URL"},
    };
    for (const auto& [address, text] : cases) {
        try {
            splitAddress(address, 0, "");
            ADD_FAILURE() << "accepted " << address;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), text) << address;
        }
    }
}

TEST(HttpAddress, LocationsResolveAgainstTheCurrentTarget) {
    const HttpTarget current{"127.0.0.1", 8123, "/site/dir/page.html?a=/b"};
    const std::pair<const char*, const char*> cases[] = {
        {"http://other.example/x", "http://other.example/x"},
        {"//other.example/y", "http://other.example/y"},
        {"/moved/here", "http://127.0.0.1:8123/moved/here"},
        {"next.html", "http://127.0.0.1:8123/site/dir/next.html"},
    };
    for (const auto& [location, expected] : cases)
        EXPECT_EQ(resolveLocation(location, current), expected) << location;

    // A relative Location stays on the secure site; an absolute one says for itself.
    const HttpTarget secure{"h.example", 8443, "/site/page.html", true};
    const std::pair<const char*, const char*> secureCases[] = {
        {"/moved", "https://h.example:8443/moved"},
        {"next.html", "https://h.example:8443/site/next.html"},
        {"//other.example/y", "https://other.example/y"},
        {"http://other.example/x", "http://other.example/x"},
    };
    for (const auto& [location, expected] : secureCases)
        EXPECT_EQ(resolveLocation(location, secure), expected) << location;
}

TEST(HttpHeader, StatusIsTheSecondWordWhenItIsANumber) {
    const std::pair<const char*, int> cases[] = {
        {"HTTP/1.0 200 OK\r\n", 200}, {"HTTP/1.1 404 Not Found\n", 404},
        {"HTTP/1.0 302\r\n", 302},    {"HTTP/1.0 OK 200\r\n", 0},
        {"HTTP/1.0\r\n", 0},          {"HTTP/1.0  200 OK\r\n", 0},
        {"HTTP/1.0 20x OK\r\n", 0},   {"", 0},
    };
    for (const auto& [line, status] : cases) EXPECT_EQ(replyStatus(line), status) << line;
}

TEST(HttpHeader, ContentLengthNeedsABlankAfterTheColon) {
    const std::pair<const char*, long long> cases[] = {
        {"Content-Length: 2048\r\n", 2048},
        {"content-length: 17\r\n", 17},
        {"CONTENT-LENGTH: 12abc\r\n", 12},
        {"Content-Length: x\r\n", 0},
        {"Content-Length:123\r\n", 0},
        {"Content-Length-X: 5\r\n", 0},
        {"Content-Length: 99999999999999999999999\r\n", 1LL << 53},
    };
    for (const auto& [line, length] : cases) EXPECT_EQ(contentLength(line), length) << line;
    EXPECT_EQ(headerValue("Location:  /new/place \r\n"), "/new/place");
}

}  // namespace
}  // namespace rostrix
