#pragma once

#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

namespace tidex {

// Private profile (.ini) files read and written as raw code page bytes.
//
// A section starts at a line "[name]"; its keys are the lines "key=value" up to the next section.
// Section and key names match without regard to ASCII case or surrounding blanks, and the first
// matching section and key win. Lines starting with ';' are comments.
class ProfileFile {
 public:
  ProfileFile() = delete;

  // The value of key in section, blanks trimmed and one pair of matching quotes removed, or
  // defaultValue when the file, section or key is missing. The result is cut to bufferSize - 1
  // bytes without splitting a double-byte character.
  static QByteArray getString(const QByteArray& section, const QByteArray& key,
                              const QByteArray& defaultValue, int bufferSize, const QString& path);

  // Every key of section with its value (trimmed and unquoted as by getString), in file order;
  // a key that stands twice counts once, with its first value. Empty when the file or section
  // is missing. One read of the file, for callers that need many keys.
  static std::vector<std::pair<QByteArray, QByteArray>> getSection(const QByteArray& section,
                                                                   const QString& path);

  // Sets key in section to value, adding the key, the section or the file as needed. Lines the
  // change does not touch keep their bytes; new lines end in CRLF. CR and LF in value become
  // blanks. The file is replaced atomically; false, with nothing changed, when a name is empty
  // or holds a line break, the key could not be read back (';' or '[' first, or an '='), or the
  // file cannot be read or written.
  //
  // A file the write creates is its owner's alone (0600); with Privacy::Secret an existing file
  // that others may read is made so too, as the value holds a secret.
  enum class Privacy { Kept, Secret };
  static bool writeString(const QByteArray& section, const QByteArray& key, const QByteArray& value,
                          const QString& path, Privacy privacy = Privacy::Kept);

  // Removes key from section, or with an empty key the whole section, its header and keys up to
  // the next section; the rest keeps its bytes. Atomic as writeString; true also when there was
  // nothing to remove.
  static bool remove(const QByteArray& section, const QByteArray& key, const QString& path);
};

}  // namespace tidex
