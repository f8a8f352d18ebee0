#pragma once
// What the tutor offers under each code and what a learner types in it, from
// the tutor's own candidate search and punctuation table: the engine tests
// compare each engine with this.
#include <map>
#include <string>
#include <vector>

#include "data/PracticeData.h"

namespace quorvel::enginetest {

// One thing to type and the text the tutor enters for it.
struct Step {
  std::string keys;  // as typed on the US layout ("zt2", "izhg", ",")
  std::string text;  // UTF-8
};

class TutorTable {
 public:
  // `path` is base.txt (UTF-8 "code text" lines).
  explicit TutorTable(const std::string& path);

  // The tutor's candidates for a code, in UTF-8, in its order.
  std::vector<std::string> page(const std::string& code) const;
  // Every code a learner can type (each beginning of a code), in the order
  // they first begin a line.
  const std::vector<std::string>& typedCodes() const { return typed_; }

  // Code+digit for every candidate of `count` codes spread over all of them
  // (the 26 letters among them), then unique four-letter codes typed alone.
  std::vector<Step> sampleChoices(std::size_t count) const;
  // The keys of a text, a character or a punctuation mark a step: the
  // character's code (the one needing the fewest keys) and its digit, none
  // when the code commits at once.
  std::vector<Step> sentence(const std::string& utf8) const;

 private:
  BaseSegments base_;
  std::vector<std::string> typed_;
  std::map<std::string, std::vector<std::string>> codesOf_;  // text -> its codes
};

}  // namespace quorvel::enginetest
