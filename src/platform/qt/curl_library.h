#pragma once

#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

namespace tidex {

// libcurl's functions that mail sending uses, loaded the first time a mail is sent: a program
// with no mail target never maps the library.
struct CurlLibrary {
  decltype(&curl_global_init) globalInit = nullptr;
  decltype(&curl_easy_init) easyInit = nullptr;
  decltype(&curl_easy_setopt) easySetopt = nullptr;
  decltype(&curl_easy_perform) easyPerform = nullptr;
  decltype(&curl_easy_cleanup) easyCleanup = nullptr;
  decltype(&curl_easy_strerror) easyStrerror = nullptr;
  decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
  decltype(&curl_slist_append) slistAppend = nullptr;
  decltype(&curl_slist_free_all) slistFreeAll = nullptr;

  // The library, loaded and set up once (on the main thread before any worker uses it); null
  // when libcurl is not installed.
  static const CurlLibrary* load();
};

}  // namespace tidex
