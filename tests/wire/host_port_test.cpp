#include "wire/host_port.h"

#include <gtest/gtest.h>

#include <stdexcept>

using wire::parseHostPort;

TEST(HostPort, NamesAddressesAndIPv6InBrackets) {
    const auto name = parseHostPort("localhost:52300", false);
    EXPECT_EQ(name.host, "localhost");
    EXPECT_EQ(name.port, 52300);
    EXPECT_EQ(parseHostPort("127.0.0.1:0", true).port, 0);
    const auto v6 = parseHostPort("[::1]:80", false);
    EXPECT_EQ(v6.host, "::1");
    EXPECT_EQ(wire::formatHostPort(v6), "[::1]:80");
    EXPECT_EQ(wire::formatHostPort(name), "localhost:52300");

    for (const char* bad : {"127.0.0.1:0", "::1:80", "host", ":80", "[::1]80", "[::1", "[]:80", "h:", "h:65536", "h:-1",
                            "h:8a", "h: 80"})
        EXPECT_THROW(parseHostPort(bad, false), std::invalid_argument) << bad;
}
