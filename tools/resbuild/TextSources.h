#pragma once
// Conversion of the UTF-8 sources under resources/ into the GBK byte formats
// the tutor reads: drill tables and the lookup dictionary ("chardata") and
// the study texts ("TIPDATA").
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace resbuild {

// A source the tutor could not read as intended; the message names the file
// and line.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One drill table: every line is a text of GB2312 characters followed by its
// code letters ("社zts"). The result is GBK with CR LF after every line. The
// characters must be GB2312 because the reader folds bytes 'A'..'Z' to lower
// case, so no byte of a character may fall in the ASCII range.
std::string convertDrillTable(std::string_view utf8, const std::string& origin);

// The lookup dictionary: lines "code text", grouped by the first code letter.
// The result ends every line with a single CR (no LF), the last one too.
std::string convertBaseTable(std::string_view utf8, const std::string& origin);

// A study text: any GBK text; lines end with CR LF in the result.
std::string convertText(std::string_view utf8, const std::string& origin);

// Reads a whole file; throws SourceError when it cannot.
std::string readFile(const std::filesystem::path& file);

}  // namespace resbuild
