// Synthesises the chat's standard sounds at build time as 16-bit mono PCM
// WAVE files: a rising two-note chime for incoming messages, a falling one
// for sent messages and a short noisy click for typing.
// Usage: gen_sounds <out-dir>.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int rate = 22050;
constexpr double pi = 3.14159265358979323846;

void put16(std::FILE *f, uint16_t v) { std::fputc(v & 0xff, f); std::fputc(v >> 8, f); }
void put32(std::FILE *f, uint32_t v) { put16(f, v & 0xffff); put16(f, v >> 16); }

bool write(const std::string &path, const std::vector<double> &samples)
{
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const uint32_t bytes = uint32_t(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);        // PCM
    put16(f, 1);        // mono
    put32(f, rate);
    put32(f, rate * 2); // byte rate
    put16(f, 2);        // block align
    put16(f, 16);       // bits
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (double s : samples) {
        const double c = s < -1 ? -1 : s > 1 ? 1 : s;
        put16(f, uint16_t(int16_t(std::lround(c * 32000))));
    }
    return std::fclose(f) == 0;
}

// A soft bell: a sine with one overtone under a fast attack and exponential decay.
void note(std::vector<double> &out, double start, double length, double freq, double gain)
{
    const size_t first = size_t(start * rate);
    const size_t count = size_t(length * rate);
    if (out.size() < first + count)
        out.resize(first + count, 0.0);
    for (size_t i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        const double env = std::min(1.0, t / 0.005) * std::exp(-t * 9.0);
        out[first + i] += gain * env * (std::sin(2 * pi * freq * t) + 0.3 * std::sin(4 * pi * freq * t));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 1;
    const std::string dir = argv[1];
    std::vector<double> in, out, click;
    note(in, 0.0, 0.35, 660, 0.45);
    note(in, 0.12, 0.45, 880, 0.45);
    note(out, 0.0, 0.3, 880, 0.4);
    note(out, 0.1, 0.4, 587, 0.4);
    // The typewriter: a few milliseconds of decaying noise over a low thump.
    uint32_t seed = 12345;
    click.resize(size_t(0.04 * rate));
    for (size_t i = 0; i < click.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double t = double(i) / rate;
        const double noise = (double(seed >> 8) / double(1u << 24)) * 2 - 1;
        click[i] = std::exp(-t * 180) * (0.5 * noise + 0.4 * std::sin(2 * pi * 180 * t));
    }
    bool ok = write(dir + "/zubrel_contact_chatmessage_in.wav", in);
    ok = write(dir + "/zubrel_contact_chatmessage_out.wav", out) && ok;
    ok = write(dir + "/zubrel_typewriter.wav", click) && ok;
    return ok ? 0 : 2;
}
