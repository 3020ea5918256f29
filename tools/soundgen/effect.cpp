// SPDX-License-Identifier: MIT
#include "effect.h"

#include <algorithm>
#include <cmath>

namespace soundgen {
namespace {

double loudest_window_rms(const std::vector<float>& samples, int channels) {
    const size_t window = static_cast<size_t>(0.3 * kRate) * channels;
    double sum = 0, best = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
        if (i >= window) sum -= static_cast<double>(samples[i - window]) * samples[i - window];
        best = std::max(best, sum);
    }
    return std::sqrt(best / std::min(window, samples.size()));
}

}  // namespace

size_t frames_for(double seconds) { return static_cast<size_t>(std::llround(seconds * kRate)); }

EffectRecipe parse_effect(const std::vector<Line>& lines) {
    EffectRecipe recipe;
    bool have_sound = false;
    for (const Line& line : lines) {
        if (line.keyword == "sound") {
            line.allow_only({"number", "channels", "bits", "duration", "extensible"});
            recipe.number = static_cast<int>(line.number_or("number", 0));
            recipe.layout.channels = static_cast<int>(line.number_or("channels", 2));
            recipe.layout.bits = static_cast<int>(line.number_or("bits", 16));
            recipe.layout.extensible = line.number_or("extensible", 0) != 0;
            recipe.duration = line.number_or("duration", 0);
            if (recipe.number < 1 || recipe.duration <= 0 || recipe.layout.channels < 1 || recipe.layout.channels > 2 ||
                (recipe.layout.bits != 16 && recipe.layout.bits != 24 && recipe.layout.bits != 32))
                line.fail("sound needs number, channels 1-2, bits 16/24/32 and a duration");
            have_sound = true;
        } else if (line.keyword == "level") {
            line.allow_only({"loudness", "peak"});
            recipe.loudness_db = line.number_or("loudness", recipe.loudness_db);
            recipe.peak_db = std::min(-1.1, line.number_or("peak", recipe.peak_db));
        } else if (line.keyword == "info") {
            if (line.words.size() < 2 || line.words[0].size() != 4) line.fail("info needs an id and a text");
            std::string text;
            for (size_t i = 1; i < line.words.size(); ++i) text += (i > 1 ? " " : "") + line.words[i];
            recipe.layout.info.emplace_back(line.words[0], text);
        } else if (line.keyword == "echo") {
            line.allow_only({"time", "feedback", "mix", "damp", "pingpong"});
            recipe.echo = {line.number_or("time", 0.2), line.number_or("feedback", 0.3), line.number_or("mix", 0.3),
                           line.number_or("damp", 6000), line.number_or("pingpong", 0) != 0};
        } else if (line.keyword == "reverb") {
            line.allow_only({"size", "damp", "mix"});
            recipe.reverb = {line.number_or("size", 0.5), line.number_or("damp", 0.5), line.number_or("mix", 0.2)};
        } else if (line.keyword == "layer") {
            EffectLayer layer;
            layer.voice = parse_voice(line, VoiceParams{}, {"at", "hold", "repeat", "every", "step", "fade", "steps"});
            layer.at = line.number_or("at", 0);
            layer.hold = line.number_or("hold", 0.1);
            layer.repeat = static_cast<int>(line.number_or("repeat", 1));
            layer.every = line.number_or("every", 0.1);
            layer.step = line.number_or("step", 0);
            layer.fade = line.number_or("fade", 0);
            if (line.has("steps")) {
                // Comma-separated semitone offsets, one per note of the figure.
                std::string list = line.text_or("steps", "");
                size_t start = 0;
                while (start <= list.size()) {
                    size_t comma = list.find(',', start);
                    if (comma == std::string::npos) comma = list.size();
                    layer.steps.push_back(parse_number(list.substr(start, comma - start), line));
                    start = comma + 1;
                }
                layer.repeat = static_cast<int>(layer.steps.size());
            }
            if (layer.repeat < 1 || layer.at < 0 || layer.hold < 0) line.fail("layer timing out of range");
            recipe.layers.push_back(layer);
        } else {
            line.fail("unknown keyword '" + line.keyword + "'");
        }
    }
    if (!have_sound) throw SourceError("recipe without a 'sound' line");
    if (recipe.layers.empty()) throw SourceError("recipe without layers");
    return recipe;
}

std::vector<float> render_effect(const EffectRecipe& recipe) {
    const size_t frames = frames_for(recipe.duration);
    Stereo dry(frames * 2, 0.0f);
    std::uint64_t seed = 0x5EED0000u + recipe.number * 1000u;
    for (const EffectLayer& layer : recipe.layers) {
        for (int r = 0; r < layer.repeat; ++r) {
            VoiceParams v = layer.voice;
            const double semis = layer.steps.empty() ? r * layer.step : layer.steps[r];
            v.freq *= std::pow(2.0, semis / 12.0);
            if (v.freq_to > 0) v.freq_to *= std::pow(2.0, semis / 12.0);
            v.level_db += r * layer.fade;
            Stereo note = render_voice(v, layer.hold, 1.0, ++seed);
            const size_t start = frames_for(layer.at + r * layer.every) * 2;
            for (size_t i = 0; i < note.size() && start + i < dry.size(); ++i) dry[start + i] += note[i];
        }
    }
    Stereo mixed = dry;
    const Mono send = to_mono(dry);
    if (recipe.echo.mix > 0) {
        Echo echo(recipe.echo.time, recipe.echo.feedback, recipe.echo.damp, recipe.echo.ping_pong);
        echo.process(send.data(), mixed.data(), frames, recipe.echo.mix);
    }
    if (recipe.reverb.mix > 0) {
        Reverb reverb(recipe.reverb.size, recipe.reverb.damp);
        reverb.process(send.data(), mixed.data(), frames, recipe.reverb.mix);
    }
    remove_dc(mixed, 2, 1);
    // The recipes let every effect ring out before its end; a last 40 ms half-cosine only
    // takes the remaining reverb hiss to exact silence, without a kink where it begins.
    const size_t fade = std::min(frames, frames_for(0.04));
    for (size_t f = frames - fade; f < frames; ++f) {
        const double left = static_cast<double>(frames - 1 - f) / static_cast<double>(fade);
        const float g = static_cast<float>(0.5 - 0.5 * std::cos(kPi * left));
        mixed[2 * f] *= g;
        mixed[2 * f + 1] *= g;
    }

    std::vector<float> out;
    if (recipe.layout.channels == 1) {
        out.resize(frames);
        for (size_t f = 0; f < frames; ++f) out[f] = 0.5f * (mixed[2 * f] + mixed[2 * f + 1]);
    } else {
        out = std::move(mixed);
    }
    const double peak = peak_of(out);
    const double rms = loudest_window_rms(out, recipe.layout.channels);
    if (peak <= 0 || rms <= 0) throw SourceError("sound " + std::to_string(recipe.number) + " is silent");
    const double gain = std::min(db_to_gain(recipe.loudness_db) / rms, db_to_gain(recipe.peak_db) / peak);
    for (float& s : out) s = static_cast<float>(s * gain);
    return out;
}

}  // namespace soundgen
