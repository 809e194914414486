#include "platform/jet_sql.h"

#include "platform/error.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace hxq::platform {

namespace {

constexpr std::int32_t kSyntaxError = 3075;

enum class Kind { Space, Text, Bracket, Number, Ident, Op, LParen, RParen, Comma, Other, Raw, Drop };

struct Token {
    Kind kind;
    std::string_view text;
    std::string raw;  // replacement text of Raw tokens
    bool keyword = false;
};

std::string upper_ascii(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool ident_start(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool ident_char(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

[[noreturn]] void syntax_error(std::string_view text, std::string_view why) {
    throw Error(kSyntaxError, "Database",
                "Syntax error (" + std::string(why) + ") in query expression '" + std::string(text) + "'.");
}

std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    const std::size_t n = s.size();
    auto push = [&](Kind k, std::size_t b, std::size_t e) { out.push_back(Token{k, s.substr(b, e - b), {}, false}); };
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t b = i;
        if (std::isspace(c)) {
            while (i < n && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
            push(Kind::Space, b, i);
        } else if (c == '\'' || c == '"') {
            ++i;
            for (;;) {
                if (i >= n) syntax_error(s, "missing closing quote");
                if (s[i] == static_cast<char>(c)) {
                    if (i + 1 < n && s[i + 1] == static_cast<char>(c)) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(Kind::Text, b, i);
        } else if (c == '[') {
            const std::size_t close = s.find(']', i);
            if (close == std::string_view::npos) syntax_error(s, "missing ]");
            i = close + 1;
            push(Kind::Bracket, b, i);
        } else if (c == '#') {
            syntax_error(s, "date literals are not supported");
        } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])))) {
            while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            if (i < n && s[i] == '.') {
                ++i;
                while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            }
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) {
                    i = j;
                    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
                }
            }
            push(Kind::Number, b, i);
        } else if (ident_start(c)) {
            while (i < n && ident_char(static_cast<unsigned char>(s[i]))) ++i;
            push(Kind::Ident, b, i);
        } else if (c == '(') {
            push(Kind::LParen, b, ++i);
        } else if (c == ')') {
            push(Kind::RParen, b, ++i);
        } else if (c == ',') {
            push(Kind::Comma, b, ++i);
        } else {
            static constexpr std::array<std::string_view, 6> two{"<>", "<=", ">=", "!=", "==", "||"};
            std::size_t len = 1;
            for (auto t : two)
                if (s.substr(i, 2) == t) len = 2;
            i += len;
            push(std::string_view("=<>+-*/\\^&.;!?%|").find(static_cast<char>(c)) != std::string_view::npos ? Kind::Op
                                                                                                          : Kind::Other,
                 b, i);
        }
    }
    return out;
}

// Keywords that are always SQL structure in the texts we translate; every other SQLite
// keyword in a name position is a column or table name and gets quoted.
bool structural_keyword(const std::string& u) {
    static constexpr std::array<std::string_view, 49> words{
        "SELECT", "DISTINCT", "FROM",    "WHERE",  "AND",    "OR",     "NOT",     "IS",     "NULL",   "LIKE",
        "IN",     "BETWEEN",  "AS",      "ON",     "JOIN",   "INNER",  "LEFT",    "RIGHT",  "OUTER",  "CROSS",
        "NATURAL", "USING",   "UNION",   "ALL",    "INTERSECT", "EXCEPT", "HAVING", "BY",   "ASC",    "DESC",
        "INSERT", "INTO",     "VALUES",  "UPDATE", "SET",    "DELETE", "CASE",    "WHEN",   "THEN",   "ELSE",
        "END",    "EXISTS",   "ESCAPE",  "LIMIT",  "OFFSET", "COLLATE", "CAST",   "GLOB",   "TOP"};
    return std::find(words.begin(), words.end(), u) != words.end();
}

bool is_sqlite_keyword(std::string_view name) {
    return sqlite3_keyword_check(name.data(), static_cast<int>(name.size())) != 0;
}

// A Jet string literal ('..' or "..") as its content.
std::string literal_content(std::string_view lit) {
    const char q = lit.front();
    std::string v;
    for (std::size_t i = 1; i + 1 < lit.size(); ++i) {
        v += lit[i];
        if (lit[i] == q && lit[i + 1] == q) ++i;
    }
    return v;
}

