#include "app/TForm_About.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QScreen>

#include "app/Settings.h"
#include "platform/SystemFacts.h"
#include "ui/Glyphs.h"
#include "ui/QtSupport.h"

TForm_About::TForm_About(const quorvel::platform::ResourceLibrary& library, QWidget* parent)
    : FormBase(parent, "Form_About", QStringLiteral("关于"), QSize(374, 329),
               Qt::Dialog | Qt::FramelessWindowHint),
      library_(library) {
  using namespace quorvel::ui;
  RzPanel_About = this;
  RzBackground_About = this;
  LblTitle = new ShadowLabel(this);
  LblTitle->setObjectName(QStringLiteral("LblTitle"));
  LblTitle->setGeometry(0, 0, 23, 329);
  LblTitle->setAlignment(Qt::AlignCenter);
  QFont titleFont(QStringLiteral("Arial"));
  titleFont.setPixelSize(15);
  titleFont.setBold(true);
  LblTitle->setFont(titleFont);
  LblTitle->setText(withNewlines(QStringLiteral(" \r \r \r \r \r奎\r \r沃")));
  LblTitle->setAutoFillBackground(true);
  useCaptionColours();
  Image_Mylogo = new QLabel(this);
  Image_Mylogo->setObjectName(QStringLiteral("Image_Mylogo"));
  Image_Mylogo->setGeometry(34, 10, 32, 32);
  RzLabel_Title = new QLabel(QStringLiteral("Quorvel"), this);
  RzLabel_Title->setObjectName(QStringLiteral("RzLabel_Title"));
  RzLabel_Title->setFont(songFont(24));
  RzLabel_Title->setGeometry(76, 10, 160, 30);
  {
    QPalette palette = RzLabel_Title->palette();
    palette.setColor(QPalette::WindowText, QColor(0xB7, 0x2B, 0x91));
    RzLabel_Title->setPalette(palette);
  }
  RzLabel_version = new QLabel(QStringLiteral("Version:1.2"), this);
  RzLabel_version->setObjectName(QStringLiteral("RzLabel_version"));
  RzLabel_version->setGeometry(78, 46, 150, 18);
  RzLabel2 = new QLabel(QStringLiteral("岚川形音输入法版本"), this);
  RzLabel2->setObjectName(QStringLiteral("RzLabel2"));
  RzLabel2->setGeometry(78, 68, 160, 18);
  Image_Logo = new QLabel(this);
  Image_Logo->setObjectName(QStringLiteral("Image_Logo"));
  Image_Logo->setGeometry(248, 10, 114, 136);
  Image_Logo->setScaledContents(true);
  Bevel1 = new QFrame(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Bevel1->setGeometry(32, 150, 332, 4);
  Bevel2 = new QFrame(this);
  Bevel2->setObjectName(QStringLiteral("Bevel2"));
  Bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  Bevel2->setGeometry(32, 196, 332, 4);
  auto fact = [this](const char* name, int y, int h) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(songFont(12));
    label->setGeometry(34, y, 330, h);
    label->setWordWrap(true);
    return label;
  };
  RzLabel_Os = fact("RzLabel_Os", 206, 30);
  RzLabel_memory = fact("RzLabel_memory", 240, 30);
  RzLabel_Ip = fact("RzLabel_Ip", 274, 16);
  const QRect closePlace(300, 290, 64, 28);
  const FaceButton close = makeFaceButton(this, QStringLiteral("关闭"), "RzBmpButton_closeFace",
                                          "RzBmpButton_close", closePlace, closePlace);
  close.face->setFont(songFont(14));
  RzBmpButton_close = close.button;
  RzBmpButton_close->setToolTip(QStringLiteral("关闭“关于”"));
  RzBmpButton_close->setStatusTip(QStringLiteral("关闭“关于”"));
  connect(RzBmpButton_close, &QAbstractButton::clicked, this, &QDialog::accept);
  auto* dragger = new WindowDragger(this);
  for (QWidget* w : std::initializer_list<QWidget*>{this, LblTitle, Image_Logo, Image_Mylogo,
                                                    RzLabel_Title, RzLabel_version, RzLabel2,
                                                    RzLabel_Os, RzLabel_memory, RzLabel_Ip})
    dragger->watch(w);
}

QString TForm_About::memoryText(std::uint64_t totalBytes, const QLocale& locale) {
  // Whole kilobytes, thousands grouped with the locale's own separator.
  return locale.toString(static_cast<qulonglong>(totalBytes / 1024)) + QStringLiteral(" KB");
}

void TForm_About::useCaptionColours() {
  // The desktop's colours of an active title bar: its highlight colours.
  const QPalette desktop = QGuiApplication::palette();
  QPalette palette = LblTitle->palette();
  palette.setColor(QPalette::Window, desktop.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::WindowText,
                   desktop.color(QPalette::Active, QPalette::HighlightedText));
  LblTitle->setPalette(palette);
}

void TForm_About::placeOnShow() {
  // Centred on the desktop, not on the main window.
  QScreen* s = parentWidget() ? parentWidget()->screen() : screen();
  if (s) move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TForm_About::showEvent(QShowEvent* event) {
  useCaptionColours();
  if (texture_.isNull()) texture_ = quorvel::ui::libraryJpeg(library_, "Bgjpg");
  // Pictures are drawn when first needed, not while the tutor starts.
  if (Image_Logo->pixmap().isNull()) {
    Image_Mylogo->setPixmap(quorvel::glyphs::programIcon(32));
    Image_Logo->setPixmap(quorvel::glyphs::programIcon(136));
  }
  // Looked up at each showing, not at start-up: resolving the host name can
  // wait on the network, and the facts may have changed since.
  using quorvel::ui::withNewlines;
  RzLabel_Os->setText(QStringLiteral("系统名称：") +
                      withNewlines(QString::fromStdString(quorvel::platform::osDescription())));
  RzLabel_memory->setText(QStringLiteral("系统可用物理内存：\n") +
                          memoryText(quorvel::platform::physicalMemoryBytes(), QLocale()));
  RzLabel_Ip->setText(QStringLiteral("当前IP地址是：") +
                      QString::fromStdString(quorvel::platform::ipAddress()));
  // Every showing makes sure the settings key exists.
  quorvel::platform::Registry registry;
  quorvel::ui::ensureSettingsKey(registry);
  FormBase::showEvent(event);
}

void TForm_About::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (!texture_.isNull())
    painter.fillRect(rect(), QBrush(texture_));
  else
    painter.fillRect(rect(), quorvel::ui::kFormColour);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  FormBase::paintEvent(event);
}
