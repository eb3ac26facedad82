#include <utility>

#include "common/number_text.h"
#include "common/settings.h"
#include "common/timed_box.h"
#include "console/console_fields.h"
#include "console/form1.h"
#include "console/text_box_lines.h"
#include "console/window_snapshot.h"
#include "monitors/registration/form2.h"
#include "platform/desktop.h"

namespace tidex {

int Form1::BatchStepStart() {
  Text3.setText(Text3.Text().toUpper());
  Text4.setText(Text4.Text().toUpper());
  Text5.setText(TB_GetLine(Text4, static_cast<int>(Val(Label1.Caption()))));
  if (IsRunning(TakeWindowSnapshot(Text8), Text5.Text())) Text5.setText(QString());
  const int last = LastLineIndex(Text4.Text());
  Label2.setCaption(QString::number(last + 1));
  return last;
}

Form1::FilterVerdict Form1::FilterBatchLine() {
  Text6.setText(ReadSetting(QStringLiteral("Touchfiles"), Text5.Text(), QStringLiteral("0")));
  // A record that is not a number at all is left alone rather than taken for 0.
  const std::optional<double> record = NumberOf(Text6.Text());
  if (record == 0.0) return FilterVerdict::Launch;
  if (record == 1.0) return FilterVerdict::Done;
  return FilterVerdict::Skip;
}

void Form1::LaunchBatchLine(bool visible) {
  Form2& monitor = Desktop::current().load<Form2>(*this);
  monitor.setCaption(Text5.Text());
  if (visible) monitor.Show();
  MaskAccount();
  Text4.setLocked(true);
  SaveConsoleFields(*this, false);
}

void Form1::LaunchHiddenBatchLine() {
  if (!HasAccount()) {
    if (!std::exchange(accountMissingTold_, true)) TellAccountMissing();
    return;
  }
  accountMissingTold_ = false;
  LaunchBatchLine(false);
}

// The fields hold what was saved (empty when nothing was) or their placeholders before loading.
bool Form1::HasAccount() const {
  const QString account = Text1.Text().trimmed();
  const QString password = Text2.Text().trimmed();
  return !account.isEmpty() && account != QStringLiteral("ID") && !password.isEmpty() &&
         password != QStringLiteral("PWD");
}

Task Form1::TellAccountMissing() {
  co_await ShowTimedBox(QStringLiteral("尚未設定 IMCT 帳號及密碼，自動查詢未開啟海掛！ "), OkOnly);
}

void Form1::AdvanceBatchIndex() {
  Label1.setCaption(QString::number(static_cast<long long>(Val(Label1.Caption())) + 1));
}

void Form1::Command1_Click() {
  const int last = BatchStepStart();
  if (Val(Label1.Caption()) > last) {
    Command1.setEnabled(false);
    Text4.setLocked(true);
    Check1.setEnabled(false);
    Timer3.setEnabled(false);
    Check1.setValue(1);
    Label1.setCaption(QStringLiteral("0"));
    return;
  }
  if (!Text5.Text().isEmpty()) {
    if (Check1.Value() == 1) {
      switch (FilterBatchLine()) {
        case FilterVerdict::Launch:
          LaunchBatchLine(true);
          break;
        case FilterVerdict::Done:
          Desktop::current().beep(3000, 100);
          break;
        case FilterVerdict::Skip:
          break;
      }
    } else if (Check1.Value() == 0) {
      LaunchBatchLine(true);
    }
  }
  AdvanceBatchIndex();
}

void Form1::Command5_Click() {
  const int last = BatchStepStart();
  Command3.setEnabled(false);
  if (!Text4.Text().contains(QStringLiteral("CHECK")) || Val(Label1.Caption()) > last) {
    EndAutomaticBatch();
    return;
  }
  const QString line = Text5.Text();
  if (line != QStringLiteral("CHECK") && !line.isEmpty()) {
    if (Check1.Value() == 1) {
      if (FilterBatchLine() == FilterVerdict::Launch) LaunchHiddenBatchLine();
    } else if (Check1.Value() == 0) {
      LaunchHiddenBatchLine();
    }
  }
  AdvanceBatchIndex();
}

void Form1::EndAutomaticBatch() {
  Command1.setEnabled(false);
  Command3.setEnabled(true);
  Text4.setLocked(true);
  Check1.setEnabled(false);
  Timer3.setEnabled(false);
  Check1.setValue(1);
  Timer4.setEnabled(true);
  Label1.setCaption(QStringLiteral("0"));
}

void Form1::Text4_MouseDown(int /*button*/, int shift, int /*x*/, int /*y*/) {
  if (shift == (CtrlKey | AltKey)) {
    unlockBatchList();
  } else if (shift == CtrlKey) {
    Command1.setEnabled(false);
    Text4.setLocked(true);
    Check1.setEnabled(false);
  }
}

void Form1::unlockBatchList() {
  Command1.setEnabled(true);
  Text4.setLocked(false);
  Check1.setEnabled(true);
  Label1.setCaption(QStringLiteral("0"));
}

}  // namespace tidex
