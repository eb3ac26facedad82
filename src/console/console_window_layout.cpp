#include "console/console_window.h"

namespace tidex {

// Pixel placement of the console's controls; the working fields stay out of sight.
void ConsoleWindow::layOut() {
  Move(0, 7, 590, 400);

  accountLabel.Move(10, 12, 40, 20);
  accountField.Move(52, 8, 120, 26);
  passwordLabel.Move(184, 12, 40, 20);
  passwordField.Move(226, 8, 120, 26);
  openWindowCaptionLabel.Move(364, 12, 48, 20);
  openWindowCountLabel.Move(412, 12, 40, 20);
  exitLabel.Move(520, 12, 40, 20);
  trayIconPicture.Move(548, 6, 32, 32);

  registrationLabel.Move(10, 46, 40, 20);
  customsPermitButton.Move(310, 40, 126, 30);
  feeRegistrationButton.Move(442, 40, 126, 30);

  locationLabel.Move(10, 80, 80, 20);
  locationField.Move(92, 76, 120, 26);
  activityTimeLabel.Move(226, 80, 340, 20);

  verificationHeading.Move(10, 112, 260, 20);
  batchListField.Move(10, 136, 170, 118);
  batchLineField.Move(190, 136, 130, 26);
  batchIndexLabel.Move(330, 140, 40, 20);
  batchCountLabel.Move(374, 140, 40, 20);
  batchStepButton.Move(190, 168, 120, 30);
  automaticBatchButton.Move(316, 168, 120, 30);
  batchListFetchButton.Move(442, 168, 126, 30);
  openWindowsButton.Move(190, 204, 120, 30);
  showAllButton.Move(316, 204, 126, 30);
  imctBcButton.Move(190, 240, 56, 30);
  imctBaButton.Move(252, 240, 56, 30);
  imctBeButton.Move(314, 240, 56, 30);

  for (const MonitorKind& kind : MonitorKinds()) {
    const QRect field = kind.fieldAt;
    const QRect button = kind.buttonAt;
    controlNamed<TextBox>(kind.field).Move(field.x(), field.y(), field.width(), field.height());
    controlNamed<CommandButton>(kind.button)
        .Move(button.x(), button.y(), button.width(), button.height());
  }

  batchFilterCheck.Move(10, 340, 70, 22);
  silentModeCheck.Move(84, 340, 100, 22);
  showNotificationCheck.Move(188, 340, 100, 22);
  hideConsoleCheck.Move(292, 340, 100, 22);
  hideTrayCheck.Move(396, 340, 120, 22);
  dailyReopenCheck.Move(10, 364, 260, 22);

  batchListBrowser.Move(0, 0, 400, 300);
  customsBrowser.Move(0, 0, 400, 300);
  batchListBrowser.setVisible(false);
  customsBrowser.setVisible(false);
  notificationMailBrowser.setVisible(false);
  notificationBoardBrowser.setVisible(false);

  accountField.setAccessibleName(accountLabel.Caption());
  passwordField.setAccessibleName(passwordLabel.Caption());
  registrationField.setAccessibleName(registrationLabel.Caption());
  locationField.setAccessibleName(locationLabel.Caption());
  batchListField.setAccessibleName(verificationHeading.Caption());
  batchLineField.setAccessibleName(QStringLiteral("批量船掛"));
  vesselField.setAccessibleName(vesselButton.Caption());
  wharfField.setAccessibleName(wharfButton.Caption());
  urlField.setAccessibleName(urlButton.Caption());
  openWindowCountLabel.setAccessibleName(openWindowCaptionLabel.Caption());
  trayIconPicture.setAccessibleName(QStringLiteral("Tidex"));
}

}  // namespace tidex
