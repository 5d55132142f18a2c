#include "base/calendar.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace kavlo {
namespace {

TEST(Calendar, EncodeDecodeRoundTrip) {
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61);
    for (int serial : {-693593, -1, 0, 1, 36526, 39844, 2958465}) {
        const CivilDate c = DecodeDate(serial);
        EXPECT_EQ(EncodeDate(static_cast<int>(c.year), c.month, c.day), serial);
    }
    EXPECT_EQ(DecodeDate(36526).dayOfWeek, 6);  // 1 January 2000 was a Saturday
    EXPECT_THROW(EncodeDate(2009, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2008, 2, 29));
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    // Far out of range serials decode to something instead of overflowing.
    EXPECT_NO_THROW(DecodeDate(1e300));
    EXPECT_NO_THROW(DecodeDate(-1e300));
}

TEST(Calendar, TimeRoundsToMilliseconds) {
    const ClockTime t = DecodeTime(EncodeTime(13, 45, 59, 999));
    EXPECT_EQ(t.hour, 13);
    EXPECT_EQ(t.minute, 45);
    EXPECT_EQ(t.second, 59);
    EXPECT_EQ(t.millisecond, 999);
    EXPECT_EQ(DecodeTime(0.99999999999).hour, 23);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
}

}  // namespace
}  // namespace kavlo
