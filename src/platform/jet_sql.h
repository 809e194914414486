// Translation of Jet-dialect SQL and criteria texts to SQLite, so that the query and
// criteria texts of the library run unchanged on SQLite databases.
#pragma once

#include <string>
#include <string_view>

namespace hxq::platform {

// Translates a Jet SQL statement or criteria expression:
//  - [bracketed names] become "double-quoted" identifiers; names that are keywords of
//    SQLite (Group, Table, Default, Order, Key ...) are quoted where they name a column;
//  - "double-quoted" texts are string literals in Jet and become 'single-quoted';
//  - True/False become -1/0 (Jet stores a true boolean as -1);
//  - & concatenates with Jet's precedence and treats Null as "";
//  - Like patterns use % and _ instead of * and ?; Mod becomes %;
//  - Instr, Left, Right, Mid, Len, UCase, LCase, Trim, IsNull, Nz, IIf, Val map to
//    SQLite expressions; Instr compares without case, as Jet's text comparison does;
//  - DISTINCTROW is dropped, SELECT TOP n becomes LIMIT n, a trailing ";" is dropped.
// Throws Error 3075 for texts it cannot translate (unbalanced brackets or quotes,
// #date# literals).
std::string jet_to_sqlite(std::string_view jet);

// "name" with embedded quotes doubled, for building SQL around a known identifier.
std::string sql_quote_identifier(std::string_view name);
// 'text' with embedded quotes doubled.
std::string sql_quote_text(std::string_view text);
// A table name as callers write it ("[Channel-Fluid-Factors]" or "ModelTree") without
// its brackets.
std::string strip_brackets(std::string_view name);

}  // namespace hxq::platform
