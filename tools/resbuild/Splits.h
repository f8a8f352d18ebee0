#pragma once
// The splits of the characters into roots, for the hints of the tutor.
#include <string>
#include <string_view>
#include <vector>

#include "Roots.h"

namespace resbuild {

// Reads resources/method/splits.tsv ("character<TAB>roots<TAB>sound<TAB>first
// and last stroke of a one-root character, else -<TAB>full code", the roots
// separated by blanks or run together) and writes the "splits" entry the
// tutor reads: GBK lines ending with CR LF, each root followed by its key
// from the root table. A root GBK cannot write is given by its name in
// brackets. Throws SourceError naming the line of a split whose roots are not
// in the table or whose full code does not follow from it.
std::string convertSplits(std::string_view utf8, const std::string& origin,
                          const std::vector<Root>& roots);

}  // namespace resbuild
