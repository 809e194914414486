#include "platform/locale.h"

#include <gtest/gtest.h>

using namespace hxq::platform;

TEST(Locale, OverrideWinsAndScopesNest) {
    const std::string user = decimal_separator();
    {
        ScopedDecimalSeparator comma(",");
        EXPECT_EQ(decimal_separator(), ",");
        EXPECT_EQ(locale_info_text(kLocaleDecimalSeparator), ",");
        {
            ScopedDecimalSeparator point(".");
            EXPECT_EQ(decimal_separator(), ".");
        }
        EXPECT_EQ(decimal_separator(), ",");
    }
    EXPECT_EQ(decimal_separator(), user);
    set_decimal_separator_override(";");
    EXPECT_EQ(decimal_separator(), ";");
    set_decimal_separator_override(std::nullopt);
    EXPECT_EQ(decimal_separator(), user);
}

TEST(Locale, UnknownItemsAreEmpty) {
    EXPECT_FALSE(locale_info_text(kLocaleDecimalSeparator).empty());
    EXPECT_EQ(locale_info_text(9999), "");
}
