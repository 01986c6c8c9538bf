#pragma once

#include "machine/Beeper.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <atomic>

class QAudioSink;
class QBuffer;

// The beeper on the desktop: a sine tone we generate, played through the default audio output.
// Beep returns when the tone has played (or once cancelled); without an audio device it waits the
// same time in silence, so a program's timing does not depend on the sound card. Create it on the
// user-interface thread; Beep may be called from any thread.
class QtBeeper : public QObject, public Beeper {
    Q_OBJECT
public:
    static constexpr int SampleRate = 44100;

    explicit QtBeeper(QObject* parent = nullptr);
    ~QtBeeper() override;

    void Beep(int frequencyHz, int durationMs, const CancelSignal& cancel) override;

    bool HasAudio() const { return !device.isNull(); }
    // Tones handed to the audio output so far.
    int TonesPlayed() const { return played.load(); }

private:
    void Play(int frequencyHz, int durationMs);

    QAudioDevice device;
    QAudioFormat format;
    QAudioSink* sink = nullptr;
    QBuffer* buffer = nullptr;
    QByteArray samples;
    std::atomic<int> played{0};
};
