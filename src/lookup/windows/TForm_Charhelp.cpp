#include "lookup/windows/TForm_Charhelp.h"

#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <string>
#include <tuple>

#include "lookup/windows/TForm_detailhelp.h"
#include "platform/Jpeg.h"
#include "ui/QtSupport.h"

namespace quorvel::ui {

namespace {
std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}
QString upper(const std::string& code) { return QString::fromLatin1(code.c_str()).toUpper(); }

QImage keyPicture(const platform::ResourceLibrary::Batch& batch, char letter) {
  const platform::ResourceData data = batch.read("RCDATA", std::string("key_") + letter);
  if (!data.ok()) return {};
  if (auto bmp = platform::decodeBmp(data.bytes)) return toQImage(*bmp);
  if (auto jpeg = platform::decodeJpeg(data.bytes)) return toQImage(*jpeg);
  return {};
}
}  // namespace

void showCodeKeys(const platform::ResourceLibrary& library, const std::string& code,
                  const std::array<QLabel*, 4>& pictures) {
  const std::string f = trimmed(code);
  if (f.size() == 3) pictures[3]->clear();
  // The code's key pictures come from one open of the library.
  const platform::ResourceLibrary::Batch batch(library);
  for (int i = static_cast<int>(std::min<std::size_t>(f.size(), 4)) - 1; i >= 0; --i) {
    const char letter =
        static_cast<char>(std::tolower(static_cast<unsigned char>(f[static_cast<std::size_t>(i)])));
    const QImage picture = keyPicture(batch, letter);
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
  // Without splits in the library the line stays empty.
  if (split) split->setText(fromGbk(codes.Split));
}

QLabel* makeKeyPicture(QWidget* parent, const char* name, int x, int y) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(x, y, 48, 48);
  label->setAlignment(Qt::AlignCenter);
  label->setScaledContents(false);
  return label;
}

std::array<QLabel*, 4> makeKeyPictures(QWidget* parent, const char* prefix, int x, int y) {
  std::array<QLabel*, 4> pictures{};
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const std::string name = prefix + std::to_string(i + 1);
    pictures[i] = makeKeyPicture(parent, name.c_str(), x + static_cast<int>(i) * 80, y);
  }
  return pictures;
}

QLabel* makeCodeLabel(QWidget* parent, const char* name, int x, int y, int w) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(songFont(12));
  label->setGeometry(x, y, w, 16);
  setTextColour(label, kNavy);
  return label;
}

void CharCodeFields::setUpCharCodeLabels(QWidget* parent, const CharCodePlaces& places) {
  codeLabels_.keys = makeKeyPictures(parent, "Image_Key", places.keys.x(), places.keys.y());
  std::tie(Image_Key1, Image_Key2, Image_Key3, Image_Key4) = std::tuple_cat(codeLabels_.keys);
  auto level = [parent](const char* name, const QRect& r) {
    return makeCodeLabel(parent, name, r.x(), r.y(), r.width());
  };
  codeLabels_.oneChar = RzLabel_oneChar = level("RzLabel_oneChar", places.oneChar);
  codeLabels_.twoChar = RzLabel_twoChar = level("RzLabel_twoChar", places.twoChar);
  codeLabels_.threeChar = RzLabel_threeChar = level("RzLabel_threeChar", places.threeChar);
  codeLabels_.allChar = RzLabel_allChar = level("RzLabel_allChar", places.allChar);
  if (places.split.isEmpty()) return;
  // A long split (up to some fifteen roots) wraps onto a second line.
  codeLabels_.split = RzLabel_split = level("RzLabel_split", places.split);
  RzLabel_split->setGeometry(places.split);
  RzLabel_split->setWordWrap(true);
  RzLabel_split->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

BlinkLabel* makeHeading(QWidget* parent, const char* name, const QRect& geometry) {
  auto* label = new BlinkLabel(parent, kNavy, kBlinkBlue);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(songFont(16, true));
  label->setGeometry(geometry);
  return label;
}

CodeHintForm::CodeHintForm(const platform::ResourceLibrary& library, QWidget* parent,
                           const char* objectName, const QString& caption, QSize client)
    : FormBase(parent, objectName, caption, client), library_(library) {}

void CodeHintForm::addLinks(const QRect& query, const QRect& close) {
  RzLabel_query = new LinkLabel(this, "RzLabel_query", QStringLiteral("查询其它"), query);
  RzLabel_Close = new LinkLabel(this, "RzLabel_Close", QStringLiteral("关闭"), close);
  connect(RzLabel_Close, &LinkLabel::clicked, this, &QDialog::accept);
  connect(RzLabel_query, &LinkLabel::clicked, this, &CodeHintForm::RzLabel_queryClick);
}

void CodeHintForm::keyPressEvent(QKeyEvent* event) {
  event->accept();
  accept();
}

void CodeHintForm::RzLabel_queryClick() {
  accept();
  if (lookup_) lookup_->showLookup();
}

}  // namespace quorvel::ui

TForm_Charhelp::TForm_Charhelp(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : CodeHintForm(library, parent, "Form_Charhelp", QStringLiteral("汉字编码提示"),
                   QSize(366, 155)) {
  using namespace quorvel::ui;
  setUpCharCodeLabels(
      this, {QPoint(40, 8), QRect(8, 70, 90, 16), QRect(98, 70, 90, 16), QRect(188, 70, 96, 16),
             QRect(284, 70, 80, 16), QRect(8, 90, 350, 30)});
  RzLabel_Char = makeHeading(this, "RzLabel_Char", QRect(10, 120, 180, 22));
  addLinks(QRect(228, 124, 68, 20), QRect(302, 124, 56, 20));
  auto* dragger = new WindowDragger(this);
  for (QWidget* w : std::initializer_list<QWidget*>{
           this, RzLabel_Char, Image_Key1, Image_Key2, Image_Key3, Image_Key4, RzLabel_oneChar,
           RzLabel_twoChar, RzLabel_threeChar, RzLabel_allChar, RzLabel_split})
    dragger->watch(w);
}

void TForm_Charhelp::fill(const quorvel::TCharCodes& codes) {
  codeLabels_.fill(library_, codes);
  setWindowTitle(QStringLiteral("汉字编码提示"));
  RzLabel_Char->setText(QStringLiteral("汉字：%1").arg(quorvel::ui::fromGbk(codes.Text)));
}

void TForm_Charhelp::showCharHint(const quorvel::TCharCodes& codes) {
  fill(codes);
  exec();
}
