// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "net/WinsockErrors.h"

namespace rostrix {
namespace {

TEST(WinsockErrors, TableHasItsRowsInOrder) {
    const int codes[] = {
        10004, 10009, 10013, 10014, 10022, 10024, 10035, 10036, 10037, 10038, 10039, 10040, 10041,
        10042, 10043, 10044, 10045, 10046, 10047, 10048, 10049, 10050, 10051, 10052, 10053, 10054,
        10055, 10056, 10057, 10058, 10059, 10060, 10061, 10062, 10063, 10064, 10065, 10066, 10067,
        10068, 10069, 10070, 10071, 10091, 10092, 10093, 11001, 11002, 11003, 11004, 0};
    const auto table = winsockErrors();
    ASSERT_EQ(table.size(), std::size(codes));
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].code, codes[i]) << i;
    std::set<std::string> texts;
    for (const auto& row : table) texts.insert(row.text);
    EXPECT_EQ(texts.size(), table.size()) << "every row has its own text";
}

TEST(WinsockErrors, MessagesReadNumberColonText) {
    const std::pair<int, const char*> cases[] = {
        {10054, "10054:Connection reset by peer"},
        {10061, "10061:Connection refused"},
        {10060, "10060:Connection timed out"},
        {11001, "11001:Host not found"},
        {10047, "10047:Address family not supported by protocol family"},
        {11003, "11003:Non-Recoverable error: FORMERR, REFUSED, NOTIMP"},
        {0, "0:Unrecognized error code"},
        {10090, "10090:Unknown Error No. 10090"},
        {-3, "-3:Unknown Error No. -3"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(socketErrorMessage(code), text) << code;
}

TEST(WinsockErrors, ErrnoValuesMapToWinsockNumbers) {
    const std::pair<int, int> cases[] = {
        {ECONNRESET, 10054},  {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},    {EPIPE, 10058},
        {EAGAIN, 10035},      {EINPROGRESS, 10036},  {ENOTCONN, 10057},     {EHOSTUNREACH, 10065},
        {ENETUNREACH, 10051}, {EADDRINUSE, 10048},   {ECONNABORTED, 10053}, {EINTR, 10004},
    };
    for (const auto& [err, code] : cases) EXPECT_EQ(winsockFromErrno(err), code) << err;
    // Values with no WinSock counterpart pass through and read as unknown.
    EXPECT_EQ(winsockFromErrno(ENOENT), ENOENT);
}

}  // namespace
}  // namespace rostrix
