#include "pilot_roster.h"

#include <array>

#include "platform/ansi_text.h"

namespace tidex::sites {
namespace {

struct Pilot {
  const char16_t* number;
  const char16_t* name;
};

constexpr std::array<Pilot, 53> kPilots{{
    {u"0035", u"林志成"}, {u"0037", u"王大明"}, {u"0039", u"陳建宏"}, {u"0041", u"黃俊傑"},
    {u"0042", u"張家豪"}, {u"0043", u"李宗翰"}, {u"0044", u"吳明哲"}, {u"0045", u"劉冠廷"},
    {u"0046", u"蔡承恩"}, {u"0047", u"楊書豪"}, {u"0048", u"許文彬"}, {u"0049", u"鄭凱文"},
    {u"0050", u"謝宏達"}, {u"0051", u"郭信良"}, {u"0052", u"洪斌"},   {u"0053", u"曾國華"},
    {u"0054", u"邱士賢"}, {u"0055", u"廖正雄"}, {u"0056", u"賴永福"}, {u"0057", u"周世昌"},
    {u"0058", u"葉明輝"}, {u"0059", u"蘇俊明"}, {u"0060", u"莊志偉"}, {u"0061", u"呂建志"},
    {u"0062", u"江育誠"}, {u"0063", u"何家銘"}, {u"0064", u"蕭德勝"}, {u"0065", u"羅文雄"},
    {u"0066", u"高翔"},   {u"0067", u"潘冠宇"}, {u"0068", u"簡志明"}, {u"0069", u"朱彥廷"},
    {u"0070", u"鍾明達"}, {u"0071", u"彭俊宏"}, {u"0072", u"游正義"}, {u"0073", u"詹勝雄"},
    {u"0074", u"胡耀文"}, {u"0075", u"施榮華"}, {u"0076", u"沈家榮"}, {u"0077", u"余炳坤"},
    {u"0078", u"盧凱"},   {u"0079", u"梁中信"}, {u"0080", u"趙天祥"}, {u"0081", u"顏宏志"},
    {u"0082", u"柯清水"}, {u"0083", u"翁啟明"}, {u"0084", u"魏忠憲"}, {u"0085", u"孫建國"},
    {u"0086", u"戴誠"},   {u"0087", u"范振和"}, {u"0088", u"方仁傑"}, {u"0089", u"宋文龍"},
    {u"0090", u"石國棟"},
}};

}  // namespace

QList<QPair<QString, QString>> KnownPilots() {
  QList<QPair<QString, QString>> pilots;
  pilots.reserve(kPilots.size());
  for (const Pilot& pilot : kPilots) {
    pilots.append({QString::fromUtf16(pilot.number), QString::fromUtf16(pilot.name)});
  }
  return pilots;
}

QString PilotName(const QString& number) {
  for (const Pilot& pilot : kPilots) {
    if (number == QStringView(pilot.number)) return QString::fromUtf16(pilot.name);
  }
  return {};
}

QByteArray PilotsIniSection() {
  QString section = QStringLiteral("[pilots]\r\n");
  for (const Pilot& pilot : kPilots) {
    section += QString::fromUtf16(pilot.number) + QLatin1Char('=') +
               QString::fromUtf16(pilot.name) + QStringLiteral("\r\n");
  }
  return toAnsi(section);
}

}  // namespace tidex::sites
