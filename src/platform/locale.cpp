#include "platform/locale.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace hxq::platform {

namespace {

struct UserNumbers {
    std::string decimal = ".";
    std::string thousand;
};

// Read once: the environment's locale does not change while the library runs.
const UserNumbers& user_numbers() {
    static const UserNumbers numbers = [] {
        UserNumbers n;
        locale_t loc = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
        if (loc == static_cast<locale_t>(nullptr)) return n;  // unknown locale name: C rules
        if (const char* radix = ::nl_langinfo_l(RADIXCHAR, loc); radix && *radix) n.decimal = radix;
        if (const char* sep = ::nl_langinfo_l(THOUSEP, loc); sep) n.thousand = sep;
        ::freelocale(loc);
        return n;
    }();
    return numbers;
}

std::optional<std::string>& override_slot() {
    static std::optional<std::string> slot;
    return slot;
}

}  // namespace

std::string decimal_separator() {
    if (const auto& o = override_slot()) return *o;
    return user_numbers().decimal;
}

std::string thousand_separator() { return user_numbers().thousand; }

std::string locale_info_text(int item) {
    switch (item) {
        case kLocaleDecimalSeparator: return decimal_separator();
        case kLocaleThousandSeparator: return thousand_separator();
        default: return {};
    }
}

void set_decimal_separator_override(std::optional<std::string> separator) {
    override_slot() = std::move(separator);
}

ScopedDecimalSeparator::ScopedDecimalSeparator(std::string separator) : previous_(override_slot()) {
    override_slot() = std::move(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { override_slot() = std::move(previous_); }

}  // namespace hxq::platform
