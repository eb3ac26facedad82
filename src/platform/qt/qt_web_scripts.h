#pragma once

#include <QString>

namespace tidex {

// The scripts the back end runs in pages. Values from users or pages enter a script only as
// JSON string literals, element indexes only as integers.

// Installed in every frame at document creation, in the page's own world: alert, confirm,
// prompt and showModalDialog do nothing and return undefined.
QString dialogNeutraliserScript();

// Returns, as a JSON text, the top-level document's elements in document order, its rendered
// text and its address: {"e":[[tag,name,value,type,src,navigates]...],"t":text,"u":url}.
// navigates is 1 when clicking the element is expected to start a navigation.
QString snapshotScript();

// Sets the value of the element at this index of document.getElementsByTagName('*').
QString setValueScript(int index, const QString& value);

// Clicks the element at this index of document.getElementsByTagName('*').
QString clickScript(int index);

// The text as a JavaScript string literal (JSON, line and paragraph separators escaped too).
QString jsonStringLiteral(const QString& text);

}  // namespace tidex
