#include "platform/qt/curl_library.h"

#include <QLibrary>

namespace tidex {
namespace {

template <class F>
bool resolve(QLibrary& library, const char* name, F& function) {
  function = reinterpret_cast<F>(library.resolve(name));
  return function != nullptr;
}

// Kept loaded for the rest of the run: worker threads may still be inside it.
const CurlLibrary* loadOnce() {
  static QLibrary library(QStringLiteral("curl"), 4);
  static CurlLibrary curl;
  if (!library.load()) return nullptr;
  const bool complete = resolve(library, "curl_global_init", curl.globalInit) &&
                        resolve(library, "curl_easy_init", curl.easyInit) &&
                        resolve(library, "curl_easy_setopt", curl.easySetopt) &&
                        resolve(library, "curl_easy_perform", curl.easyPerform) &&
                        resolve(library, "curl_easy_cleanup", curl.easyCleanup) &&
                        resolve(library, "curl_easy_strerror", curl.easyStrerror) &&
                        resolve(library, "curl_easy_getinfo", curl.easyGetinfo) &&
                        resolve(library, "curl_slist_append", curl.slistAppend) &&
                        resolve(library, "curl_slist_free_all", curl.slistFreeAll);
  if (!complete || curl.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
  return &curl;
}

}  // namespace

const CurlLibrary* CurlLibrary::load() {
  static const CurlLibrary* const loaded = loadOnce();
  return loaded;
}

}  // namespace tidex
