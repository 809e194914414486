// The small services of the platform layer: paths, the decimal separator, the prompter,
// and the Variant and Event value types.
#include "platform/error.h"
#include "platform/event.h"
#include "platform/locale.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/scratch.h"
#include "platform/variant.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>

namespace hxq::platform {
namespace {

using test::error_number;
using test::ScratchDir;

TEST(Paths, WindowsStylePathsJoinWithOneSeparator) {
    EXPECT_EQ(native_path("C:\\data\\hxq.ini"), "C:/data/hxq.ini");
    struct Case {
        const char* folder;
        const char* tail;
        const char* path;
    };
    for (const auto& c : {Case{"/work", "\\hxq.ini", "/work/hxq.ini"}, {"/work/", "\\hxq.ini", "/work/hxq.ini"},
                          {"/work\\", "hxq.ini", "/work/hxq.ini"}, {"/", "\\hxq.ini", "/hxq.ini"},
                          {"templates", "SPC\\SPC_quote.dot", "templates/SPC/SPC_quote.dot"},
                          {"", "\\hxq.ini", "/hxq.ini"},  // an unset folder leaves the tail as written
                          {"/work", "", "/work"}})
        EXPECT_EQ(join_path(c.folder, c.tail), c.path) << c.folder << " + " << c.tail;
}

TEST(Paths, ApplicationPathIsTheFolderOfThisProgram) {
    auto app = application_path();
    EXPECT_TRUE(std::filesystem::is_directory(app));
    EXPECT_TRUE(std::filesystem::exists(app / "test_platform"));
}

TEST(Paths, TemporaryFilesExistenceAndDeletion) {
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) names.insert(temp_name());
    EXPECT_EQ(names.size(), 50u);
    EXPECT_TRUE(std::regex_match(*names.begin(), std::regex("hxq[0-9a-f]{8}\\.tmp")));
    ScratchDir dir;
    auto a = create_temp_file(dir.path());
    auto b = create_temp_file(dir.path(), ".rtf");
    EXPECT_TRUE(file_exists(a));
    EXPECT_EQ(b.extension(), ".rtf");
    EXPECT_EQ(std::filesystem::file_size(b), 0u);
    EXPECT_THROW(create_temp_file(dir / "missing"), Error);
    EXPECT_FALSE(file_exists(dir.path())) << "a folder is not a file";
    EXPECT_TRUE(delete_file(a));
    EXPECT_FALSE(file_exists(a));
    EXPECT_TRUE(delete_file(a)) << "deleting what is not there leaves it not there";
}

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
    EXPECT_EQ(locale_info_text(9999), "") << "an item nobody answers";
}

TEST(Prompter, ScriptedAnswersAreUsedInOrderAndEverythingIsRecorded) {
    std::ostringstream echo;
    ScriptedPrompter p(false, &echo);
    p.push_reply(Reply::No);
    p.push_file("/data/calc.qsd");
    p.push_input("Customer A");
    Prompter& ui = p;
    ui.show_message("Saved", "Store");  // needs no answer, takes none
    EXPECT_FALSE(ui.ask_yes_no("Overwrite?", "Store"));
    FileRequest req;
    req.title = "Open calculation";
    req.filter = "Calculations (*.qsd)|*.qsd";
    EXPECT_EQ(ui.choose_file(req), "/data/calc.qsd");
    EXPECT_EQ(ui.input_box("Name", "Customer", "x"), "Customer A");
    EXPECT_EQ(p.pending(), 0u);
    ASSERT_EQ(p.shown_texts(), (std::vector<std::string>{"Saved", "Overwrite?", "Open calculation", "Name"}));
    const auto& q = p.shown()[1];
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.icon, Icon::Question);
    EXPECT_TRUE(q.scripted);
    EXPECT_EQ(echo.str(),
              "[Store] Saved\n[Store] Overwrite? -> 7\n[Calculations (*.qsd)|*.qsd] Open calculation -> /data/calc.qsd\n"
              "[Customer] Name -> Customer A\n");
}

TEST(Prompter, UnscriptedPromptsTakeWhatEnterWouldGiveAndCancelsGiveNothing) {
    ScriptedPrompter p;
    EXPECT_EQ(p.message_box("Continue?", Buttons::YesNoCancel, Icon::None, ""), Reply::Yes);
    EXPECT_EQ(p.message_box("Retry?", Buttons::RetryCancel, Icon::None, ""), Reply::Retry);
    EXPECT_EQ(p.input_box("Value", "", "42"), "42");
    EXPECT_EQ(p.choose_file({}), std::nullopt);
    for (const auto& r : p.shown()) EXPECT_FALSE(r.scripted);
    p.push_file(std::nullopt);
    p.push_input(std::nullopt);
    EXPECT_EQ(p.choose_file({}), std::nullopt);
    EXPECT_EQ(p.input_box("Value", "", "42"), std::nullopt);
    EXPECT_EQ(p.shown()[5].reply, Reply::Cancel);
    EXPECT_EQ(p.pending(), 0u);
}

TEST(Prompter, StrictScriptsCatchUnexpectedOrMismatchedPrompts) {
    ScriptedPrompter strict(true);
    strict.show_message("fine without an answer");
    EXPECT_THROW(strict.ask_yes_no("unexpected"), Error);
    strict.push_input("text");
    EXPECT_THROW(strict.ask_yes_no("wrong kind"), Error);
    ScriptedPrompter p;
    p.push_reply(Reply::Retry);
    EXPECT_THROW(p.ask_yes_no("not a button"), Error);
}

// Null and Empty count as zero but stay apart; numbers from texts and booleans (the -1
// convention); integers rounded half to even.
TEST(Variant, NumbersFromNullEmptyTextsAndBooleans) {
    EXPECT_FALSE(Variant().is_null());
    EXPECT_TRUE(Variant().is_empty());
    EXPECT_EQ(Variant::null().as_double(), 0.0);
    EXPECT_EQ(Variant().as_integer(), 0);
    EXPECT_FALSE(Variant::null().to_number().has_value());
    EXPECT_DOUBLE_EQ(Variant("16.3").as_double(), 16.3);
    EXPECT_FALSE(Variant(0).as_bool());
    EXPECT_EQ(Variant(true).as_text(), "True");
    const std::pair<Variant, std::int64_t> integers[] = {
        {Variant(" 42 "), 42}, {Variant("True"), -1}, {Variant(true), -1},
        {Variant(2.5), 2},     {Variant(-1.5), -2},   {Variant(-9223372036854775808.0), INT64_MIN},
    };
    for (const auto& [v, integer] : integers)
        EXPECT_EQ(v.as_integer(), integer) << v.as_text();
}

TEST(Variant, TextsThatAreNoNumbersAreTypeMismatchAndBigNumbersOverflow) {
    for (const char* text : {"12abc", "inf", "nan"}) {
        EXPECT_FALSE(Variant(text).to_number().has_value()) << text;
        EXPECT_EQ(error_number([&] { (void)Variant(text).as_double(); }), 13) << text;
    }
    for (double d : {9223372036854775808.0, -9.3e18})
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
