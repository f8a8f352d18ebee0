#include "app/HelpViewer.h"

#include <QFile>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/Gbk.h"
#include "ui/Look.h"
#include "ui/QtSupport.h"

namespace {
constexpr const char* kHelpFileName = "QUORVEL.HLP";
}

HelpViewer::HelpViewer(std::filesystem::path programDir, QWidget* parent)
    : QWidget(parent, Qt::Window), programDir_(std::move(programDir)) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("奎沃/Quorvel 帮助"));
  resize(640, 520);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  TextBrowser_help = new QTextBrowser(this);
  TextBrowser_help->setObjectName(QStringLiteral("TextBrowser_help"));
  TextBrowser_help->setOpenExternalLinks(false);
  TextBrowser_help->setOpenLinks(true);
  TextBrowser_help->setFont(quorvel::ui::songFont(15));
  layout->addWidget(TextBrowser_help);
  TextBrowser_help->installEventFilter(this);
  quorvel::ui::applyTutorPalette(this);
}

bool HelpViewer::closesWindow(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  return (key.key() == Qt::Key_Escape && mods == Qt::NoModifier) ||
         (key.key() == Qt::Key_W && mods == Qt::ControlModifier);
}

void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (closesWindow(*event))
    close();
  else
    QWidget::keyPressEvent(event);
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TextBrowser_help && event->type() == QEvent::KeyPress &&
      closesWindow(*static_cast<QKeyEvent*>(event))) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

std::filesystem::path HelpViewer::helpFile() const {
  return quorvel::platform::findDataFile(programDir_, kHelpFileName);
}

void HelpViewer::openContext(int context) {
  context_ = context;
  fileShown_ = false;
  const std::filesystem::path file = helpFile();
  QByteArray bytes;
  bool read = false;
  if (!file.empty()) {
    QFile in(QString::fromStdString(file.string()));
    if (in.open(QIODevice::ReadOnly)) {
      bytes = in.readAll();
      read = true;
    }
  }
  if (!read) {
    QStringList places;
    for (const auto& dir : quorvel::platform::dataSearchDirs(programDir_))
      places << QStringLiteral("<li>%1</li>")
                    .arg(QString::fromStdString(dir.string()).toHtmlEscaped());
    TextBrowser_help->setHtml(
        QStringLiteral("<h3>找不到帮助文件 %1</h3><p>查找过的位置：</p><ul>%2</ul>")
            .arg(QString::fromLatin1(kHelpFileName), places.join(QString())));
  } else {
    // The help file is UTF-8 HTML; an older GBK one is read as GBK.
    const std::string_view raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QString html = QString::fromUtf8(bytes);
    if (html.contains(QChar::ReplacementCharacter) && !bytes.contains("\xEF\xBF\xBD"))
      html = quorvel::ui::fromGbk(raw);
    TextBrowser_help->setSearchPaths({QString::fromStdString(file.parent_path().string())});
    TextBrowser_help->setHtml(html);
    TextBrowser_help->scrollToAnchor(QString::number(context));
    fileShown_ = true;
  }
  if (!isVisible() && parentWidget()) {
    const QRect owner = parentWidget()->window()->frameGeometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  activateWindow();
}