// Jet Like pattern to an SQLite LIKE operand: * and ? become % and _, a bracketed single
// character is literal, literal % and _ are escaped.
std::string like_pattern(std::string_view lit, std::string_view whole) {
    const std::string p = literal_content(lit);
    std::string out;
    bool escaped = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '*') {
            out += '%';
        } else if (c == '?') {
            out += '_';
        } else if (c == '[') {
            if (i + 2 < p.size() && p[i + 2] == ']' && p[i + 1] != '!') {
                const char lit_c = p[i + 1];
                if (lit_c == '%' || lit_c == '_' || lit_c == '\\') {
                    out += '\\';
                    escaped = true;
                }
                out += lit_c;
                i += 2;
            } else {
                syntax_error(whole, "character lists in Like patterns are not supported");
            }
        } else if (c == '#') {
            syntax_error(whole, "digit wildcards in Like patterns are not supported");
        } else if (c == '%' || c == '_' || c == '\\') {
            out += '\\';
            out += c;
            escaped = true;
        } else {
            out += c;
        }
    }
    std::string sql = sql_quote_text(out);
    if (escaped) sql += " ESCAPE '\\'";
    return sql;
}

class Translator {
public:
    explicit Translator(std::string_view text) : text_(text), t_(tokenize(text)) { classify(); }

    std::string run() {
        std::string out = emit_range(0, t_.size());
        if (limit_) out += " LIMIT " + std::string(*limit_);
        return out;
    }

private:
    std::string_view text_;
    std::vector<Token> t_;
    std::optional<std::string_view> limit_;

    std::optional<std::size_t> next_solid(std::size_t i) const {
        for (std::size_t j = i + 1; j < t_.size(); ++j)
            if (t_[j].kind != Kind::Space) return j;
        return std::nullopt;
    }
    std::optional<std::size_t> prev_solid(std::size_t i) const {
        for (std::size_t j = i; j-- > 0;)
            if (t_[j].kind != Kind::Space && t_[j].kind != Kind::Drop) return j;
        return std::nullopt;
    }
    bool next_is(std::size_t i, Kind k, std::string_view upper = {}) const {
        auto j = next_solid(i);
        if (!j || t_[*j].kind != k) return false;
        return upper.empty() || upper_ascii(t_[*j].text) == upper;
    }

    void classify() {
        // A trailing ";" ends the statement in Jet; SQLite would see an empty second one.
        for (std::size_t j = t_.size(); j-- > 0;) {
            if (t_[j].kind == Kind::Space) continue;
            if (t_[j].kind == Kind::Op && t_[j].text == ";") t_[j].kind = Kind::Drop;
            break;
        }
        int depth = 0;
        for (std::size_t i = 0; i < t_.size(); ++i) {
            Token& tok = t_[i];
            if (tok.kind == Kind::LParen) ++depth;
            if (tok.kind == Kind::RParen) --depth;
            if (tok.kind != Kind::Ident) continue;
            const std::string u = upper_ascii(tok.text);
            const bool call = next_is(i, Kind::LParen);
            if (u == "TRUE" || u == "FALSE") {
                tok.kind = Kind::Raw;
                tok.raw = u == "TRUE" ? "-1" : "0";
            } else if (u == "MOD") {
                tok.kind = Kind::Raw;
                tok.raw.assign(1, '%');
            } else if (u == "DISTINCTROW") {
                tok.kind = Kind::Drop;
                if (i + 1 < t_.size() && t_[i + 1].kind == Kind::Space) t_[i + 1].kind = Kind::Drop;
            } else if (u == "TOP") {
                auto p = prev_solid(i);
                auto nx = next_solid(i);
                const bool after_select =
                    p && t_[*p].kind == Kind::Ident &&
                    (upper_ascii(t_[*p].text) == "SELECT" || upper_ascii(t_[*p].text) == "DISTINCT");
                if (after_select && depth == 0 && nx && t_[*nx].kind == Kind::Number && !limit_) {
                    limit_ = t_[*nx].text;
                    for (std::size_t j = i; j <= *nx + 1 && j < t_.size(); ++j)
                        if (j <= *nx || t_[j].kind == Kind::Space) t_[j].kind = Kind::Drop;
                } else {
                    tok.keyword = false;
                }
            } else if (u == "LEFT" || u == "RIGHT") {
                tok.keyword = !call;
            } else if (u == "ORDER" || u == "GROUP") {
                tok.keyword = next_is(i, Kind::Ident, "BY");
            } else if (u == "DEFAULT") {
                tok.keyword = next_is(i, Kind::Ident, "VALUES");
            } else if (u == "LIKE") {
                tok.keyword = true;
                auto j = next_solid(i);
                if (j && t_[*j].kind == Kind::Text) {
                    t_[*j].raw = like_pattern(t_[*j].text, text_);
                    t_[*j].kind = Kind::Raw;
                }
            } else {
                tok.keyword = structural_keyword(u);
            }
        }
        if (depth != 0) syntax_error(text_, "unbalanced parentheses");
    }

