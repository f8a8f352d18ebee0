#include "ui/Look.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolTip>
#include <QTranslator>
#include <QWidget>

#include "ui/QtSupport.h"

namespace quorvel::ui {

namespace {

class TutorStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return kHintDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
  // A raised tool button shows the keyboard focus with the dotted frame too.
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ToolButton && (option->state & State_HasFocus)) {
      QStyleOptionFocusRect focus;
      focus.QStyleOption::operator=(*option);
      focus.rect = option->rect.adjusted(2, 2, -2, -2);
      drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
  }
};

}  // namespace

QPalette tutorPalette() {
  const QColor black(Qt::black), white(Qt::white), grey(0x80, 0x80, 0x80);
  QPalette p;
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Window, kFormColour);
    p.setColor(group, QPalette::WindowText, black);
    p.setColor(group, QPalette::Base, white);
    p.setColor(group, QPalette::AlternateBase, QColor(0xF5, 0xF5, 0xF5));
    p.setColor(group, QPalette::Text, black);
    p.setColor(group, QPalette::Button, kFormColour);
    p.setColor(group, QPalette::ButtonText, black);
    p.setColor(group, QPalette::BrightText, white);
    p.setColor(group, QPalette::PlaceholderText, grey);
    p.setColor(group, QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    p.setColor(group, QPalette::ToolTipText, black);
    p.setColor(group, QPalette::Highlight, QColor(0x0A, 0x24, 0x6A));
    p.setColor(group, QPalette::HighlightedText, white);
    p.setColor(group, QPalette::Link, QColor(0x00, 0x00, 0xFF));
    p.setColor(group, QPalette::LinkVisited, QColor(0x80, 0x00, 0x80));
  }
  // Disabled: grey text on the same grounds.
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    const auto r = static_cast<QPalette::ColorRole>(role);
    if (r == QPalette::NoRole) continue;
    p.setColor(QPalette::Disabled, r, p.color(QPalette::Active, r));
  }
  for (const QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, r, grey);
  p.setColor(QPalette::Disabled, QPalette::Base, kFormColour);
  // The bevels and shadows of frames and buttons.
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Light, white);
    p.setColor(group, QPalette::Midlight, QColor(0xF0, 0xF0, 0xF0));
    p.setColor(group, QPalette::Mid, QColor(0xA0, 0xA0, 0xA0));
    p.setColor(group, QPalette::Dark, grey);
    p.setColor(group, QPalette::Shadow, QColor(0x40, 0x40, 0x40));
  }
  return p;
}

void applyTutorPalette(QWidget* window) {
  if (!window) return;
  // The whole palette: any role left out would come from the desktop.
  window->setPalette(tutorPalette());
}

void installTutorStyle() {
  QApplication::setStyle(new TutorStyle);
  QToolTip::setPalette(tutorPalette());
}

QTranslator* installQtTranslations(QCoreApplication& app, const QLocale& locale) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return nullptr;
  }
  QCoreApplication::installTranslator(translator);
  return translator;
}

}  // namespace quorvel::ui
