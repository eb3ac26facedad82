#pragma once

#include <QString>

#include "common/console_state.h"
#include "platform/form.h"
#include "platform/html_document.h"
#include "platform/task.h"
#include "platform/web_browser.h"

namespace tidex {

// The IMCT pages' marker texts.
inline constexpr char16_t kImctTitle[] = u"貨櫃物動態查核系統";
inline constexpr char16_t kImctRefused[] = u"USERID or PASSWORD is Error";
inline constexpr char16_t kImctLoginLost[] = u"非法登入";

// Goes through the page's inputs once: the console's account into "UserName" and "Passwd"
// (only on pages of the IMCT server), the registration number into "vesregno" where one is
// given, and a click on every submit input.
void FillImctForms(HtmlDocument& document, ConsoleState& console,
                   const QString* registrationNumber = nullptr);

// Clicks the first image of the page whose source is the IMCT image button's full address.
void ClickImctImageButton(HtmlDocument& document);

// The account was refused: the maker's error page, the box, then the whole program ends,
// whatever the answer.
Task ImctLoginFailure(Form& window, WebBrowser& browser);

}  // namespace tidex
