#pragma once

#include <functional>

#include <QString>

#include "platform/secret_keeper.h"

namespace tidex {

// The keyring module (tidex-keyring.so, QtKeychain underneath), loaded the first time a secret
// is kept or read: a program with no target that has a secret never maps QtKeychain. Each call
// starts its job at once and answers once, later, from the dispatch loop.
class KeyringModule {
 public:
  virtual ~KeyringModule() = default;
  virtual void store(const QString& key, const QString& secret, std::function<void(bool)> done) = 0;
  virtual void read(const QString& key, std::function<void(SecretRead)> done) = 0;
  virtual void remove(const QString& key, std::function<void(bool)> done) = 0;

 protected:
  KeyringModule() = default;
  KeyringModule(const KeyringModule&) = default;
  KeyringModule& operator=(const KeyringModule&) = default;
};

// The module's one exported function: its KeyringModule, alive as long as the module is loaded.
using KeyringModuleEntry = KeyringModule* (*)();
inline constexpr char kKeyringModuleEntry[] = "tidex_keyring_module";
inline constexpr char kKeyringModuleFile[] = "tidex-keyring.so";

}  // namespace tidex
