#include "lookup/TForm_Charhelp.h"

#include <QLabel>
#include <algorithm>

#include "app/QtSupport.h"
#include "lookup/TForm_detailhelp.h"

namespace quorvel::ui {

namespace {
std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
QString upper(const std::string& code) { return QString::fromLatin1(code.c_str()).toUpper(); }
}  // namespace

void showCodeKeys(const platform::ResourceLibrary& library, const std::string& code,
                  const std::array<QLabel*, 4>& pictures) {
  const std::string f = trimmed(code);
  if (f.size() == 3) pictures[3]->clear();
  for (int i = static_cast<int>(std::min<std::size_t>(f.size(), 4)) - 1; i >= 0; --i) {
    const char letter =
        static_cast<char>(std::tolower(static_cast<unsigned char>(f[static_cast<std::size_t>(i)])));
    const QImage picture = libraryPicture(library, "RCDATA", std::string("key_") + letter);
    pictures[static_cast<std::size_t>(i)]->setPixmap(QPixmap::fromImage(picture));
    if (picture.isNull())
      pictures[static_cast<std::size_t>(i)]->setText(upper(std::string(1, letter)));
  }
}

void CharCodeLabels::fill(const platform::ResourceLibrary& library, const TCharCodes& codes) const {
  showCodeKeys(library, codes.AllCode, keys);
  auto shortCode = [](const char* format, const std::string& code) {
    return QString::fromUtf8(format).arg(code.empty() ? QStringLiteral("无") : upper(code));
  };
  oneChar->setText(shortCode("一级简码：%1", codes.OneCode));
  twoChar->setText(shortCode("二级简码：%1", codes.TwoCode));
  threeChar->setText(shortCode("三级简码：%1", codes.ThreeCode));
  allChar->setText(QStringLiteral("全码：%1").arg(upper(codes.AllCode)));
}

QLabel* makeKeyPicture(QWidget* parent, const char* name, int x, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(x, y, 48, 48);
  label->setAlignment(Qt::AlignCenter);
  label->setScaledContents(false);
  return label;
}

QLabel* makeCodeLabel(QWidget* parent, const char* name, int x, int y, int w) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(songFont(12));
  label->setGeometry(x, y, w, 16);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
  label->setPalette(palette);
  return label;
}

}  // namespace quorvel::ui

TForm_Charhelp::TForm_Charhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_Charhelp", QStringLiteral("汉字编码提示"), QSize(366, 155)),
      library_(library) {
  using namespace quorvel::ui;
  Image_Key1 = makeKeyPicture(this, "Image_Key1", 40, 8);
  Image_Key2 = makeKeyPicture(this, "Image_Key2", 120, 8);
  Image_Key3 = makeKeyPicture(this, "Image_Key3", 200, 8);
  Image_Key4 = makeKeyPicture(this, "Image_Key4", 280, 8);
  RzLabel_oneChar = makeCodeLabel(this, "RzLabel_oneChar", 8, 70, 90);
  RzLabel_twoChar = makeCodeLabel(this, "RzLabel_twoChar", 98, 70, 90);
  RzLabel_threeChar = makeCodeLabel(this, "RzLabel_threeChar", 188, 70, 96);
  RzLabel_allChar = makeCodeLabel(this, "RzLabel_allChar", 284, 70, 80);
  RzLabel_Char = new QLabel(this);
  RzLabel_Char->setObjectName(QStringLiteral("RzLabel_Char"));
  RzLabel_Char->setFont(songFont(16, true));
  RzLabel_Char->setGeometry(10, 120, 180, 22);
  QPalette palette = RzLabel_Char->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
  RzLabel_Char->setPalette(palette);
  RzLabel_query = new LinkLabel(QStringLiteral("查询其它"), this);
  RzLabel_query->setObjectName(QStringLiteral("RzLabel_query"));
  RzLabel_query->setGeometry(228, 124, 68, 20);
  RzLabel_Close = new LinkLabel(QStringLiteral("关闭"), this);
  RzLabel_Close->setObjectName(QStringLiteral("RzLabel_Close"));
  RzLabel_Close->setGeometry(302, 124, 56, 20);
  connect(RzLabel_Close, &LinkLabel::clicked, this, &QDialog::accept);
  connect(RzLabel_query, &LinkLabel::clicked, this, &TForm_Charhelp::RzLabel_queryClick);
}

void TForm_Charhelp::fill(const quorvel::TCharCodes& codes) {
  const quorvel::ui::CharCodeLabels labels{{Image_Key1, Image_Key2, Image_Key3, Image_Key4},
                                           RzLabel_oneChar,
                                           RzLabel_twoChar,
                                           RzLabel_threeChar,
                                           RzLabel_allChar};
  labels.fill(library_, codes);
  setWindowTitle(QStringLiteral("汉字编码提示"));
  RzLabel_Char->setText(QStringLiteral("汉字：%1").arg(quorvel::ui::fromGbk(codes.Text)));
}

void TForm_Charhelp::showCharHint(const quorvel::TCharCodes& codes) {
  fill(codes);
  exec();
}

void TForm_Charhelp::RzLabel_queryClick() {
  accept();
  if (lookup_) lookup_->showLookup();
}