    std::size_t match_paren(std::size_t open, std::size_t end) const {
        int depth = 0;
        for (std::size_t j = open; j < end; ++j) {
            if (t_[j].kind == Kind::LParen) ++depth;
            if (t_[j].kind == Kind::RParen && --depth == 0) return j;
        }
        syntax_error(text_, "unbalanced parentheses");
    }

    // Tokens that bind less tightly than &: comparisons, logic, clause keywords, commas.
    bool boundary(const Token& tok) const {
        switch (tok.kind) {
            case Kind::Comma: return true;
            case Kind::Op:
                return tok.text == "=" || tok.text == "<>" || tok.text == "<" || tok.text == ">" ||
                       tok.text == "<=" || tok.text == ">=" || tok.text == "!=" || tok.text == "==" ||
                       tok.text == ";";
            case Kind::Ident: return tok.keyword;
            default: return false;
        }
    }

    // [b, e) with & chains grouped by Jet's precedence: each operand of a chain is an
    // arithmetic expression; the chain ends at a comparison, a logical operator or a
    // clause keyword. SQLite's || binds tighter than anything, so the chain gets
    // brackets.
    std::string emit_range(std::size_t b, std::size_t e) {
        bool has_amp = false;
        int depth = 0;
        for (std::size_t j = b; j < e; ++j) {
            if (t_[j].kind == Kind::LParen) ++depth;
            if (t_[j].kind == Kind::RParen) --depth;
            if (depth == 0 && t_[j].kind == Kind::Op && t_[j].text == "&") has_amp = true;
        }
        if (!has_amp) return emit_simple(b, e);

        std::string out;
        std::size_t seg = b;
        depth = 0;
        for (std::size_t j = b; j <= e; ++j) {
            const bool at_end = j == e;
            if (!at_end) {
                if (t_[j].kind == Kind::LParen) ++depth;
                if (t_[j].kind == Kind::RParen) --depth;
            }
            if (at_end || (depth == 0 && boundary(t_[j]))) {
                out += emit_segment(seg, j);
                if (!at_end) out += emit_simple(j, j + 1);
                seg = j + 1;
            }
        }
        return out;
    }

    std::string emit_segment(std::size_t b, std::size_t e) {
        std::vector<std::size_t> amps;
        int depth = 0;
        for (std::size_t j = b; j < e; ++j) {
            if (t_[j].kind == Kind::LParen) ++depth;
            if (t_[j].kind == Kind::RParen) --depth;
            if (depth == 0 && t_[j].kind == Kind::Op && t_[j].text == "&") amps.push_back(j);
        }
        if (amps.empty()) return emit_simple(b, e);
        // Keep the blanks around the chain outside the brackets.
        std::size_t lb = b, le = e;
        while (lb < le && t_[lb].kind == Kind::Space) ++lb;
        while (le > lb && t_[le - 1].kind == Kind::Space) --le;
        std::string out = emit_simple(b, lb) + "(";
        std::size_t op = lb;
        amps.push_back(le);
        for (std::size_t k = 0; k < amps.size(); ++k) {
            std::size_t ob = op, oe = amps[k];
            while (ob < oe && t_[ob].kind == Kind::Space) ++ob;
            while (oe > ob && t_[oe - 1].kind == Kind::Space) --oe;
            if (ob == oe) syntax_error(text_, "missing operand of &");
            if (k > 0) out += " || ";
            out += "ifnull((" + emit_simple(ob, oe) + "),'')";
            op = amps[k] + 1;
        }
        return out + ")" + emit_simple(le, e);
    }

    std::vector<std::string> call_args(std::size_t open, std::size_t close) {
        std::vector<std::string> args;
        std::size_t start = open + 1;
        int depth = 0;
        for (std::size_t j = open + 1; j <= close; ++j) {
            if (j < close && t_[j].kind == Kind::LParen) ++depth;
            if (j < close && t_[j].kind == Kind::RParen) --depth;
            if (j == close || (depth == 0 && t_[j].kind == Kind::Comma)) {
                args.push_back(emit_range(start, j));
                start = j + 1;
            }
        }
        if (args.size() == 1 && args[0].find_first_not_of(" \t\r\n") == std::string::npos) args.clear();
        return args;
    }

