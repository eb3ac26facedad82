#include "platform/profile_file.h"

#include <algorithm>
#include <optional>

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <vector>

namespace tidex {
namespace {

// One line of the file: content is [begin, end), the line break (if any) [end, next).
struct Line {
  qsizetype begin;
  qsizetype end;
  qsizetype next;
};

std::vector<Line> splitLines(const QByteArray& data) {
  std::vector<Line> lines;
  const qsizetype size = data.size();
  qsizetype begin = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char c = data[i];
    if (c != '\r' && c != '\n') continue;
    const qsizetype end = i;
    if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
    lines.push_back({begin, end, i + 1});
    begin = i + 1;
  }
  if (begin < size) lines.push_back({begin, size, size});
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimBlanks(QByteArrayView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.sliced(begin, end - begin);
}

bool isLeadByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x81 && byte <= 0xFE;
}

char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares names ignoring ASCII case; the trail byte of a double-byte character is not a letter.
bool namesEqual(QByteArrayView a, QByteArrayView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (isLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (foldCase(a[i]) != foldCase(b[i])) {
      return false;
    }
  }
  return true;
}

// The parsed lines of a profile file.
class Profile {
 public:
  explicit Profile(const QByteArray& data) : data_(data), lines_(splitLines(data)) {}

  const std::vector<Line>& lines() const { return lines_; }

  QByteArrayView content(qsizetype index) const {
    const Line& line = lines_[index];
    return QByteArrayView(data_).sliced(line.begin, line.end - line.begin);
  }

  // Whether the line is a section header; if so, sets name.
  bool isSection(qsizetype index, QByteArrayView* name) const {
    const QByteArrayView text = trimBlanks(content(index));
    if (!text.startsWith('[')) return false;
    const qsizetype close = text.lastIndexOf(']');
    if (close < 1) return false;
    *name = trimBlanks(text.sliced(1, close - 1));
    return true;
  }

  // Whether the line is a key line; if so, sets key and the raw text after '='.
  bool isKey(qsizetype index, QByteArrayView* key, QByteArrayView* value) const {
    const QByteArrayView text = content(index);
    const QByteArrayView trimmed = trimBlanks(text);
    if (trimmed.startsWith(';')) return false;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) return false;
    *key = trimBlanks(text.first(equals));
    *value = text.sliced(equals + 1);
    return true;
  }

  // The header line of the first section called name, or -1.
  qsizetype findSection(QByteArrayView name) const {
    QByteArrayView found;
    for (qsizetype i = 0; i < qsizetype(lines_.size()); ++i) {
      if (isSection(i, &found) && namesEqual(found, name)) return i;
    }
    return -1;
  }

  // The line after the last line of the section starting at header.
  qsizetype sectionEnd(qsizetype header) const {
    QByteArrayView name;
    qsizetype i = header + 1;
    while (i < qsizetype(lines_.size()) && !isSection(i, &name)) ++i;
    return i;
  }

  // The first line in [from, to) holding the key, or -1; sets its raw value and its spelling.
  qsizetype findKey(qsizetype from, qsizetype to, QByteArrayView name, QByteArrayView* value,
                    QByteArrayView* spelling) const {
    QByteArrayView key;
    for (qsizetype i = from; i < to; ++i) {
      if (isKey(i, &key, value) && namesEqual(key, name)) {
        *spelling = key;
        return i;
      }
    }
    return -1;
  }

 private:
  const QByteArray& data_;
  std::vector<Line> lines_;
};

QByteArrayView unquote(QByteArrayView value) {
  value = trimBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.sliced(1, value.size() - 2);
  }
  return value;
}

// At most bufferSize - 1 bytes of text, dropping a double-byte character the cut would split.
QByteArray fitBuffer(QByteArrayView text, int bufferSize) {
  const qsizetype limit = bufferSize > 0 ? bufferSize - 1 : 0;
  if (text.size() <= limit) return text.toByteArray();
  qsizetype kept = 0;
  while (kept < limit) {
    const qsizetype width = isLeadByte(text[kept]) ? 2 : 1;
    if (kept + width > limit) break;
    kept += width;
  }
  return text.first(kept).toByteArray();
}

bool hasLineBreak(QByteArrayView text) { return text.contains('\r') || text.contains('\n'); }

QByteArray keyLine(QByteArrayView key, QByteArrayView value) {
  QByteArray line = key.toByteArray();
  line += '=';
  line += value;
  return line;
}

// The file contents with key set in section.
QByteArray withValue(const QByteArray& data, QByteArrayView section, QByteArrayView key,
                     QByteArrayView value) {
  static const QByteArray kCrLf = QByteArrayLiteral("\r\n");
  const Profile profile(data);
  const auto& lines = profile.lines();
  const qsizetype header = profile.findSection(section);
  if (header < 0) {
    QByteArray out = data;
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += kCrLf;
    out += '[' + section.toByteArray() + ']' + kCrLf;
    out += keyLine(key, value) + kCrLf;
    return out;
  }

  const qsizetype end = profile.sectionEnd(header);
  QByteArrayView oldValue;
  QByteArrayView spelling;
  const qsizetype found = profile.findKey(header + 1, end, key, &oldValue, &spelling);
  if (found >= 0) {
    const Line& line = lines[found];
    return data.first(line.begin) + keyLine(spelling, value) + data.sliced(line.end);
  }

  qsizetype last = end - 1;
  while (last > header && trimBlanks(profile.content(last)).isEmpty()) --last;
  const Line& line = lines[last];
  QByteArray inserted;
  if (line.next == line.end) inserted += kCrLf;  // the last line of the file had no line break
  inserted += keyLine(key, value) + kCrLf;
  return data.first(line.next) + inserted + data.sliced(line.next);
}

