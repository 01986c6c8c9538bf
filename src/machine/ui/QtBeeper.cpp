#include "machine/ui/QtBeeper.h"

#include "machine/CancelSignal.h"
#include "machine/SineTone.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThread>
#include <chrono>

QtBeeper::QtBeeper(QObject* parent)
    : QObject(parent), device(QMediaDevices::defaultAudioOutput()), buffer(new QBuffer(this)) {
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isNull() && !device.isFormatSupported(format)) {
        device = QAudioDevice();
    }
}

QtBeeper::~QtBeeper() {
    if (sink != nullptr) {
        sink->stop();
    }
}

void QtBeeper::Beep(int frequencyHz, int durationMs, const CancelSignal& cancel) {
    if (HasAudio()) {
        if (QThread::currentThread() == thread()) {
            Play(frequencyHz, durationMs);
        } else {
            QMetaObject::invokeMethod(
                this, [this, frequencyHz, durationMs] { Play(frequencyHz, durationMs); },
                Qt::QueuedConnection);
        }
    }
    cancel.SleepFor(std::chrono::milliseconds(durationMs));
}

void QtBeeper::Play(int frequencyHz, int durationMs) {
    if (sink == nullptr) {
        sink = new QAudioSink(device, format, this);
    }
    sink->stop();
    buffer->close();
    const auto tone = SineTone(frequencyHz, durationMs, SampleRate);
    samples = QByteArray(reinterpret_cast<const char*>(tone.data()),
                         static_cast<qsizetype>(tone.size() * sizeof(tone[0])));
    buffer->setData(samples);
    buffer->open(QIODevice::ReadOnly);
    sink->start(buffer);
    ++played;
}
