// The settings file is the learner's to edit: any text must parse, and what
// was read must come back the same after a save and a second read.
#include <cstdlib>

#include "FuzzInput.h"
#include "platform/Registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvel::platform;
  const SettingsText first = parseSettings(quorvel::fuzz::bytes(data, size));
  const std::string saved = formatSettings(first);
  const SettingsText second = parseSettings(saved);
  if (!second.clean || second.keys != first.keys || formatSettings(second) != saved) std::abort();
  return 0;
}
