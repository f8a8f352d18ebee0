// quorvel_tutor_keys: what the tutor enters for the keys a learner types, for
// the live engine check (tests/engines/live_engines.py).
//
//   quorvel_tutor_keys BASE sample COUNT     code+digit steps over COUNT codes
//   quorvel_tutor_keys BASE sentence TEXT    the steps of a sentence
//   quorvel_tutor_keys BASE pages            "code<TAB>candidates" for every code
//
// Each step is printed "keys<TAB>text".
#include <iostream>
#include <string>

#include "TutorKeys.h"

using namespace quorvel::enginetest;

int main(int argc, char** argv) {
  try {
    if (argc < 3)
      throw std::runtime_error("usage: quorvel_tutor_keys BASE sample|sentence|pages [ARG]");
    const TutorTable table(argv[1]);
    const std::string mode = argv[2];
    std::vector<Step> steps;
    if (mode == "sample" && argc == 4) {
      steps = table.sampleChoices(std::stoul(argv[3]));
    } else if (mode == "sentence" && argc == 4) {
      steps = table.sentence(argv[3]);
    } else if (mode == "pages") {
      for (const auto& code : table.typedCodes()) {
        std::cout << code << '\t';
        const auto texts = table.page(code);
        for (std::size_t i = 0; i < texts.size(); ++i) std::cout << (i ? " " : "") << texts[i];
        std::cout << '\n';
      }
      return 0;
    } else {
      throw std::runtime_error("unknown mode " + mode);
    }
    for (const auto& s : steps) std::cout << s.keys << '\t' << s.text << '\n';
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "quorvel_tutor_keys: " << e.what() << "\n";
    return 1;
  }
}
