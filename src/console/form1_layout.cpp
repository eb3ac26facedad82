#include "console/form1.h"

namespace tidex {

// Pixel placement of the console's controls; the working fields stay out of sight.
void Form1::layOut() {
  Move(0, 7, 590, 400);

  Label3.Move(10, 12, 40, 20);
  Text1.Move(52, 8, 120, 26);
  Label4.Move(184, 12, 40, 20);
  Text2.Move(226, 8, 120, 26);
  Label7.Move(364, 12, 48, 20);
  Label6.Move(412, 12, 40, 20);
  Label8.Move(520, 12, 40, 20);
  Picture1.Move(548, 6, 32, 32);

  Label5.Move(10, 46, 40, 20);
  Text3.Move(52, 42, 120, 26);
  Command2.Move(184, 40, 120, 30);
  Command9.Move(310, 40, 126, 30);
  Command11.Move(442, 40, 126, 30);

  Label9.Move(10, 80, 80, 20);
  Text11.Move(92, 76, 120, 26);
  Label11.Move(226, 80, 340, 20);

  Label10.Move(10, 112, 260, 20);
  Text4.Move(10, 136, 170, 118);
  Text5.Move(190, 136, 130, 26);
  Label1.Move(330, 140, 40, 20);
  Label2.Move(374, 140, 40, 20);
  Command1.Move(190, 168, 120, 30);
  Command5.Move(316, 168, 120, 30);
  Command6.Move(442, 168, 126, 30);
  Command3.Move(190, 204, 120, 30);
  Command4.Move(316, 204, 126, 30);
  Command8.Move(190, 240, 56, 30);
  Command13.Move(252, 240, 56, 30);
  Command14.Move(314, 240, 56, 30);

  Text9.Move(10, 270, 170, 26);
  Command7.Move(190, 268, 80, 30);
  Text12.Move(282, 270, 90, 26);
  Command10.Move(380, 268, 80, 30);
  Text13.Move(10, 304, 460, 26);
  Command12.Move(480, 302, 88, 30);

  Check1.Move(10, 340, 70, 22);
  Check2.Move(84, 340, 100, 22);
  Check3.Move(188, 340, 100, 22);
  Check4.Move(292, 340, 100, 22);
  Check6.Move(396, 340, 120, 22);
  Check5.Move(10, 364, 260, 22);

  WebBrowser2.Move(0, 0, 400, 300);
  WebBrowser3.Move(0, 0, 400, 300);
  WebBrowser2.setVisible(false);
  WebBrowser3.setVisible(false);
  notificationMailBrowser.setVisible(false);
  notificationBoardBrowser.setVisible(false);
  Text6.setVisible(false);
  Text8.setVisible(false);
  Text10.setVisible(false);

  Text1.setAccessibleName(Label3.Caption());
  Text2.setAccessibleName(Label4.Caption());
  Text3.setAccessibleName(Label5.Caption());
  Text11.setAccessibleName(Label9.Caption());
  Text4.setAccessibleName(Label10.Caption());
  Text5.setAccessibleName(QStringLiteral("批量船掛"));
  Text9.setAccessibleName(Command7.Caption());
  Text12.setAccessibleName(Command10.Caption());
  Text13.setAccessibleName(Command12.Caption());
  Label6.setAccessibleName(Label7.Caption());
  Picture1.setAccessibleName(QStringLiteral("Tidex"));
}

}  // namespace tidex
