#include "platform/event.h"
#include "platform/scratch.h"
#include "platform/variant.h"

#include <gtest/gtest.h>

namespace hxq::platform {
namespace {

using test::error_number;

TEST(Variant, NullAndEmptyCountAsZeroButStayDistinguishable) {
    Variant null = Variant::null();
    Variant empty;
    EXPECT_TRUE(null.is_null());
    EXPECT_FALSE(empty.is_null());
    EXPECT_TRUE(empty.is_empty());
    EXPECT_EQ(null.as_double(), 0.0);
    EXPECT_EQ(empty.as_integer(), 0);
    EXPECT_EQ(null.as_text(), "");
    EXPECT_FALSE(null.to_number().has_value());
}

TEST(Variant, NumbersFromTextsBooleansAndRounding) {
    EXPECT_DOUBLE_EQ(Variant("16.3").as_double(), 16.3);
    EXPECT_EQ(Variant(" 42 ").as_integer(), 42);
    EXPECT_EQ(Variant("True").as_integer(), -1);
    // Booleans follow the -1 convention.
    EXPECT_EQ(Variant(true).as_integer(), -1);
    EXPECT_TRUE(Variant(-1).as_bool());
    EXPECT_FALSE(Variant(0).as_bool());
    EXPECT_EQ(Variant(true).as_text(), "True");
    // Integer conversion rounds half to even.
    EXPECT_EQ(Variant(2.5).as_integer(), 2);
    EXPECT_EQ(Variant(3.5).as_integer(), 4);
    EXPECT_EQ(Variant(-1.5).as_integer(), -2);
    EXPECT_EQ(Variant(-9223372036854775808.0).as_integer(), INT64_MIN);
}

TEST(Variant, TextsThatAreNoNumbersAreTypeMismatchAndBigNumbersOverflow) {
    for (const char* text : {"12abc", "inf", "-Infinity", "nan", " NAN "}) {
        EXPECT_FALSE(Variant(text).to_number().has_value()) << text;
        EXPECT_EQ(error_number([&] { (void)Variant(text).as_double(); }), 13) << text;
    }
    for (double d : {9223372036854775808.0, -9.3e18, 1e300})
        EXPECT_EQ(error_number([&] { (void)Variant(d).as_integer(); }), 6) << d;
}

TEST(Event, HandlersRunInOrderMayAnswerThroughArgumentsAndMayUnsubscribe) {
    Event<short> percent;
    std::vector<int> seen;
    auto first = percent.subscribe([&](short& p) { seen.push_back(p); });
    percent.subscribe([&](short& p) {
        seen.push_back(p * 10);
        p = 0;
    });
    short p = 7;
    percent.raise(p);
    EXPECT_EQ(seen, (std::vector<int>{7, 70}));
    EXPECT_EQ(p, 0);
    percent.unsubscribe(first);
    p = 1;
    percent.raise(p);
    EXPECT_EQ(seen, (std::vector<int>{7, 70, 10}));

    // Also while it is being raised, from inside the handler.
    Event<> done;
    int calls = 0;
    Event<>::Token token = 0;
    token = done.subscribe([&] {
        ++calls;
        done.unsubscribe(token);
    });
    done.raise();
    done.raise();
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace hxq::platform
