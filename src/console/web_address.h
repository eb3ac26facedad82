#pragma once

#include <optional>

#include <QString>

namespace tidex {

// The page address the URL monitor watches for what the user typed: an http or https address
// as typed, or a bare one completed as a browser completes it ("www.example.com/page" gives
// "http://www.example.com/page"); none for anything else (file, script, data, ftp addresses).
// Bare means a host name with a dot, or a name with a port ("localhost:8080/x"): a name followed
// by a number can only be a host and its port, never a scheme.
std::optional<QString> WatchedPageAddress(const QString& typed);

}  // namespace tidex
