// Everything the library asks of or tells the user goes through one Prompter: message
// boxes, yes/no questions, file choosers and input boxes. The desktop supplies windows;
// tests and the command line use ScriptedPrompter, which answers from a queue and
// keeps a record of what was shown.
#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace hxq::platform {

// Button sets and answers carry the numbers message boxes have always used, so code
// that stores or compares them keeps working.
enum class Buttons { Ok = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5 };
enum class Icon { None = 0, Critical = 16, Question = 32, Exclamation = 48, Information = 64 };
enum class Reply { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The answer a box gives when the user just presses Enter: its first button.
Reply default_reply(Buttons buttons);
// True when `reply` is one of the buttons of `buttons`.
bool offers(Buttons buttons, Reply reply);

struct FileRequest {
    enum class Mode { Open, Save } mode = Mode::Open;
    std::string title;
    // Pairs of description and pattern joined by "|": "Calculations (*.qsd)|*.qsd".
    std::string filter;
    std::string initial_folder;
    std::string file_name;       // proposed name
    std::string default_extension;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Reply message_box(const std::string& text, Buttons buttons, Icon icon, const std::string& title) = 0;
    // The chosen path; nothing when the user cancelled.
    virtual std::optional<std::string> choose_file(const FileRequest& request) = 0;
    // The entered text; nothing when the user cancelled.
    virtual std::optional<std::string> input_box(const std::string& prompt, const std::string& title,
                                                 const std::string& default_text) = 0;

    // An OK-only message.
    void show_message(const std::string& text, const std::string& title = {}, Icon icon = Icon::None) {
        message_box(text, Buttons::Ok, icon, title);
    }
    // A Yes/No question; true for Yes.
    bool ask_yes_no(const std::string& text, const std::string& title = {}, Icon icon = Icon::Question) {
        return message_box(text, Buttons::YesNo, icon, title) == Reply::Yes;
    }
};

// One shown prompt as ScriptedPrompter records it.
struct PromptRecord {
    enum class Kind { Message, File, Input } kind = Kind::Message;
    std::string text;   // message text, file dialog title or input prompt
    std::string title;  // box title (for files, the filter)
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    std::string default_text;  // input default or proposed file name
    // What was answered: a reply for messages, the text (empty when cancelled) otherwise.
    Reply reply = Reply::Ok;
    std::optional<std::string> answer;
    bool scripted = false;  // false when the default answer was taken
};

class ScriptedPrompter : public Prompter {
public:
    // Without a scripted answer a prompt takes what pressing Enter would give: a box's
    // first button, an input box's default text, and a file chooser is cancelled. With
    // `strict` such a prompt throws Error 5 instead, so a test learns that an unexpected
    // question came up. OK-only messages never need an answer. `echo` receives one
    // line per prompt (the command line passes its error stream).
    explicit ScriptedPrompter(bool strict = false, std::ostream* echo = nullptr);

    // Queue the next answers, consumed in order by the prompts that need one.
    void push_reply(Reply reply);
    void push_file(std::optional<std::string> path);  // nothing: the user cancels
    void push_input(std::optional<std::string> text);  // nothing: the user cancels

    Reply message_box(const std::string& text, Buttons buttons, Icon icon, const std::string& title) override;
    std::optional<std::string> choose_file(const FileRequest& request) override;
    std::optional<std::string> input_box(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) override;

    const std::vector<PromptRecord>& shown() const { return shown_; }
    // The texts of the shown prompts, in order.
    std::vector<std::string> shown_texts() const;
    void clear_shown() { shown_.clear(); }
    std::size_t pending() const { return script_.size(); }

private:
    using Answer = std::variant<Reply, std::optional<std::string>>;
    enum class Want { Reply, File, Input };
    struct Scripted {
        Want kind;
        Answer answer;
    };
    // The next scripted answer when it is of the wanted kind; Error 5 when the script
    // holds an answer of another kind (the script and the code disagree).
    std::optional<Answer> take(Want kind, const std::string& what);
    void record(PromptRecord record);

    bool strict_;
    std::ostream* echo_;
    std::deque<Scripted> script_;
    std::vector<PromptRecord> shown_;
};

}  // namespace hxq::platform
