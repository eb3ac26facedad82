#pragma once

#include <vector>

#include <QComboBox>
#include <QTextBrowser>
#include <QTreeWidget>

#include "platform/combo_box.h"
#include "platform/list_view.h"
#include "platform/qt/qt_widget_peer.h"
#include "platform/text_pane.h"

namespace tidex {

// A ListView as a flat QTreeWidget with a header; the user's selection is reported back.
class ListViewPeer final : public WidgetPeer {
 public:
  ListViewPeer(ListView& list, QWidget* parent);
  void sync() override;

 private:
  QTreeWidget* tree() const { return static_cast<QTreeWidget*>(widget()); }
  void selectionMoved();
  void rowActivated(QTreeWidgetItem* item);

  ListView& control_;
  QStringList columns_;
  std::vector<QStringList> rows_;
  bool pushing_ = false;
};

// A ComboBox as a QComboBox that is not editable; the user's choice is reported back.
class ComboBoxPeer final : public WidgetPeer {
 public:
  ComboBoxPeer(ComboBox& box, QWidget* parent);
  void sync() override;

 private:
  QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

  ComboBox& control_;
  bool pushing_ = false;
};

// A TextPane as a read-only QTextBrowser; marked runs are highlighted (struck through when
// they were taken out), and the text stays selectable by keyboard for screen readers.
class TextPanePeer final : public WidgetPeer {
 public:
  TextPanePeer(TextPane& pane, QWidget* parent);
  void sync() override;

 private:
  QTextBrowser* browser() const { return static_cast<QTextBrowser*>(widget()); }

  TextPane& control_;
  TextRuns shown_;
};

}  // namespace tidex
