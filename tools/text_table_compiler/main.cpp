// text_table_compiler OUTPUT CODE OFFSET FILE [CODE OFFSET FILE]...
//
// Compiles the language files of the text table into one C++ source. The first file is
// the English base: every other file must hold exactly its identifiers. Every problem is
// printed as "<file>:<line>: error: ..." and the tool then exits with 1 without writing
// OUTPUT, which stops the build.
#include "table_source.h"
#include "text_file.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace {

using hxq::tools::Diagnostic;
using hxq::tools::LanguageBlock;

constexpr int kLargestResourceId = 32767;  // identifiers are 16-bit

int usage(const std::string& why) {
    std::cerr << "text_table_compiler: " << why << "\n"
              << "usage: text_table_compiler OUTPUT CODE OFFSET FILE [CODE OFFSET FILE]...\n"
                 "       (the first file is the English base)\n";
    return 2;
}

bool parse_offset(const std::string& text, int& offset) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), offset);
    return ec == std::errc() && end == text.data() + text.size() && offset >= 0;
}

// Writes beside the target and renames, so a failed write never leaves half a table.
bool write_atomically(const std::filesystem::path& target, const std::string& content) {
    std::error_code ec;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    const auto temporary = std::filesystem::path(target.string() + ".tmp");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) return false;
    }
    std::filesystem::rename(temporary, target, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 4 || (args.size() - 1) % 3 != 0) return usage("expected OUTPUT and triples CODE OFFSET FILE");

    std::vector<LanguageBlock> blocks;
    std::vector<Diagnostic> problems;
    std::set<int> offsets;
    for (std::size_t i = 1; i < args.size(); i += 3) {
        LanguageBlock block;
        block.code = args[i];
        if (!parse_offset(args[i + 1], block.offset)) return usage("offset '" + args[i + 1] + "' is not a number");
        if (block.offset % hxq::tools::kBlockSpan != 0 || block.offset + hxq::tools::kBlockSpan - 1 > kLargestResourceId)
            return usage("offset " + args[i + 1] + " is not a multiple of 1000 up to 31000");
        if (!offsets.insert(block.offset).second) return usage("offset " + args[i + 1] + " given twice");
        if (blocks.empty() && block.offset != 0) return usage("the first file (the English base) has offset 0");
        block.file = hxq::tools::read_text_file(args[i + 2], problems);
        blocks.push_back(std::move(block));
    }
    for (std::size_t i = 1; i < blocks.size(); ++i) {
        auto differences = hxq::tools::compare_with_base(blocks.front().file, blocks[i].file);
        problems.insert(problems.end(), differences.begin(), differences.end());
    }
    if (!problems.empty()) {
        for (const auto& p : problems) std::cerr << p.to_string() << "\n";
        std::cerr << "text_table_compiler: " << problems.size() << " error(s); " << args[0] << " was not written\n";
        return 1;
    }
    if (!write_atomically(args[0], hxq::tools::table_source(std::move(blocks)))) {
        std::cerr << "text_table_compiler: cannot write " << args[0] << "\n";
        return 1;
    }
    return 0;
}
