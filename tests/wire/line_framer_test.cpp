#include "wire/line_framer.h"

#include <gtest/gtest.h>

using wire::LineFramer;
using Status = LineFramer::Status;

namespace {
std::string drain(LineFramer& f) {
    std::string out, line;
    Status s;
    while ((s = f.next(line)) == Status::Line) out += "[" + line + "]";
    return out + (s == Status::TooLong ? "!" : "");
}
}  // namespace

TEST(LineFramer, SplitsLinesArrivingInPieces) {
    LineFramer f;
    f.feed("ab");
    EXPECT_EQ(drain(f), "");
    f.feed("c\nde\n\nf");
    EXPECT_EQ(drain(f), "[abc][de][]");
    f.feed("g\r\n");
    EXPECT_EQ(drain(f), "[fg\r]");
}

TEST(LineFramer, ManyLinesByteByByte) {
    LineFramer f;
    std::string all;
    for (int i = 0; i < 500; ++i) {
        for (char c : std::to_string(i) + "\n") {
            f.feed(std::string_view(&c, 1));
            all += drain(f);
        }
    }
    std::string want;
    for (int i = 0; i < 500; ++i) want += "[" + std::to_string(i) + "]";
    EXPECT_EQ(all, want);
}

TEST(LineFramer, OverlongMessageBreaksTheStream) {
    LineFramer f(4);
    f.feed("abcd\n");
    EXPECT_EQ(drain(f), "[abcd]");
    f.feed("abcde");
    EXPECT_EQ(drain(f), "!");
    f.feed("\nok\n");
    EXPECT_EQ(drain(f), "!");  // nothing after an overlong message is trusted

    LineFramer g(4);
    g.feed("toolong\nok\n");  // the limit applies even when the "\n" arrived with it
    EXPECT_EQ(drain(g), "!");
}
