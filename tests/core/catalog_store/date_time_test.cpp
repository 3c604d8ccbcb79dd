#include "catalog_store/date_time.h"

#include <gtest/gtest.h>

namespace sonarchive::catalog {
namespace {

TEST(DateTime, CountsDaysFrom1899AndReadsIsoTexts) {
    EXPECT_DOUBLE_EQ(DateTimeFromCivil({1899, 12, 30}), 0);
    EXPECT_DOUBLE_EQ(DateTimeFromCivil({1900, 1, 1}), 2);
    EXPECT_DOUBLE_EQ(DateTimeFromCivil({2004, 5, 31, 12, 0, 0}), 38138.5);
    EXPECT_EQ(DateText(38138.5), "2004-05-31");
    EXPECT_EQ(TimeText(38138.5), "12:00:00");
    EXPECT_EQ(DateTimeText(DateTimeFromCivil({2024, 2, 29, 23, 59, 59})), "2024-02-29 23:59:59");
    EXPECT_EQ(DateText(0), "1899-12-30");

    EXPECT_DOUBLE_EQ(ParseDateTimeText("2004-05-31"), 38138);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2004-05-31 12:00:00"), 38138.5);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2004-05-31T12:00:00"), 38138.5);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("06:00:00"), 0.25);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2004-05-31 garbage"), 38138);
    EXPECT_DOUBLE_EQ(ParseDateTimeText(""), 0);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("31.05.2004"), 0);
    EXPECT_DOUBLE_EQ(ParseDateTimeText("2004-13-01"), 0);
}

TEST(DateTime, RoundTripsToTheSecondAcrossCenturies) {
    for (const CivilDateTime c : {CivilDateTime{1601, 1, 1, 0, 0, 1}, CivilDateTime{1970, 1, 1},
                                  CivilDateTime{2038, 1, 19, 3, 14, 7},
                                  CivilDateTime{2099, 12, 31, 23, 59, 59}}) {
        const CivilDateTime back = CivilFromDateTime(DateTimeFromCivil(c));
        EXPECT_EQ(back.year, c.year);
        EXPECT_EQ(back.month, c.month);
        EXPECT_EQ(back.day, c.day);
        EXPECT_EQ(back.hour, c.hour);
        EXPECT_EQ(back.minute, c.minute);
        EXPECT_EQ(back.second, c.second);
    }
}

}  // namespace
}  // namespace sonarchive::catalog
