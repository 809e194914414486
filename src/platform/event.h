// A small typed multicast event: handlers subscribe, the owner raises synchronously.
// Arguments are passed by reference so a handler may answer through them (the
// original events took in/out arguments, e.g. CalcPercent(Percent)).
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace hxq::platform {

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args&...)>;
    using Token = std::size_t;

    Token subscribe(Handler handler) {
        handlers_.emplace_back(++last_token_, std::move(handler));
        return last_token_;
    }

    void unsubscribe(Token token) {
        std::erase_if(handlers_, [token](const auto& h) { return h.first == token; });
    }

    // Handlers run in subscription order; a copy of the list keeps raising safe when a
    // handler unsubscribes itself.
    void raise(Args&... args) const {
        auto handlers = handlers_;
        for (auto& [token, handler] : handlers) handler(args...);
    }

    bool empty() const { return handlers_.empty(); }

private:
    std::vector<std::pair<Token, Handler>> handlers_;
    Token last_token_ = 0;
};

}  // namespace hxq::platform
