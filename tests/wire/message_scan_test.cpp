#include "wire/message_scan.h"

#include <gtest/gtest.h>

using wire::MessageScan;
using wire::scanMessage;

TEST(MessageScan, IdsAsSentInMessagesAndBatches) {
    MessageScan one = scanMessage(R"({"jsonrpc":"2.0","id": 18446744073709551616 ,"method":"M","params":[{"id":3}]})", 256, 10);
    EXPECT_FALSE(one.batch);
    ASSERT_EQ(one.ids.size(), 1u);
    EXPECT_EQ(one.ids[0], "18446744073709551616");  // a nested "id" is no message's id
    EXPECT_EQ(scanMessage(R"({"id":1,"id":2.50})", 256, 10).ids[0], "2.50");  // the last one, as the parser keeps

    MessageScan batch = scanMessage(R"([{"id":1.0,"method":"a,b}"},{"method":"x"}, {"params":{"id":9},"id":"q\"}"} , 7])",
                                    256, 10);
    EXPECT_TRUE(batch.batch);
    EXPECT_EQ(batch.batchSize, 4u);
    ASSERT_EQ(batch.ids.size(), 4u);
    EXPECT_EQ(batch.ids[0], "1.0");
    EXPECT_EQ(batch.ids[1], "");
    EXPECT_EQ(batch.ids[2], R"("q\"}")");
    EXPECT_EQ(batch.ids[3], "");

    EXPECT_EQ(scanMessage("[ ]", 256, 10).batchSize, 0u);
    const MessageScan many = scanMessage(R"([{"id":1},{"id":2},{"id":3}])", 256, 2);
    EXPECT_EQ(many.batchSize, 3u);  // counted in full, ids kept for the first two only
    EXPECT_EQ(many.ids.size(), 2u);
}

TEST(MessageScan, NulBytesAndDeepNesting) {
    EXPECT_EQ(scanMessage(std::string("{\"a\":\"x\0y\"}", 11), 256, 1).verdict, MessageScan::Verdict::NulByte);
    EXPECT_EQ(scanMessage(std::string("{}\0", 3), 256, 1).verdict, MessageScan::Verdict::NulByte);
    EXPECT_EQ(scanMessage(std::string(256, '[') + std::string(256, ']'), 256, 1).verdict, MessageScan::Verdict::Ok);
    EXPECT_EQ(scanMessage(std::string(257, '['), 256, 1).verdict, MessageScan::Verdict::TooDeep);
    EXPECT_EQ(scanMessage(R"(["[[[[", "\"[["])", 3, 1).verdict, MessageScan::Verdict::Ok);  // brackets in strings
}
