#include "app/IniFile.h"

#include <gtest/gtest.h>

TEST(IniFile_Parse, IntegerStopsAtFirstNonDigit)
{
    EXPECT_EQ(CIniFile::ParseInt(QStringLiteral("12abc")), 12);
    EXPECT_EQ(CIniFile::ParseInt(QStringLiteral("-5")), -5);
    EXPECT_EQ(CIniFile::ParseInt(QStringLiteral("abc")), 0);
}
