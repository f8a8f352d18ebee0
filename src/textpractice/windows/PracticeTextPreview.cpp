#include "textpractice/windows/PracticeTextPreview.h"

#include <QFile>

#include "textpractice/TextFile.h"
#include "ui/QtSupport.h"

namespace quorvel::textpractice {

ui::FilePreview previewPracticeText(const QString& path) {
  const textfile::LoadedText loaded =
      textfile::readPracticeText(QFile::encodeName(path).toStdString(), textfile::kMaxGbkBytes);
  ui::FilePreview preview;
  preview.ok = loaded.ok;
  if (loaded.ok) {
    preview.text = ui::withNewlines(ui::fromGbk(loaded.gbk));
    const std::string simple = textfile::simplifiedGbk(loaded.gbk);
    if (simple != loaded.gbk) preview.simplifiedText = ui::withNewlines(ui::fromGbk(simple));
    preview.traditional = loaded.traditional;
  } else
    preview.error = QString::fromStdString(loaded.error);
  return preview;
}

}  // namespace quorvel::textpractice
