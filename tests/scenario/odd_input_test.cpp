#include <gtest/gtest.h>

#include "board_path.h"
#include "test_printers.h"

#include "monitors/pilotboard/board_monitor_kinds.h"
#include "monitors/registration/registration_monitor.h"
#include "scenario/scenario_helpers.h"
#include "sites/port_sites.h"

using namespace tidex;
using namespace tidex::scenario;
using namespace std::chrono_literals;

// Whatever the user types into the console's fields, the program goes on: a monitor opens under
// the text as typed (upper-cased, without blanks for a registration number; blanks alone make a
// vessel or wharf monitor of that name) and works on it, or an empty item, or one that
// Tidex.ini could not keep as typed, is refused with a box and nothing opens.
TEST(OddInput, EveryLauncherCopesWithWhatEverIsTyped) {
  struct Launcher {
    TextBox ConsoleWindow::*field;
    CommandButton ConsoleWindow::*button;
  };
  const Launcher launchers[] = {
      {&ConsoleWindow::registrationField, &ConsoleWindow::registrationButton},
      {&ConsoleWindow::vesselField, &ConsoleWindow::vesselButton},
      {&ConsoleWindow::wharfField, &ConsoleWindow::wharfButton}};
  const QString inputs[] = {"a\"b'c",    "<b>x</b><script>alert(1)</script>",
                            "a&b#c%d+e", "長榮海運",
                            "长荣海运",  QString(1000, u'z'),
                            "   "};
  for (const Launcher& launcher : launchers) {
    for (const QString& input : inputs) {
      SCOPED_TRACE(input.left(40).toStdString());
      SimPortDesktop desk;
      saveKnownAccount();
      ConsoleWindow& console = startConsole(desk);
      desk.type(console.*launcher.field, input);
      desk.click(console.*launcher.button);
      desk.advance(5s);

      EXPECT_FALSE(desk.ended());
      const QString item = (console.*launcher.field).Text();
      if (item.isEmpty() || !FitsSettingsFile(item)) {
        EXPECT_EQ(desk.windows().count(), 1u);  // an empty item counts as running: refused
        ASSERT_EQ(desk.openBoxes().size(), 1u);
        desk.advance(9s);
        continue;
      }
      EXPECT_EQ(item, launcher.field == &ConsoleWindow::registrationField
                          ? input.toUpper().remove(u' ')
                          : input.toUpper());
      EXPECT_NE(findWindow(desk, item), nullptr);
      EXPECT_TRUE(desk.openBoxes().empty());
    }
  }
}

// The board query carries a wharf code unescaped, as the board expects it: a "#" cuts the query
// there, so the board is asked for the part before it.
TEST(OddInput, AHashInAWharfCodeCutsTheBoardQuery) {
  SimPortDesktop desk;
  ConsoleWindow& console = startConsole(desk);
  typeAndClick(desk, console.wharfField, "11#08", console.wharfButton);
  desk.advance(3s);
  EXPECT_EQ(desk.sites().requestLog().filter(kBoardPath).front(),
            "GET " + kBoardPath + "?QSP_ID=&QSP_ENAME=&QSP_PORT=11");
}
