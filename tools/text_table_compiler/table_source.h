// The C++ source of the compiled text table: one sorted array per language block and
// the block list that settings/text_blocks.h declares.
#pragma once

#include "text_file.h"

#include <string>
#include <vector>

namespace hxq::tools {

struct LanguageBlock {
    std::string code;  // "fi"
    int offset = 0;    // 1000
    TextFile file;
};

// The generated source; blocks in any order, entries in any order (both come out sorted).
std::string table_source(std::vector<LanguageBlock> blocks);

}  // namespace hxq::tools
