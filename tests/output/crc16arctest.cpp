#include "output/crc16arc.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace {

TEST(Crc16Arc, KnownAnswers)
{
    const auto crcOf = [](const QByteArray &bytes) {
        Crc16Arc crc;
        for (char c : bytes)
            crc.add(quint8(c));
        return crc.value();
    };
    EXPECT_EQ(crcOf(QByteArray()), 0x0000);
    EXPECT_EQ(crcOf("123456789"), 0xBB3D);
    EXPECT_EQ(crcOf(QByteArray(1, '\0')), 0x0000) << "initial value 0, no final XOR";
    EXPECT_EQ(crcOf(QByteArray(1, '\x01')), 0xC0C1);
}

} // namespace
