// The WAV stream espeak-ng writes, as the demo generator reads and levels it.
#include "FuzzSupport.h"
#include "mediagen/AudioMaker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray wav = FuzzSupport::bytes(data, size);
    QByteArray samples;
    int rate = 0;
    QString error;
    if (!AudioMaker::parseWav(wav, &samples, &rate, &error)) {
        FuzzSupport::require(!error.isEmpty(), "a stream refused without a message");
        return 0;
    }
    // The rate goes to oggenc and divides lengths: a real one or a refusal.
    FuzzSupport::require(rate > 0, "a stream accepted without a sample rate");
    FuzzSupport::require(samples.size() % 2 == 0 && samples.size() <= wav.size(),
        "samples that are not the stream's");
    // What speech() does with the samples, without the programs it runs.
    samples = AudioMaker::trimSilence(samples, rate);
    AudioMaker::checkLength(samples, rate, 1.0);
    const QByteArray levelled = AudioMaker::level(AudioMaker::toDoubles(samples), rate);
    FuzzSupport::require(levelled.size() == samples.size(), "levelling changed the length");
    AudioMaker::checkLevels(levelled, rate);
    AudioMaker::normalise(samples);
    return 0;
}
