#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "browser_harness.h"
#include "platform/command_button.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/text_box.h"

using namespace tidex;
using namespace tidex::e2e;

namespace {

// A frame holding a button from the start; a field moved into it once the window is up.
class FramedPanel final : public Form {
 public:
  FramedPanel() : Form(QStringLiteral("FramedPanel")) {
    pageFrame.Move(40, 30, 300, 200);
    batchStepButton.Move(10, 20, 100, 30);
    Text1.Move(10, 60, 100, 24);
    batchStepButton.setAccessibleName(QStringLiteral("framed button"));
    Text1.setAccessibleName(QStringLiteral("framed field"));
  }
  Frame pageFrame{*this, "Frame1", "Frame"};
  CommandButton batchStepButton{*this, pageFrame.holds("Command1"), "OK"};
  TextBox Text1{*this, "Text1"};
};

QWidget* widgetNamed(const QString& accessibleName) {
  for (QWidget* w : QApplication::allWidgets()) {
    if (w->accessibleName() == accessibleName) return w;
  }
  return nullptr;
}

}  // namespace

// On the real desktop a frame's state is its contents' state: Qt gives no input to a widget
// whose parent is disabled or hidden, and places it relative to the parent.
TEST(QtFrame, WhatIsInsideAFrameFollowsItsStateAndMovesWithIt) {
  ensureBrowserDesktop();
  auto& panel = Desktop::current().load<FramedPanel>();
  panel.Show();
  panel.Text1.placeIn(panel.pageFrame);
  QWidget* button = widgetNamed("framed button");
  QWidget* field = widgetNamed("framed field");
  ASSERT_NE(button, nullptr);
  ASSERT_NE(field, nullptr);

  for (QWidget* w : {button, field}) {
    SCOPED_TRACE(w->accessibleName().toStdString());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->isVisible());
    panel.pageFrame.setEnabled(false);
    EXPECT_FALSE(w->isEnabled());
    panel.pageFrame.setEnabled(true);
    EXPECT_TRUE(w->isEnabled());
    panel.pageFrame.setVisible(false);
    EXPECT_FALSE(w->isVisible());
    panel.pageFrame.setVisible(true);
    EXPECT_TRUE(w->isVisible());
  }
  const QWidget* client = button->window()->findChild<QWidget*>("FramedPanel_client");
  ASSERT_NE(client, nullptr);
  panel.pageFrame.Move(60, 50, 300, 200);
  EXPECT_EQ(
      button->mapTo(button->window(), QPoint(0, 0)) - client->mapTo(button->window(), QPoint(0, 0)),
      QPoint(70, 70));
  EXPECT_EQ(
      field->mapTo(field->window(), QPoint(0, 0)) - client->mapTo(field->window(), QPoint(0, 0)),
      QPoint(70, 110));
  panel.Unload();
}

namespace {
// A window that sets only its size, as the monitors do.
class SizedWindow final : public Form {
 public:
  SizedWindow() : Form(QStringLiteral("SizedWindow")) { Resize(400, 300); }
};
}  // namespace

// Two monitors opened one after the other do not open exactly on top of each other.
TEST(QtWindowPlacement, WindowsThatSetOnlyTheirSizeOpenCascaded) {
  ensureBrowserDesktop();
  auto& first = Desktop::current().load<SizedWindow>();
  first.Show();
  auto& second = Desktop::current().load<SizedWindow>();
  second.Show();
  QList<QWidget*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == "SizedWindow" && w->isVisible()) windows << w;
  }
  ASSERT_EQ(windows.size(), 2);
  EXPECT_NE(windows[0]->pos(), windows[1]->pos());
  EXPECT_EQ(windows[0]->size(), windows[1]->size());
  first.Unload();
  second.Unload();
}
