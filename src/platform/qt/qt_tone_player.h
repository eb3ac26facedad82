#pragma once

#include <chrono>
#include <memory>

#include <QAudio>
#include <QByteArray>
#include <QIODevice>
#include <QObject>

class QAudioSink;

namespace tidex {

// 16-bit mono PCM of a sine tone with short fades at both ends; silence for a frequency
// that cannot be played.
QByteArray synthesizeTone(int hz, std::chrono::milliseconds length, int sampleRate);

// Serves queued samples to the audio sink, then a short silence, then runs dry.
class ToneQueue final : public QIODevice {
 public:
  ToneQueue();
  // Returns false when the queue is full.
  bool append(const QByteArray& pcm);
  void clear();
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  QByteArray pending_;
  qsizetype offset_ = 0;
  qsizetype tail_ = 0;  // bytes of silence still to serve after the last tone
};

// Desktop::beep: tones play one after another through Qt Multimedia; beep returns at once.
// Without a usable audio output it stays silent.
class QtTonePlayer final : public QObject {
 public:
  static constexpr int SampleRate = 44100;

  QtTonePlayer();
  ~QtTonePlayer() override;

  void beep(int hz, std::chrono::milliseconds length);

 private:
  bool ensureSink();
  void stateChanged(QAudio::State state);

  ToneQueue queue_;
  std::unique_ptr<QAudioSink> sink_;
  bool silent_ = false;
};

}  // namespace tidex
