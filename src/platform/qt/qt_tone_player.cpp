#include "platform/qt/qt_tone_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace tidex {
namespace {
constexpr int kFadeMs = 5;
constexpr double kAmplitude = 0.3 * 32767;
constexpr qsizetype kBytesPerMs = QtTonePlayer::SampleRate * 2 / 1000;
constexpr qsizetype kMaxQueuedBytes = kBytesPerMs * 60'000;  // a minute
// The sink's buffer; an audio server may hold back a stream until that much is queued.
constexpr qsizetype kSinkBufferBytes = kBytesPerMs * 100;
// Silence served after the last tone, so that the tone's end is played, not held back.
constexpr qsizetype kTailBytes = kBytesPerMs * 500;
}  // namespace

QByteArray synthesizeTone(int hz, std::chrono::milliseconds length, int sampleRate) {
  const qsizetype samples = std::max<qsizetype>(0, qsizetype{length.count()} * sampleRate / 1000);
  QByteArray pcm(samples * 2, '\0');
  if (hz <= 0 || hz * 2 >= sampleRate) return pcm;
  const qsizetype fade = std::min<qsizetype>(samples / 2, qsizetype{kFadeMs} * sampleRate / 1000);
  auto* out = reinterpret_cast<qint16*>(pcm.data());
  const double step = 2 * std::numbers::pi * hz / sampleRate;
  for (qsizetype i = 0; i < samples; ++i) {
    double gain = 1.0;
    if (fade > 0) {
      if (i < fade) gain = double(i) / fade;
      if (samples - 1 - i < fade) gain = std::min(gain, double(samples - 1 - i) / fade);
    }
    out[i] = static_cast<qint16>(std::lround(kAmplitude * gain * std::sin(step * double(i))));
  }
  return pcm;
}

ToneQueue::ToneQueue() { open(QIODevice::ReadOnly); }

bool ToneQueue::append(const QByteArray& pcm) {
  if (pending_.size() - offset_ + pcm.size() > kMaxQueuedBytes) return false;
  if (offset_ > 0) {
    pending_.remove(0, offset_);
    offset_ = 0;
  }
  pending_.append(pcm);
  tail_ = kTailBytes;
  return true;
}

void ToneQueue::clear() {
  pending_.clear();
  offset_ = 0;
  tail_ = 0;
}

qint64 ToneQueue::bytesAvailable() const {
  return (pending_.size() - offset_) + tail_ + QIODevice::bytesAvailable();
}

qint64 ToneQueue::readData(char* data, qint64 maxSize) {
  maxSize &= ~qint64{1};  // whole samples
  qint64 n = std::min<qint64>(maxSize, pending_.size() - offset_);
  if (n > 0) {
    std::memcpy(data, pending_.constData() + offset_, static_cast<std::size_t>(n));
    offset_ += n;
    if (offset_ == pending_.size()) {
      pending_.clear();
      offset_ = 0;
    }
    return n;
  }
  n = std::min<qint64>(maxSize, tail_);
  std::memset(data, 0, static_cast<std::size_t>(n));
  tail_ -= n;
  return n;
}

qint64 ToneQueue::writeData(const char*, qint64) { return -1; }

QtTonePlayer::QtTonePlayer() = default;

QtTonePlayer::~QtTonePlayer() {
  if (!sink_) return;
  sink_->disconnect(this);
  sink_->stop();
}

bool QtTonePlayer::ensureSink() {
  if (silent_) return false;
  if (sink_) return true;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  format.setSampleRate(SampleRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (device.isNull() || !device.isFormatSupported(format)) {
    silent_ = true;
    return false;
  }
  sink_ = std::make_unique<QAudioSink>(device, format);
  sink_->setBufferSize(kSinkBufferBytes);
  connect(sink_.get(), &QAudioSink::stateChanged, this, &QtTonePlayer::stateChanged);
  return true;
}

void QtTonePlayer::beep(int hz, std::chrono::milliseconds length) {
  if (length <= std::chrono::milliseconds::zero() || !ensureSink()) return;
  if (!queue_.append(synthesizeTone(hz, length, SampleRate))) return;
  if (sink_->state() != QAudio::ActiveState) sink_->start(&queue_);
}

void QtTonePlayer::stateChanged(QAudio::State state) {
  if (!sink_) return;
  const QAudio::Error error = sink_->error();
  if (error != QAudio::NoError && error != QAudio::UnderrunError) {
    // No sound from here on; tones are dropped.
    silent_ = true;
    queue_.clear();
    sink_->disconnect(this);
    sink_->stop();
    return;
  }
  // Only silence is left in the sink's buffer once the queue has run dry.
  if (state == QAudio::IdleState && queue_.bytesAvailable() == 0) sink_->stop();
}

}  // namespace tidex