    std::optional<std::string> jet_function(std::string_view name, const std::vector<std::string>& a) {
        const std::string u = upper_ascii(name);
        auto need = [&](std::size_t lo, std::size_t hi) {
            if (a.size() < lo || a.size() > hi)
                syntax_error(text_, "wrong number of arguments of " + std::string(name));
        };
        auto p = [](const std::string& s) { return "(" + s + ")"; };
        if (u == "INSTR") {
            need(2, 4);
            if (a.size() == 2) return "instr(upper(" + a[0] + "),upper(" + a[1] + "))";
            // Instr(start, text, sought[, compare]); compare 0 is a binary comparison.
            const bool binary = a.size() == 4 && a[3].find_first_not_of(" ") != std::string::npos &&
                                a[3].substr(a[3].find_first_not_of(" ")).rfind('0', 0) == 0;
            const std::string hay = "substr(" + a[1] + "," + a[0] + ")";
            const std::string f = binary ? "instr(" + hay + "," + a[2] + ")"
                                         : "instr(upper(" + hay + "),upper(" + a[2] + "))";
            return "(CASE WHEN " + f + ">0 THEN " + f + "+" + p(a[0]) + "-1 ELSE 0 END)";
        }
        if (u == "LEFT") {
            need(2, 2);
            return "substr(" + a[0] + ",1," + a[1] + ")";
        }
        if (u == "RIGHT") {
            need(2, 2);
            return "substr(" + a[0] + ",max(length(" + a[0] + ")-" + p(a[1]) + "+1,1))";
        }
        if (u == "MID") {
            need(2, 3);
            return "substr(" + a[0] + "," + a[1] + (a.size() == 3 ? "," + a[2] : "") + ")";
        }
        if (u == "LEN") {
            need(1, 1);
            return "length(" + a[0] + ")";
        }
        if (u == "UCASE") {
            need(1, 1);
            return "upper(" + a[0] + ")";
        }
        if (u == "LCASE") {
            need(1, 1);
            return "lower(" + a[0] + ")";
        }
        if (u == "ISNULL") {
            need(1, 1);
            return "(CASE WHEN " + p(a[0]) + " IS NULL THEN -1 ELSE 0 END)";
        }
        if (u == "NZ") {
            need(1, 2);
            return "ifnull(" + a[0] + "," + (a.size() == 2 ? a[1] : std::string("''")) + ")";
        }
        if (u == "IIF") {
            need(3, 3);
            return "(CASE WHEN " + p(a[0]) + " THEN " + p(a[1]) + " ELSE " + p(a[2]) + " END)";
        }
        if (u == "VAL") {
            need(1, 1);
            return "CAST(" + a[0] + " AS REAL)";
        }
        return std::nullopt;
    }

    std::string emit_simple(std::size_t b, std::size_t e) {
        std::string out;
        for (std::size_t i = b; i < e; ++i) {
            const Token& tok = t_[i];
            switch (tok.kind) {
                case Kind::Drop: break;
                case Kind::Raw: out += tok.raw; break;
                case Kind::Text:
                    if (tok.text.front() == '\'')
                        out += tok.text;
                    else
                        out += sql_quote_text(literal_content(tok.text));
                    break;
                case Kind::Bracket: out += sql_quote_identifier(tok.text.substr(1, tok.text.size() - 2)); break;
                case Kind::LParen: {
                    const std::size_t close = match_paren(i, e);
                    out += '(';
                    out += emit_range(i + 1, close);
                    out += ')';
                    i = close;
                    break;
                }
                case Kind::Ident: {
                    auto open = next_solid(i);
                    if (!tok.keyword && open && *open < e && t_[*open].kind == Kind::LParen) {
                        const std::size_t close = match_paren(*open, e);
                        auto args = call_args(*open, close);
                        if (auto f = jet_function(tok.text, args)) {
                            out += *f;
                        } else {
                            out += tok.text;
                            out += "(";
                            for (std::size_t k = 0; k < args.size(); ++k) out += (k ? "," : "") + args[k];
                            out += ")";
                        }
                        i = close;
                    } else if (!tok.keyword && is_sqlite_keyword(tok.text)) {
                        out += sql_quote_identifier(tok.text);
                    } else {
                        out += tok.text;
                    }
                    break;
                }
                default: out += tok.text; break;
            }
        }
        return out;
    }
};

}  // namespace

std::string jet_to_sqlite(std::string_view jet) { return Translator(jet).run(); }

std::string sql_quote_identifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string sql_quote_text(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

std::string strip_brackets(std::string_view name) {
    std::size_t b = name.find_first_not_of(" \t");
    std::size_t e = name.find_last_not_of(" \t");
    if (b == std::string_view::npos) return {};
    name = name.substr(b, e - b + 1);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    return std::string(name);
}

}  // namespace hxq::platform
