#pragma once
// The preview of a practice text file in the file chooser and the test
// settings dialog: the text as the practice will see it.
#include "ui/TextFileDialog.h"

namespace quorvel::textpractice {

// Reads only the start the practice can use, decoded from whatever encoding
// the file has, with its line ends as new lines.
ui::FilePreview previewPracticeText(const QString& path);

}  // namespace quorvel::textpractice
