#include "platform/prompter.h"

#include "platform/error.h"

#include <ostream>

namespace hxq::platform {

Reply default_reply(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel: return Reply::Ok;
        case Buttons::AbortRetryIgnore: return Reply::Abort;
        case Buttons::YesNoCancel:
        case Buttons::YesNo: return Reply::Yes;
        case Buttons::RetryCancel: return Reply::Retry;
    }
    return Reply::Ok;
}

bool offers(Buttons buttons, Reply reply) {
    switch (buttons) {
        case Buttons::Ok: return reply == Reply::Ok;
        case Buttons::OkCancel: return reply == Reply::Ok || reply == Reply::Cancel;
        case Buttons::AbortRetryIgnore: return reply == Reply::Abort || reply == Reply::Retry || reply == Reply::Ignore;
        case Buttons::YesNoCancel: return reply == Reply::Yes || reply == Reply::No || reply == Reply::Cancel;
        case Buttons::YesNo: return reply == Reply::Yes || reply == Reply::No;
        case Buttons::RetryCancel: return reply == Reply::Retry || reply == Reply::Cancel;
    }
    return false;
}

ScriptedPrompter::ScriptedPrompter(bool strict, std::ostream* echo) : strict_(strict), echo_(echo) {}

void ScriptedPrompter::push_reply(Reply reply) { script_.push_back({Want::Reply, reply}); }
void ScriptedPrompter::push_file(std::optional<std::string> path) { script_.push_back({Want::File, std::move(path)}); }
void ScriptedPrompter::push_input(std::optional<std::string> text) { script_.push_back({Want::Input, std::move(text)}); }

std::optional<ScriptedPrompter::Answer> ScriptedPrompter::take(Want kind, const std::string& what) {
    if (script_.empty()) {
        if (strict_) throw Error(5, "ScriptedPrompter", "No scripted answer for: " + what);
        return std::nullopt;
    }
    if (script_.front().kind != kind)
        throw Error(5, "ScriptedPrompter", "The next scripted answer is of another kind than asked by: " + what);
    Answer answer = std::move(script_.front().answer);
    script_.pop_front();
    return answer;
}

void ScriptedPrompter::record(PromptRecord r) {
    if (echo_) {
        *echo_ << (r.title.empty() ? std::string() : "[" + r.title + "] ") << r.text;
        if (r.kind == PromptRecord::Kind::Message && r.buttons != Buttons::Ok)
            *echo_ << " -> " << static_cast<int>(r.reply);
        else if (r.kind != PromptRecord::Kind::Message)
            *echo_ << " -> " << (r.answer ? *r.answer : std::string("(cancelled)"));
        *echo_ << '\n';
    }
    shown_.push_back(std::move(r));
}

Reply ScriptedPrompter::message_box(const std::string& text, Buttons buttons, Icon icon, const std::string& title) {
    PromptRecord r{PromptRecord::Kind::Message, text, title, buttons, icon, {}, default_reply(buttons), {}, false};
    // A plain message needs nobody to answer it; a scripted reply is not spent on it.
    if (buttons != Buttons::Ok) {
        if (auto answer = take(Want::Reply, text)) {
            Reply reply = std::get<Reply>(*answer);
            if (!offers(buttons, reply))
                throw Error(5, "ScriptedPrompter", "Scripted reply is not a button of: " + text);
            r.reply = reply;
            r.scripted = true;
        }
    }
    Reply reply = r.reply;
    record(std::move(r));
    return reply;
}

std::optional<std::string> ScriptedPrompter::choose_file(const FileRequest& request) {
    PromptRecord r{PromptRecord::Kind::File, request.title, request.filter, Buttons::OkCancel, Icon::None,
                   request.file_name, Reply::Cancel, std::nullopt, false};
    if (auto answer = take(Want::File, request.title)) {
        r.answer = std::get<std::optional<std::string>>(*answer);
        r.scripted = true;
    }
    r.reply = r.answer ? Reply::Ok : Reply::Cancel;
    auto result = r.answer;
    record(std::move(r));
    return result;
}

std::optional<std::string> ScriptedPrompter::input_box(const std::string& prompt, const std::string& title,
                                                       const std::string& default_text) {
    PromptRecord r{PromptRecord::Kind::Input, prompt, title, Buttons::OkCancel, Icon::None,
                   default_text, Reply::Cancel, std::nullopt, false};
    if (auto answer = take(Want::Input, prompt)) {
        r.answer = std::get<std::optional<std::string>>(*answer);
        r.scripted = true;
    } else {
        r.answer = default_text;  // the user pressed Enter
    }
    r.reply = r.answer ? Reply::Ok : Reply::Cancel;
    auto result = r.answer;
    record(std::move(r));
    return result;
}

std::vector<std::string> ScriptedPrompter::shown_texts() const {
    std::vector<std::string> out;
    for (const auto& r : shown_) out.push_back(r.text);
    return out;
}

}  // namespace hxq::platform
