#include "platform/locale.h"

#include <gtest/gtest.h>

using namespace hxq::platform;

TEST(Locale, OverrideWinsAndScopesNest) {
    const std::string user = decimal_separator();
    EXPECT_FALSE(user.empty());
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
    EXPECT_EQ(locale_info_text(9999), "") << "an item nobody answers";
}
