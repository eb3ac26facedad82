#pragma once

#include <vector>

#include "platform/combo_box.h"
#include "platform/command_button.h"
#include "platform/form.h"
#include "platform/frame.h"
#include "platform/journal_reader.h"
#include "platform/label.h"
#include "platform/list_view.h"
#include "platform/text_box.h"
#include "platform/text_pane.h"
#include "platform/timer.h"

namespace tidex {

// "變更紀錄": the journal of what the monitors found, newest first, filtered by a part of the
// window caption and by kind; the selected entry's lines before and after, side by side, with
// the words that changed marked. It only reads the journal, afresh on opening, on "重新整理"
// and every little while.
class ChangeLogWindow final : public Form {
 public:
  static constexpr int kNewest = 1000;  // entries listed at most
  static QString WindowCaption();
  // The kind's name as the list shows it; the kind itself when it is not one the console opens.
  static QString KindName(const QString& kind);

  ChangeLogWindow();

  Label captionFilterLabel{*this, "captionFilterLabel", "視窗"};
  TextBox captionFilterField{*this, "captionFilterField"};
  Label kindFilterLabel{*this, "kindFilterLabel", "種類"};
  ComboBox kindFilterBox{*this, "kindFilterBox"};
  CommandButton refreshButton{*this, "refreshButton", "重新整理"};
  Label statusLabel{*this, "statusLabel"};
  ListView entryList{*this, "entryList", {"時間", "視窗", "種類", "摘要"}};
  Frame beforeFrame{*this, "beforeFrame", "變更前"};
  TextPane beforePane{*this, beforeFrame.holds("beforePane"), TextPane::Marking::Removed};
  Frame afterFrame{*this, "afterFrame", "變更後"};
  TextPane afterPane{*this, afterFrame.holds("afterPane"), TextPane::Marking::Added};
  Timer refreshTimer{*this, "refreshTimer", 15s, true};

  // The entries listed, in the list's order.
  const std::vector<journal::Entry>& entries() const { return entries_; }

  void onLoad() override;
  void onResize() override;
  // Reads the journal again with the filters as they are; keeps the selected entry selected.
  void Refresh();
  void showSelectedEntry();

 private:
  void layOut(int width, int height);
  QString kindFilter() const;
  void showStatus(const journal::Reading& reading);

  std::vector<journal::Entry> entries_;
};

}  // namespace tidex