// The file contents without key in section (or without the section when key is empty).
QByteArray withoutKey(const QByteArray& data, QByteArrayView section, QByteArrayView key) {
  const Profile profile(data);
  const auto& lines = profile.lines();
  const qsizetype header = profile.findSection(section);
  if (header < 0) return data;
  const qsizetype end = profile.sectionEnd(header);
  if (key.isEmpty()) {
    const qsizetype stop = end < qsizetype(lines.size()) ? lines[end].begin : data.size();
    return data.first(lines[header].begin) + data.sliced(stop);
  }
  QByteArrayView value;
  QByteArrayView spelling;
  const qsizetype found = profile.findKey(header + 1, end, key, &value, &spelling);
  if (found < 0) return data;
  return data.first(lines[found].begin) + data.sliced(lines[found].next);
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::WriteOther | QFileDevice::ExeOther;

// The file's bytes, empty when it does not exist; nothing when it cannot be written or read.
// Replacing the file would bypass its read-only attribute: it is honoured here, by the file's
// mode, so that it holds for a program running as root too.
std::optional<QByteArray> readForChange(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return QByteArray();
  if (!info.isFile() || !(info.permissions() & QFileDevice::WriteOwner)) return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return data;
}

// Replaces the file at once. A new file is its owner's alone; so is one that is to hold a secret.
bool replaceFile(const QString& path, const QByteArray& contents, bool secret) {
  const QFileInfo info(path);
  const bool created = !info.exists();
  QSaveFile out(path);
  out.setDirectWriteFallback(false);
  if (!out.open(QIODevice::WriteOnly)) return false;
  // The temporary file takes the mode the file will have, before anything is written to it.
  if ((created || (secret && (info.permissions() & kOthers))) &&
      !out.setPermissions(created ? kOwnerOnly : info.permissions() & ~kOthers)) {
    out.cancelWriting();
    return false;
  }
  if (out.write(contents) != contents.size()) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

}  // namespace

QByteArray ProfileFile::getString(const QByteArray& section, const QByteArray& key,
                                  const QByteArray& defaultValue, int bufferSize,
                                  const QString& path) {
  const QByteArrayView sectionName = trimBlanks(section);
  const QByteArrayView keyName = trimBlanks(key);
  QFile file(path);
  if (sectionName.isEmpty() || keyName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
    return fitBuffer(defaultValue, bufferSize);
  }
  const QByteArray data = file.readAll();
  const Profile profile(data);
  const qsizetype header = profile.findSection(sectionName);
  if (header < 0) return fitBuffer(defaultValue, bufferSize);
  QByteArrayView value;
  QByteArrayView spelling;
  if (profile.findKey(header + 1, profile.sectionEnd(header), keyName, &value, &spelling) < 0) {
    return fitBuffer(defaultValue, bufferSize);
  }
  return fitBuffer(unquote(value), bufferSize);
}

std::vector<std::pair<QByteArray, QByteArray>> ProfileFile::getSection(const QByteArray& section,
                                                                       const QString& path) {
  std::vector<std::pair<QByteArray, QByteArray>> entries;
  const QByteArrayView sectionName = trimBlanks(section);
  QFile file(path);
  if (sectionName.isEmpty() || !file.open(QIODevice::ReadOnly)) return entries;
  const QByteArray data = file.readAll();
  const Profile profile(data);
  const qsizetype header = profile.findSection(sectionName);
  if (header < 0) return entries;
  QByteArrayView key;
  QByteArrayView value;
  const qsizetype end = profile.sectionEnd(header);
  for (qsizetype i = header + 1; i < end; ++i) {
    if (!profile.isKey(i, &key, &value) || key.isEmpty()) continue;
    const bool seen = std::any_of(entries.begin(), entries.end(),
                                  [&](const auto& entry) { return namesEqual(entry.first, key); });
    if (!seen) entries.emplace_back(key.toByteArray(), unquote(value).toByteArray());
  }
  return entries;
}

bool ProfileFile::writeString(const QByteArray& section, const QByteArray& key,
                              const QByteArray& value, const QString& path, Privacy privacy) {
  const QByteArrayView sectionName = trimBlanks(section);
  const QByteArrayView keyName = trimBlanks(key);
  if (sectionName.isEmpty() || keyName.isEmpty()) return false;
  if (hasLineBreak(sectionName) || hasLineBreak(keyName)) return false;
  // Such a key would read back as a comment, a section or a different key.
  if (keyName.startsWith(';') || keyName.startsWith('[') || keyName.contains('=')) return false;

  QByteArray safeValue = value;
  safeValue.replace('\r', ' ').replace('\n', ' ');

  const std::optional<QByteArray> data = readForChange(path);
  if (!data) return false;
  return replaceFile(path, withValue(*data, sectionName, keyName, safeValue),
                     privacy == Privacy::Secret);
}

bool ProfileFile::remove(const QByteArray& section, const QByteArray& key, const QString& path) {
  const QByteArrayView sectionName = trimBlanks(section);
  const QByteArrayView keyName = trimBlanks(key);
  if (sectionName.isEmpty() || !QFileInfo::exists(path)) return !sectionName.isEmpty();
  const std::optional<QByteArray> data = readForChange(path);
  if (!data) return false;
  // A name that stands twice would read back from its second place: every one goes.
  QByteArray contents = *data;
  for (QByteArray fewer = withoutKey(contents, sectionName, keyName); fewer != contents;
       fewer = withoutKey(contents, sectionName, keyName)) {
    contents = std::move(fewer);
  }
  return contents == *data || replaceFile(path, contents, false);
}

}  // namespace tidex
