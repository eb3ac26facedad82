#include "maker_pages.h"

#include <array>

#include "big5_page.h"

namespace tidex::sites {
namespace {

struct PlainPage {
  const char* path;
  const char16_t* title;
  const char16_t* body;
};

constexpr std::array kPages{
    PlainPage{"/pda/Tidex_error.php", u"Tidex 帳號錯誤",
              u"<h2>IMCT 帳號或密碼錯誤</h2>\r\n<p>請在主控台檢查 IMCT 帳號與密碼。</p>\r\n"},
    PlainPage{"/pda/imct.php", u"卸貨准單清表查詢 BC",
              u"<h2>卸貨准單清表查詢 BC</h2>\r\n<p>BC 類卸貨准單清表。</p>\r\n"},
    PlainPage{"/pda/imctba.php", u"卸貨准單清表查詢 BA",
              u"<h2>卸貨准單清表查詢 BA</h2>\r\n<p>BA 類卸貨准單清表。</p>\r\n"},
    PlainPage{"/pda/imctbe.php", u"卸貨准單清表查詢 BE",
              u"<h2>卸貨准單清表查詢 BE</h2>\r\n<p>BE 類卸貨准單清表。</p>\r\n"},
};

const PlainPage* find(const QByteArray& path) {
  for (const PlainPage& page : kPages) {
    if (path == page.path) return &page;
  }
  return nullptr;
}

}  // namespace

bool IsMakerPlainPage(const QByteArray& path) { return find(path) != nullptr; }

SiteResponse MakerPlainPage(const QByteArray& path) {
  const PlainPage* page = find(path);
  if (!page) return {404, "text/html; charset=big5", {}};
  return {200, "text/html; charset=big5",
          Big5Page(QString::fromUtf16(page->title), QString::fromUtf16(page->body))};
}

}  // namespace tidex::sites
