#pragma once
// The tutor looks the same on every desktop: each of its windows carries a
// full palette of its own (the form grey 0xE0E0E0, black text on white
// fields), so a dark desktop theme changes none of its colours. Hints show
// after 500 ms, and Qt's own dialogs speak the user's language.
#include <QLocale>
#include <QPalette>

class QCoreApplication;
class QTranslator;
class QWidget;

namespace quorvel::ui {

inline constexpr int kHintDelayMs = 500;

// Every role of every colour group set, so nothing is taken from the desktop.
QPalette tutorPalette();
// Gives a window (and so all its children) the tutor's palette.
void applyTutorPalette(QWidget* window);
// The application's style with the tutor's hint delay, and hints in the
// tutor's colours.
void installTutorStyle();
// Loads Qt's own translations (file dialog, standard buttons) for `locale`
// and installs them; null when there are none for it.
QTranslator* installQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace quorvel::ui
