#pragma once
// The punctuation of code entry: what each punctuation key of the US layout
// enters while the learner types codes. The practice frame and the exported
// engine schemas both read this one table.
#include <span>

namespace quorvel {

struct PunctuationKey {
  char key;          // the character the key gives on the US layout ('$' for Shift+4)
  const char* text;  // UTF-8; a key that enters itself gives its own character
};

// Every key of code entry but the apostrophe and the double quote, which
// alternate between two marks (quoteMarks).
std::span<const PunctuationKey> codePunctuation();

struct QuoteMarks {
  const char* open;
  const char* close;
};
QuoteMarks quoteMarks(bool doubled);

}  // namespace quorvel
