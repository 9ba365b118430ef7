// Shared support of the window test suites: fonts, a watchdog for unexpected modal dialogs,
// and screenshots into the build folder.
#pragma once

#include "chart/chart.hpp"

#include <QString>

class QWidget;

namespace vantora::ui::testing {

/// Installs the font substitutes and starts the modal-dialog watchdog. Call from initTestCase().
void prepare_ui_test();

/// While set, a modal dialog that appears is closed and reported as a test failure after
/// `grace_ms`, so that a test never hangs on it. Tests that expect a dialog answer it themselves
/// within the grace time (for example with a single-shot timer).
void set_modal_watchdog(bool enabled, int grace_ms = 2000);

/// The chart's texts as the controls under window show them, read back control by control.
ChartTexts texts_on_screen(const QWidget* window);

/// Whether the labels of luck pillar i (0..10) under window are bold.
bool luck_bold_on_screen(const QWidget* window, int i);

/// Waits until window is the application's active window. QTest::qWaitForWindowActive does not
/// tell a window from its owner: it counts either as active while the other has the focus.
[[nodiscard]] bool wait_until_active(const QWidget* window);

/// Saves widget->grab() as <build>/screenshots/<name>.png; returns the path.
QString save_screenshot(QWidget* widget, const QString& name);

} // namespace vantora::ui::testing
