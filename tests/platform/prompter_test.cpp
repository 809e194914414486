#include "platform/prompter.h"

#include "platform/error.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace hxq::platform;

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

    ASSERT_EQ(p.shown().size(), 4u);
    EXPECT_EQ(p.shown_texts(), (std::vector<std::string>{"Saved", "Overwrite?", "Open calculation", "Name"}));
    const auto& q = p.shown()[1];
    EXPECT_EQ(q.buttons, Buttons::YesNo);
    EXPECT_EQ(q.icon, Icon::Question);
    EXPECT_EQ(q.reply, Reply::No);
    EXPECT_TRUE(q.scripted);
    EXPECT_EQ(p.shown()[2].title, "Calculations (*.qsd)|*.qsd");
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
